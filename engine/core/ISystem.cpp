#include "core/ISystem.h"

#include "core/Clock.h"

#include <algorithm>

namespace Varn::System
{

ISystem::ISystem(Scene* scene_) : scene(scene_), updateStartTicks(Time::NowTicks())
{
}

void ISystem::AddEntity(ECS::IEntity* entity)
{
    if (std::find(entities.begin(), entities.end(), entity) == entities.end())
    {
        entities.push_back(entity);
    }
}

void ISystem::RemoveEntity(ECS::IEntity* entity)
{
    auto found = std::find(entities.begin(), entities.end(), entity);
    if (found != entities.end())
    {
        entities.erase(found);
    }
}

} // namespace Varn::System
