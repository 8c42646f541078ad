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
    if (!Has(entity))
    {
        entities.push_back(entity);
    }
}

bool ISystem::Has(const ECS::IEntity* entity) const
{
    return std::find(entities.begin(), entities.end(), entity) != entities.end();
}

void ISystem::RemoveEntity(ECS::IEntity* entity)
{
    auto found = std::find(entities.begin(), entities.end(), entity);
    if (found != entities.end())
    {
        entities.erase(found);
    }
}

} // namespace Varn
