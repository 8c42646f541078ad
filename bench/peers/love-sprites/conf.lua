-- The peer of bench/SpriteBench.cpp: a 1280 x 720 window, no vertical sync, no sound.
function love.conf(t)
    t.window.width = 1280
    t.window.height = 720
    t.window.vsync = 0
    t.window.title = "sprites"
    t.modules.audio = false
    t.modules.sound = false
    t.modules.joystick = false
    t.modules.physics = false
end
