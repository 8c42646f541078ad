#pragma once
// Instantiates prefab files into the current scene. Each file's first line is read once per
// path for the life of the process; the entities are read afresh at every instantiation.
#include "core/Services.h"
#include "core/Vector4.h"

#include <map>
#include <string>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::Scene
{

class EntityReader;

class PrefabCache
{
public:
    PrefabCache(EntityReader& reader, const Services& services) : reader(reader), services(services) {}

    // Instantiates the prefab file into the current scene, its roots at `position`. Returns
    // the entity of array index 0; null when the file is not a prefab or that entity is broken.
    // A missing or empty file caches nothing useful and is tried again next time.
    ECS::IEntity* Instantiate(const std::string& path, const Vector4& position);

    std::map<std::string, std::string> fileCache; // prefab path -> its JSON line

private:
    EntityReader& reader;
    const Services& services;
};

} // namespace Varn::Scene
