// The spawner: while the player stands in the trigger area (the first child), one prefab every
// 5 s; the first comes at once if the area was left alone for 5 s.
#include "ai/BehaviourTree.h"
#include "ai/BlackboardLeaves.h"
#include "ai/BuilderSupport.h"
#include "ai/EntityLeaves.h"
#include "ai/PlayerLeaves.h"
#include "ai/StopwatchLeaves.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/IEntity.h"
#include "enemies/EnemyBuilders.h"

#include <memory>

namespace Varn::Game
{

using namespace AI;

namespace
{
constexpr const char* FISHIE_PREFAB = "Resources\\Prefabs\\FishieNew.prefab";
constexpr float SPAWN_PERIOD = 5.0f; // seconds between two spawns while the player stays
} // namespace

void BuildSpawner(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services)
{
    auto tree = std::make_shared<BehaviourTree>();
    float* spawnCount = tree->Float("SpawnCount", 0.0f);
    const Watch watch = NewWatch(services);

    tree->child = std::make_shared<Sequence>(Sequence{
        std::make_shared<CollidingWithPlayer>(entity.GetChild(0), FindPlayer(services)),
        std::make_shared<CheckDuration>(watch, SPAWN_PERIOD, true),
        std::make_shared<CreatePrefab>(services, Vector4{}, Vector4{}, FISHIE_PREFAB, entity.layer, &entity,
                                       true),
        std::make_shared<Counter>(spawnCount),
    });
    behaviour.tree = std::move(tree);
}

} // namespace Varn::Game
