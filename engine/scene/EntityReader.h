#pragma once
// Reads the entity objects of scene and prefab files: each object's fields and component
// blocks into a new pool entity, then the parent links and script references among the
// entities of one file. Shared by the scene loader and the prefab cache; main thread only.
#include "core/Services.h"
#include "ecs/ComponentReader.h"

#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::Scene
{

struct LoadProgress;

class EntityReader
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

    // What one read of a file has said about keys nobody reads, so each is said once: the
    // file's name and the lines already logged.
    struct UnknownKeyReport
    {
        std::string file;
        std::set<std::string> said;
    };

    EntityReader(ECS::LoadProgress& progress, const Services& services)
        : progress(progress), services(services)
    {
    }

    // Where a line of JSON went wrong: the column (from 1, in bytes) and what was wrong.
    struct ParseError
    {
        std::size_t column = 0;
        std::string what;
    };

    // Parses one line of scene or prefab JSON; false for text that is not JSON or nests deeper
    // than MAX_DEPTH, and then `error`, when given, says where and why.
    static bool Parse(std::string_view text, rapidjson::Document& document, ParseError* error = nullptr);
    // As Parse, without copying a string: the document's strings are decoded into `text` and
    // point there, so `text` must outlive the document. `text[length]` becomes a NUL, so it must
    // be writable (a std::string's own terminator is).
    static bool ParseInPlace(char* text, std::size_t length, rapidjson::Document& document,
                             ParseError* error = nullptr);
    // One entity object of `document`, in no scene yet; null (with a log line) when it or a
    // component block is broken, and then the pool entity stays free.
    // With `unknown`, each key of a block and each member of the object that nothing reads
    // (a misspelt "Texure", a "Sprite Rendrer") is logged, once per read of the file.
    ECS::IEntity* ReadEntity(const rapidjson::Value& document, rapidjson::SizeType index,
                             std::vector<PendingLink>& links,
                             std::vector<ECS::PendingEntityReference>& references,
                             UnknownKeyReport* unknown = nullptr);
    // Sets each linked entity's parent to the entity of the file whose own key it names; a link
    // that would make an entity its own ancestor is refused with a log line.
    void LinkParents(const std::vector<PendingLink>& links);
    static void ResolveReferences(const std::vector<PendingLink>& links,
                                  const std::vector<ECS::PendingEntityReference>& references);

private:
    // Logs "<file>: <what>" unless this read of the file has said it already.
    void Say(UnknownKeyReport& unknown, const std::string& what) const;

    ECS::LoadProgress& progress;
    const Services& services;
};

} // namespace Varn::Scene
