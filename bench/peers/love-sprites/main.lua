-- N moving sprites, 64 x 64 pixels, four textures drawn one after another, as SpriteBench
-- draws them. After two warm-up frames, prints the mean frame time over FRAMES frames and quits.
--   love bench/peers/love-sprites N FRAMES CONTENT_DIR
local count, frames, content
local textures, sprites = {}, {}
local frame, started = 0, 0

local function texture(path)
    local file = assert(io.open(content .. "/" .. path, "rb"))
    local bytes = file:read("*a")
    file:close()
    return love.graphics.newImage(love.filesystem.newFileData(bytes, path))
end

function love.load(arg)
    count = tonumber(arg[1]) or 1000
    frames = tonumber(arg[2]) or 20
    content = arg[3] or "."
    local paths = {"Resources/Sprites/Tiles/crate.png", "Resources/Sprites/Items/heart.png",
                   "Resources/Sprites/Items/armour.png", "Resources/Sprites/Tiles/spikes.png"}
    for i, path in ipairs(paths) do
        textures[i] = texture(path)
    end
    love.math.setRandomSeed(7)
    for i = 1, count do
        local kind = math.floor((i - 1) * 4 / count) + 1
        local image = textures[kind]
        sprites[i] = {image = image, scale = 64 / image:getWidth(),
                      x = love.math.random() * 1200 + 40, y = love.math.random() * 660 + 30,
                      vx = (love.math.random() - 0.5) * 400, vy = (love.math.random() - 0.5) * 400}
    end
end

function love.update()
    local dt = 1 / 60
    for i = 1, count do
        local s = sprites[i]
        s.x = s.x + s.vx * dt
        s.y = s.y + s.vy * dt
        if s.x < 0 or s.x > 1280 then s.vx = -s.vx end
        if s.y < 0 or s.y > 720 then s.vy = -s.vy end
    end
end

function love.draw()
    love.graphics.clear(0.1, 0.1, 0.15, 1)
    for i = 1, count do
        local s = sprites[i]
        love.graphics.draw(s.image, s.x, s.y, 0, s.scale, s.scale, 32 / s.scale, 32 / s.scale)
    end
    frame = frame + 1
    if frame == 2 then
        started = love.timer.getTime()
    elseif frame == frames + 2 then
        io.write(string.format("love %d sprites: %.2f ms per frame\n", count,
                               (love.timer.getTime() - started) * 1000 / frames))
        io.flush()
        love.event.quit()
    end
end
