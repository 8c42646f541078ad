#pragma once
// Reloads the content files that changed on disk while the game runs, so an author sees an
// edit without restarting: a script is compiled again for every entity of the scene that runs
// it (a failed compile keeps the old program and says why), a texture is decoded and uploaded
// again in place, a prefab is read again at its next instantiation, and the current scene file
// loads again. Changes are found by polling modification times: a few hundred stat calls twice
// a second cost nothing next to a frame, and polling sees every way an editor saves, including
// writing a new file and renaming it over the old one, which a watch on the old file misses.
#include <filesystem>
#include <string>
#include <unordered_map>

namespace Varn::Scene
{

class Engine;

class ContentWatcher
{
public:
    static constexpr double INTERVAL = 0.5; // seconds between two looks while watching

    explicit ContentWatcher(Engine& engine) : engine(engine) {}

    // Looks at every file the game has loaded now and reloads the changed ones; returns how
    // many it reloaded. A file seen for the first time is only noted.
    int Check();
    // While `watching`, checks once INTERVAL seconds have gone by; `seconds` is a frame's time.
    void Tick(double seconds);

    bool watching = false;  // --watch: look on our own; otherwise only when asked (F5)
    bool requested = false; // F5: look at the next frame

private:
    // True when `path` (as content names it) has a new modification time since the last look.
    bool Changed(const std::string& path);
    void ReloadScript(const std::string& path);

    Engine& engine;
    std::unordered_map<std::string, std::filesystem::file_time_type> seen;
    double sinceCheck = 0.0;
};

} // namespace Varn::Scene
