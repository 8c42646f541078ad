#include "core/ISystem.h"

#include "core/Clock.h"

#include <algorithm>

namespace Varn
{

ISystem::ISystem(ECS::Scene* scene_, const Services& services_)
    : scene(scene_), updateStartTicks(NowTicks()), services(services_)
{
}

void ISystem::AddEntity(ECS::IEntity* entity)
{
    if (members.insert(entity))
    {
        entities.push_back(entity);
    }
}

bool ISystem::Has(const ECS::IEntity* entity) const
{
    return members.contains(entity);
}

void ISystem::RemoveEntity(ECS::IEntity* entity)
{
    // The working set's order is the order of every update, so the rest keep their places.
    if (members.erase(entity) != 0)
    {
        entities.erase(std::find(entities.begin(), entities.end(), entity));
    }
}

void ISystem::RemoveAllEntities()
{
    entities.clear();
    members.clear();
}

} // namespace Varn
