#pragma once
// Loads a scene file into the current scene: the tag and sound header lines, the entities,
// their textures (decoded on the engine's workers), then the swap of the old entities for the
// new, parent links, script references, the camera's start and the scripts' compile.
//
// A load with loading frames is a job the frame loop carries on: Begin and each Continue do
// loading work until a loading frame is due and return, the frame loop runs that frame (the
// old scene, drawn and updated, with its loading screen), and the next Continue goes on. The
// old entities stay in the scene until the new ones and their textures are ready.
#include "core/Services.h"
#include "resource/TextureBatch.h"
#include "scene/EntityReader.h"

#include <rapidjson/document.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Varn::Scene
{

struct LoadProgress;

// A scene file in memory, with room for a NUL after its last byte, and where its first lines end.
struct SceneText
{
    static constexpr std::size_t LINES = 3; // at most two header lines, then the scene line

    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::array<std::size_t, LINES> lineEnds{}; // offset of each line's line feed, or `size`
};

class SceneLoader
{
public:
    // Loading frames keep the loading screen alive, but each one draws and waits for the
    // display: run at every step of a load they stretched a fifth of a second of loading to
    // several seconds on a slow machine. So at most one runs per interval of loading work.
    static constexpr int64_t LOADING_FRAME_INTERVAL = 33'000'000; // nanoseconds of the Timer's clock

    SceneLoader(EntityReader& reader, ECS::LoadProgress& progress, const Services& services)
        : reader(reader), progress(progress), services(services)
    {
    }

    // Starts replacing the current scene's entities with the file's; a file that is not a scene
    // leaves the current one as it is, with a log line. Without loading frames the load ends
    // here; with them it works until the first loading frame is due. A load still running is
    // first finished without frames.
    void Begin(const std::string& path, bool showLoadingFrames);
    // Carries the load on until the next loading frame is due or the load ends; true while it
    // still has work, that is, when the caller should run a frame and call again.
    bool Continue();
    bool Busy() const { return stage != STAGE::IDLE; }
    // The file of the last load begun; empty before the first.
    const std::string& Path() const { return path; }

    // The bit of a tag, registering it when new; 0 (with a log line) past the usable bits.
    uint64_t RegisterTag(const std::string& name);

private:
    enum class STAGE
    {
        IDLE,
        ENTITIES, // reading the document's entities, one at a time
        TEXTURES, // decoding and uploading the registered textures, one piece at a time
    };

    // True when a loading frame should run now: loading frames are on, and none has run yet
    // in this load or the last ended at least LOADING_FRAME_INTERVAL ago.
    bool LoadingFrameDue();
    void StartTextures();
    void ReplaceSceneEntities();
    // Everything after the textures: the swap, sounds, links, camera, compile, clock.
    void Finish();

    EntityReader& reader;
    ECS::LoadProgress& progress;
    const Services& services;

    STAGE stage = STAGE::IDLE;
    std::string path;
    int64_t beganTicks = 0; // when Begin was called, for the debug line of a finished load
    bool showLoadingFrames = false;
    std::vector<std::string> sounds;
    SceneText text;               // the file; the document's strings point into it
    rapidjson::Document document; // its scene line
    rapidjson::SizeType nextEntity = 0;
    std::vector<ECS::IEntity*> entities;    // read, not yet in the scene
    EntityReader::UnknownKeyReport unknown; // of this load
    std::vector<EntityReader::PendingLink> links;
    std::vector<ECS::PendingEntityReference> references;
    std::unique_ptr<Resource::TextureBatch> textures;
    int32_t textureStep = 0;        // progress per piece of texture work
    bool loadingFrameShown = false; // a loading frame has run in the current load
    bool frameRunning = false;      // the last call returned for a loading frame
    int64_t lastLoadingFrame = 0;   // Timer clock nanoseconds when that frame ended
};

} // namespace Varn::Scene
