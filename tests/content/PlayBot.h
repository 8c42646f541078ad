#pragma once
// A careful scripted player for the real levels, driven through the input seam one displayed
// frame at a time. It runs right, jumps gaps, steps, spikes and walls it is stuck against,
// smashes crates, stops to shoot the enemies ahead (and throws the hook at turrets), and
// presses Retry after a death. It reads the scene the way a player reads the screen: where
// the floors, crates, spikes and enemies are; it never moves anything itself.
#include "support/EngineTest.h"

#include <string>
#include <vector>

namespace Varn::Test
{

class PlayBot
{
public:
    PlayBot(Scene::Engine& engine, ScriptedInput& input) : engine(engine), input(input) {}

    // Sets this frame's keys from the scene as it stands; call once before each frame.
    void Act();

private:
    struct Box
    {
        float left, right, bottom, top;
        bool crate;
    };
    struct Thing
    {
        float x, y;
        std::string name;
    };

    void Look(ECS::IEntity& player);
    void Play(ECS::IEntity& player);
    bool Supported(float x, float feet) const;
    void Tap(int key) { input.taps.set(static_cast<std::size_t>(key)); }
    void Hold(int key, bool down) { input.state.keys.set(static_cast<std::size_t>(key), down); }

    Scene::Engine& engine;
    ScriptedInput& input;
    std::vector<Box> boxes;     // floors, platforms, walls and crates
    std::vector<Thing> spikes;  // left edges
    std::vector<Thing> enemies; // living grunts, turrets, nests and fishies
    int frame = 0;
    int jumpFrames = 0;  // frames the jump key stays down
    int stuckFrames = 0; // frames with right held but no progress
    int fightFrames = 0; // frames spent standing to fight the same stretch
    float lastX = 0.0f;
    float fightX = -1e9f; // where the current fight started
    int menuFrames = 0;
};

} // namespace Varn::Test
