#pragma once
// Fills any component from its block in a scene or prefab file by walking the component's
// property list: "Enabled" first, then each property in list order, decoded by the property's
// type. A missing key or a value of the wrong form leaves the field as it was, so a damaged
// block loads as far as it can; only a block that is not a JSON object fails.
#include "ecs/EntityHandle.h"

#include <rapidjson/document.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Varn::Resource
{
class ResourceManager;
}

namespace Varn::ECS
{

class IComponent;
class IEntity;
struct Property;

// An "Entity List" entry that names an entity by its link key ("Current Parent ID"). The
// entity named may come later in the file, so the scene loader resolves these once every
// entity of the file has been read.
struct PendingEntityReference
{
    IComponent* component = nullptr;                    // the component that holds `map`
    std::map<std::string, EntityHandle>* map = nullptr; // the list the entry goes into; inside `component`
    std::string entryName;                              // the entry's name in `map`
    uint32_t linkKey = 0;                               // "Current Parent ID" of the entity named

    // Stores the entity found for `linkKey` under `entryName`.
    void Resolve(IEntity* target) const { (*map)[entryName] = target; }
};

class ComponentReader
{
public:
    explicit ComponentReader(Resource::ResourceManager& resources) : resources(resources) {}

    // False only when `block` is not an object; the component is then untouched. Entity
    // references are appended to `references`, or dropped when it is null. The keys of `block`
    // that are neither "Enabled" nor a property go to `unknownKeys` when it is given: content
    // with a misspelt key would otherwise keep a default without a word.
    bool Read(IComponent& component, const rapidjson::Value& block,
              std::vector<PendingEntityReference>* references = nullptr,
              std::vector<std::string>* unknownKeys = nullptr) const;

    // Whether the reader knows how to decode a property of this type.
    static bool CanRead(const Property& property);

private:
    Resource::ResourceManager& resources; // resolves texture, mesh, shader, font and script names
};

} // namespace Varn::ECS
