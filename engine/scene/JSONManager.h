#pragma once
// Reads scene and prefab files into the current scene: the tag registry, the entities with
// their components, texture decoding (partly on the engine's workers) and uploads, parent
// links and script references. Owned by the Engine; main thread only, except the decode tasks.
#include "core/Vector4.h"
#include "ecs/ComponentReader.h"

#include <rapidjson/document.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Varn::ECS
{
class IEntity;
}
namespace Varn::Resource
{
class Texture2D;
}

namespace Varn::System
{

class JSONManager
{
public:
    static constexpr uint32_t NO_PARENT = 0xFFFFFFFFu; // a link without "Parent ID"
    static constexpr int MAX_DEPTH = 64; // far deeper than any entity needs; stops hostile nesting

    // An entity with "Current Parent ID", and the key of the parent it names.
    struct PendingLink
    {
        ECS::IEntity* entity = nullptr;
        uint32_t parentKey = NO_PARENT;
    };

    JSONManager() = default;
    JSONManager(const JSONManager&) = delete;
    JSONManager& operator=(const JSONManager&) = delete;

    // Replaces the current scene's entities with the file's. With `showLoadingFrames` whole
    // frames run while it works, so a loading screen stays alive.
    void LoadScene(const std::string& path, bool showLoadingFrames);
    // Instantiates the prefab file into the current scene, its roots at `position`. Returns
    // the entity of array index 0; null when the file is not a prefab or that entity is broken.
    // The file is read once per path for the life of the process (an empty text is retried).
    ECS::IEntity* LoadPrefab(const std::string& path, const Math::Vector4& position);
    // One entity object of `document`; null (with a log line) when a component block is broken.
    ECS::IEntity* ReadEntity(const rapidjson::Value& document, rapidjson::SizeType index,
                             std::vector<PendingLink>& links,
                             std::vector<ECS::PendingEntityReference>& references);
    // Parses one line of scene or prefab JSON without recursion; false for text that is not
    // JSON or nests deeper than MAX_DEPTH.
    static bool Parse(std::string_view text, rapidjson::Document& document);

    // The scene's tags live in the engine's ECS::TagRegistry; these are the loader's entries to
    // it. The bit of `name`, registering it when new; 0 (with a log line) past the usable bits.
    uint64_t RegisterTag(const std::string& name);
    // The bit of a registered name; 0 for a name the registry does not hold (nothing is added).
    uint64_t TagValue(const std::string& name) const;
    // The registered names whose bits are set in `mask`, in registry order.
    std::vector<std::string> TagNames(uint64_t mask) const;
    void ClearTags();

    std::map<std::string, std::string> fileCache; // prefab path -> its JSON line
    std::vector<ECS::IEntity*> newEntities;       // read by this load, not yet in a scene
    std::string loadingLabel;
    std::string loadingDetail;
    int32_t progress = 0; // a load is complete when progress = progressTotal + 1
    int32_t progressTotal = 0;

    // Loading frames keep the loading screen alive, but each one draws and waits for the
    // display: run at every step of a load they stretched a fifth of a second of loading to
    // several seconds on a slow machine. So at most one runs per interval of loading work.
    static constexpr int64_t LOADING_FRAME_INTERVAL = 33'000'000; // nanoseconds of the Timer's clock

private:
    // Runs a loading frame when asked to and when the last one of this load ended at least
    // LOADING_FRAME_INTERVAL ago (the first of a load always runs).
    void RunLoadingFrame(bool showLoadingFrames);
    void DecodeAndUploadTextures(bool showLoadingFrames);
    void ReplaceSceneEntities(const std::string& path);
    void LinkParents(const std::vector<PendingLink>& links);
    static void ResolveReferences(const std::vector<PendingLink>& links,
                                  const std::vector<ECS::PendingEntityReference>& references);

    bool loadingFrameShown = false; // a loading frame has run in the current load
    int64_t lastLoadingFrame = 0;   // Timer clock nanoseconds when that frame ended
};

} // namespace Varn::System
