#include "enemies/EnemyBuilders.h"

#include "ai/TreeBuilders.h"
#include "ecs/BehaviourComponent.h"

namespace Varn::Behaviours
{

void RegisterEnemies()
{
    TreeBuilders::Register(Component::PATROLLING_MELEE, "PatrollingMelee", BuildPatrollingMelee);
    TreeBuilders::Register(Component::TURRET, "Turret", BuildTurret);
    TreeBuilders::Register(Component::FLYING_BOMBER, "FlyingBomber", BuildFlyingBomber);
    TreeBuilders::Register(Component::SPAWNER, "Spawner", BuildSpawner);
}

} // namespace Varn::Behaviours
