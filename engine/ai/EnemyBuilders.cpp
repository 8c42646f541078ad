#include "ai/EnemyBuilders.h"

#include "ai/BehaviourTree.h"
#include "ai/BlackboardLeaves.h"
#include "ai/BuilderSupport.h"
#include "ai/Composite.h"
#include "ai/Conditional.h"
#include "ai/EntityLeaves.h"
#include "ai/Inverter.h"
#include "ai/PlayerLeaves.h"
#include "ai/StopwatchLeaves.h"
#include "core/Engine.h"
#include "core/Scene.h"
#include "core/SceneStack.h"
#include "core/Timer.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"

#include <memory>

namespace Varn::Behaviours
{

using BehaviourTree::Selector;
using BehaviourTree::Sequence;

namespace Build
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
} // namespace Build

namespace
{
constexpr const char* FISHIE_PREFAB = "Resources\\Prefabs\\FishieNew.prefab";
constexpr float SPAWN_PERIOD = 5.0f; // seconds between two spawns while the player stays
} // namespace

void BuildTree(ECS::IEntity& entity, Component::BehaviourComponent& behaviour)
{
    switch (behaviour.type)
    {
    case Component::PATROLLING_MELEE:
        BuildPatrollingMelee(entity, behaviour);
        break;
    case Component::TURRET:
        BuildTurret(entity, behaviour);
        break;
    case Component::FLYING_BOMBER:
        BuildFlyingBomber(entity, behaviour);
        break;
    case Component::SPAWNER:
        BuildSpawner(entity, behaviour);
        break;
    default:
        break;
    }
}

// While the player stands in the trigger area (the first child), one prefab every 5 s; the
// first comes at once if the area was left alone for 5 s.
void BuildSpawner(ECS::IEntity& entity, Component::BehaviourComponent& behaviour)
{
    auto tree = std::make_shared<BehaviourTree::BehaviourTree>();
    float* spawnCount = tree->Float("SpawnCount", 0.0f);
    Time::FrameCounter* watch = Build::NewWatch();

    tree->child = std::make_shared<Sequence>(Sequence{
        std::make_shared<CollidingWithPlayer>(entity.GetChild(0), Build::FindPlayer()),
        std::make_shared<CheckDuration>(watch, SPAWN_PERIOD, true),
        std::make_shared<CreatePrefab>(Math::Vector4{}, Math::Vector4{}, FISHIE_PREFAB, entity.layer, &entity,
                                       true),
        std::make_shared<Counter>(spawnCount),
    });
    behaviour.tree = std::move(tree);
}

} // namespace Varn::Behaviours
