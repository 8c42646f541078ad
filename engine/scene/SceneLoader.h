#pragma once
// Loads a scene file into the current scene: the tag and sound header lines, the entities,
// their textures (decoded on the engine's workers), then the swap of the old entities for the
// new, parent links, script references, the camera's start and the scripts' compile. With
// loading frames on, whole frames run while it works, so a loading screen stays alive.
#include <cstdint>
#include <string>

namespace Varn::System
{

class EntityReader;
struct LoadProgress;

class SceneLoader
{
public:
    // Loading frames keep the loading screen alive, but each one draws and waits for the
    // display: run at every step of a load they stretched a fifth of a second of loading to
    // several seconds on a slow machine. So at most one runs per interval of loading work.
    static constexpr int64_t LOADING_FRAME_INTERVAL = 33'000'000; // nanoseconds of the Timer's clock

    SceneLoader(EntityReader& reader, LoadProgress& progress) : reader(reader), progress(progress) {}

    // Replaces the current scene's entities with the file's; a file that is not a scene
    // leaves the current one as it is, with a log line.
    void Load(const std::string& path, bool showLoadingFrames);
    // The bit of a tag, registering it when new; 0 (with a log line) past the usable bits.
    static uint64_t RegisterTag(const std::string& name);

private:
    // Runs a loading frame when asked to and when the last one of this load ended at least
    // LOADING_FRAME_INTERVAL ago (the first of a load always runs).
    void RunLoadingFrame(bool showLoadingFrames);
    void DecodeAndUploadTextures(bool showLoadingFrames);
    void ReplaceSceneEntities(const std::string& path);

    EntityReader& reader;
    LoadProgress& progress;
    bool loadingFrameShown = false; // a loading frame has run in the current load
    int64_t lastLoadingFrame = 0;   // Timer clock nanoseconds when that frame ended
};

} // namespace Varn::System
