#include "ai/BuilderSupport.h"

#include "core/Timer.h"
#include "ecs/EntityManager.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"

namespace Varn::AI
{

ECS::IEntity* FindPlayer(const Services& services)
{
    const ECS::Scene* scene = services.scenes.current;
    return scene != nullptr ? ECS::EntityManager::FindByName(scene->entities, "Player") : nullptr;
}

Watch NewWatch(const Services& services)
{
    return {&services.timer, services.timer.CreateCounter(false)};
}

} // namespace Varn::AI
