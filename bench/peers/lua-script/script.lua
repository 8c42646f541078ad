-- The ten statements of bench/ScriptBench.cpp in Lua 5.4: N entities, each a table of its
-- variables with a transform table of its own, run once a pass as a game would run a script per
-- entity. Prints the CPU time per statement.
--   lua5.4 script.lua 1000 [PASSES]
local count = tonumber(arg[1]) or 1000
local passes = tonumber(arg[2]) or math.max(20, 2000000 // count)

local entities = {}
for i = 0, count - 1 do
    entities[#entities + 1] = {
        x = 0, v = (i % 13) * 0.1, t = 0, hp = 1000, alive = true, speed = 0, side = 0,
        transform = { x = (i % 7) - 3 },
    }
end

local function run(e, delta)
    if e.x > 100 then
        e.x = 0
    elseif e.x < -100 then
        e.x = 0
    else
        e.x = e.x + e.v
        e.v = e.v * 0.999
        e.t = e.t + delta
        if e.hp <= 0 and e.alive == true then
            e.alive = false
        else
            e.hp = e.hp - 0.001
            e.speed = e.v
            if e.transform.x >= 0 then
                e.side = 1
            end
        end
    end
end

local function pass()
    for i = 1, #entities do
        run(entities[i], 1 / 60)
    end
end

pass()
local start = os.clock()
for _ = 1, passes do
    pass()
end
local seconds = os.clock() - start
print(string.format("%d entities: %.1f ns per statement", count, seconds * 1e9 / (passes * count * 10)))
