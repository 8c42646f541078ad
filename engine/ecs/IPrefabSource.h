#pragma once
// Where scripts and behaviours get prefab instances from, without knowing how prefab files are
// read: the scene loader's JSONManager is the one the game uses.
#include "core/Vector4.h"

#include <string>

namespace Varn::ECS
{

class IEntity;

class IPrefabSource
{
public:
    // Instantiates the prefab file into the current scene, its roots at `position`. Returns
    // the entity of array index 0; null when the file is not a prefab or that entity is broken.
    virtual IEntity* LoadPrefab(const std::string& path, const Vector4& position) = 0;

protected:
    ~IPrefabSource() = default;
};

} // namespace Varn::ECS
