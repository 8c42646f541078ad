#include "enemies/EnemyBuilders.h"

#include "ai/TreeBuilders.h"
#include "ecs/BehaviourComponent.h"

namespace Varn::Game
{

void RegisterEnemies()
{
    AI::TreeBuilders::Register(ECS::PATROLLING_MELEE, "PatrollingMelee", BuildPatrollingMelee);
    AI::TreeBuilders::Register(ECS::TURRET, "Turret", BuildTurret);
    AI::TreeBuilders::Register(ECS::FLYING_BOMBER, "FlyingBomber", BuildFlyingBomber);
    AI::TreeBuilders::Register(ECS::SPAWNER, "Spawner", BuildSpawner);
}

} // namespace Varn::Game
