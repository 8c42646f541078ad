#include "ai/BuilderSupport.h"

#include "core/Engine.h"
#include "core/Scene.h"
#include "core/SceneStack.h"
#include "core/Timer.h"
#include "ecs/EntityManager.h"

namespace Varn::Behaviours::Build
{

ECS::IEntity* FindPlayer()
{
    const Scene* scene = Engine::Instance().scenes->current;
    return scene != nullptr ? ECS::EntityManager::FindByName(scene->entities, "Player") : nullptr;
}

Time::FrameCounter* NewWatch()
{
    return Engine::Instance().timer->CreateCounter(false);
}

} // namespace Varn::Behaviours::Build
