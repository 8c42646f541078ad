// The patrolling melee enemy. Root selector, first match wins each tick:
//   dying > (initialisation) > bullet damage > (hit flash) > smash damage > death start >
//   attack > patrol > falling reset.
// Attack comes before patrol so a player in sight always interrupts the walk. Patrol and
// attack only run with ground below; in the air everything fails down to the falling reset,
// which drops every state flag, and patrol starts afresh on landing. Stopwatches: one for the
// patrol's idle pause (later reused for the death fade), one for the damage window and one for
// the hit flash.
#include "ai/BehaviourTree.h"
#include "ai/BuilderSupport.h"
#include "ai/EntityLeaves.h"
#include "ai/PlayerLeaves.h"
#include "ai/StopwatchLeaves.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/IEntity.h"
#include "enemies/EnemyBuilders.h"

namespace Varn::Game
{

using namespace AI;

namespace
{
constexpr const char* EXPLOSION_PREFAB = "Resources\\Prefabs\\ParticleExplosionSmall.prefab";
constexpr const char* EXPLOSION_SOUND = "Resources\\Audio\\SFX\\Explosion_CTE01_56.1.ogg";
constexpr const char* HIT_SOUND = "Resources\\Audio\\SFX\\HORROR_GEN-HDF-14514.ogg";
constexpr float PATROL_FORCE = 90.0f;
constexpr float CHASE_FORCE = 300.0f;
constexpr float LOOK_AHEAD = 100.0f;   // reach of the wall and ledge rays
constexpr float IDLE_SECONDS = 1.0f;   // pause at the end of a patrol leg
constexpr float DAMAGE_WINDOW = 0.05f; // one overlapping hit counts once
constexpr float FLASH_SECONDS = 0.1f;
constexpr float SIGHT_RANGE = 1000.0f;
constexpr float HEIGHT_RANGE = 65.0f; // the player must be on about the same floor
// The claw's box (see the level tools) reaches 48 units ahead of the centre; the grunt swings
// once the player is close enough for it to land on a player-sized body.
constexpr float ATTACK_RANGE = 64.0f;
constexpr float CLAW_AHEAD = 24.0f;  // the claw box's centre, ahead of the grunt's
constexpr int32_t STRIKE_FRAME = 15; // the animation frame where the blow lands
const VarnColor HIT_TINT{1.0f, 0.3f, 0.3f, 1.0f};
const VarnColor NO_TINT{1.0f, 1.0f, 1.0f, 1.0f};
} // namespace

void BuildPatrollingMelee(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services)
{
    auto tree = std::make_shared<BehaviourTree>();
    ECS::IEntity* self = &entity;
    ECS::IEntity* player = FindPlayer(services);
    ECS::IEntity* melee = entity.GetChild(0); // the strike collider
    ECS::IEntity* second = entity.GetChild(1);

    float* life = tree->Float("Life", 3.0f);
    tree->Float("Collider", 1.0f);
    bool* patrolLeft = tree->Bool("PatrolLeft");
    bool* patroling = tree->Bool("Patroling", true);
    bool* dead = tree->Bool("Dead");
    bool* attacking = tree->Bool("Attacking");
    bool* prefabOn = tree->Bool("PrefabOn");
    bool* watchStarted = tree->Bool("WatchStarted");
    bool* watchStarted2 = tree->Bool("WatchStarted2");
    bool* watchStarted3 = tree->Bool("WatchStarted3");
    bool* init = tree->Bool("Init");
    bool* deathWatchStarted = tree->Bool("DeathWatchStarted");
    tree->Bool("Death");
    const std::string* attackTexture = tree->String("Attack", "Resources\\Sprites\\Grunt1\\grunt_attack.dds");
    const std::string* walkTexture = tree->String("Walk", "Resources\\Sprites\\Grunt1\\grunt_walk.dds");
    const std::string* idleTexture = tree->String("Idle", "Resources\\Sprites\\Grunt1\\grunt_idle.dds");
    const std::string* deathTexture = tree->String("Death", "Resources\\Sprites\\Grunt1\\grunt_death.dds");
    tree->String("ColliderPrefabRight", "Resources\\Prefabs\\MeleeColliderRight.prefab");
    tree->String("ColliderPrefabLeft", "Resources\\Prefabs\\MeleeColliderLeft.prefab");

    const Watch patrolWatch = NewWatch(services);
    const Watch damageWatch = NewWatch(services);
    const Watch flashWatch = NewWatch(services);

    const NodePtr groundBelow = Leaf<RayCast>(services, self, Vector4{0, -LOOK_AHEAD, 0, 0}, "Wall");

    auto blockedAhead = [&](float side)
    {
        return Sel(Leaf<RayCast>(services, self, Vector4{side * LOOK_AHEAD, 0, 0, 0}, "Wall"),
                   Leaf<RayCast>(services, self, Vector4{side * LOOK_AHEAD, 0, 0, 0}, "Interactable"),
                   Not(Leaf<RayCast>(services, self, Vector4{side * LOOK_AHEAD, -LOOK_AHEAD, 0, 0}, "Wall")));
    };
    // Faces the way "PatrolLeft" says; a clear flipX looks to +x.
    const NodePtr faceByFlags =
        Sel(Seq(Leaf<IsPatrolLeft>(patrolLeft), Leaf<FlipX>(self, true)), Leaf<FlipX>(self, false));

    // One patrol leg: walk until a wall, a ledge or an interactable is ahead, then idle, turn.
    auto leg = [&](float side)
    {
        const NodePtr idleThenTurn = Seq(
            Leaf<SetTexture>(services, idleTexture, self), Leaf<SetAnimation>("Idle", self),
            Leaf<StopMoving>(self),
            Sel(Leaf<IsBoolTrue>(watchStarted), Leaf<StartWatch>(patrolWatch, watchStarted)),
            If(Leaf<CheckDuration>(patrolWatch, IDLE_SECONDS, false),
               Seq(Leaf<ToggleBool>(patrolLeft), faceByFlags, Leaf<StopWatch>(patrolWatch, watchStarted))));
        const NodePtr walk =
            Seq(Leaf<Move>(self, Vector4{side * PATROL_FORCE, 0, 0, 0}), Leaf<FlipX>(self, side < 0.0f),
                Leaf<SetTexture>(services, walkTexture, self), Leaf<SetAnimation>("Walk", self));
        return Sel(Seq(blockedAhead(side), idleThenTurn), walk);
    };

    const NodePtr initialisation =
        Not(If(Leaf<CheckBool>(init, false),
               Seq(Leaf<SetBool>(init, true), Leaf<AddIgnoreTag>(services, self, "Enemy"),
                   Leaf<AddIgnoreTag>(services, self, "Player"))));

    auto damage = [&](const char* source, float amount)
    {
        return Seq(
            Leaf<CheckLife>(life), Leaf<CheckCollisionName>(services, self, source),
            Sel(Not(Leaf<IsBoolTrue>(watchStarted2)), Leaf<CheckDuration>(damageWatch, DAMAGE_WINDOW, false)),
            Leaf<DamageEntity>(self, amount, life), Leaf<StartWatch>(damageWatch, watchStarted2),
            Try(Leaf<SetTint>(self, HIT_TINT)), Leaf<StartWatch>(flashWatch, watchStarted3));
    };

    // Inverted over a node that always succeeds, so the root always goes on past it.
    const NodePtr hitFlash =
        Not(Try(Seq(Leaf<IsBoolTrue>(watchStarted3), Leaf<CheckDuration>(flashWatch, FLASH_SECONDS, false),
                    Try(Leaf<SetTint>(self, NO_TINT)), Leaf<StopWatch>(flashWatch, watchStarted3))));

    const NodePtr deathStart =
        Seq(Not(Leaf<CheckLife>(life)), Leaf<CheckBool>(dead, false),
            Leaf<SetTexture>(services, deathTexture, self), Leaf<SetAnimation>("Death", self),
            Sel(Seq(Leaf<IsFacingPlayer>(self, player), Leaf<Move>(self, Vector4{200, 400, 0, 0})),
                Leaf<Move>(self, Vector4{-200, 400, 0, 0})),
            Leaf<SetBool>(dead, true), Leaf<StartWatch>(patrolWatch, deathWatchStarted));

    const NodePtr dying =
        Seq(Leaf<IsBoolTrue>(deathWatchStarted), Leaf<SetTag>(services, self, std::vector<std::string>{}),
            Try(Leaf<DecreaseOpacity>(self)), Leaf<Rotate>(self, 25.0f), Leaf<SetTrigger>(self, false),
            If(Leaf<CheckOpacity>(0.5f, self),
               Seq(Leaf<AddToKillList>(melee), Leaf<AddToKillList>(second),
                   Try(Leaf<CreatePrefab>(services, Vector4{}, Vector4{}, EXPLOSION_PREFAB, entity.layer,
                                          self, true)),
                   Leaf<PlaySound>(services, EXPLOSION_SOUND, false, false, false), Leaf<AddToKillList>(self),
                   Leaf<KillWatch>(patrolWatch), Leaf<KillWatch>(damageWatch), Leaf<KillWatch>(flashWatch))));

    auto chase = [&](float side)
    {
        return Sel(Seq(blockedAhead(side), Leaf<StopMoving>(self)),
                   Leaf<Move>(self, Vector4{side * CHASE_FORCE, 0, 0, 0}));
    };
    // IsFacingPlayer holds when the enemy looks away under the +x convention: turn round.
    const NodePtr turnToPlayer =
        If(Leaf<IsFacingPlayer>(self, player), Seq(Leaf<ToggleBool>(patrolLeft), faceByFlags));
    const NodePtr strike =
        Seq(Leaf<WithinAttackRange>(ATTACK_RANGE, self, player), Leaf<StopMoving>(self), turnToPlayer,
            Leaf<ColliderAhead>(melee, self, CLAW_AHEAD),
            If(Seq(Leaf<CheckFrameCount>(self, STRIKE_FRAME), Leaf<CheckBool>(attacking, false),
                   Leaf<CollidingWithPlayer>(melee, player)),
               Seq(Leaf<SetBool>(attacking, true), Leaf<AttackPlayer>(player),
                   Leaf<PlaySound>(services, HIT_SOUND, false, false, false))),
            If(Not(Leaf<CheckFrameCount>(self, STRIKE_FRAME)), Leaf<SetBool>(attacking, false)),
            Try(Leaf<TogglePrefab>(melee, true)), Leaf<SetBool>(prefabOn, true),
            Leaf<SetTexture>(services, attackTexture, self), Leaf<SetAnimation>("Attack", self));
    const NodePtr pursue =
        Seq(Try(Leaf<TogglePrefab>(melee, false)), Leaf<SetBool>(prefabOn, false), turnToPlayer,
            Sel(Seq(Leaf<IsPatrolLeft>(patrolLeft), chase(-1.0f)), chase(1.0f)),
            Leaf<SetTexture>(services, walkTexture, self), Leaf<SetAnimation>("Walk", self));
    const NodePtr attack =
        Seq(groundBelow, Leaf<IsPlayerNear>(services, SIGHT_RANGE, self),
            Leaf<CheckYRange>(HEIGHT_RANGE, self, player), Leaf<TogglePatrol>(patroling, false),
            Leaf<StopMoving>(self), Sel(strike, pursue));

    const NodePtr patrol =
        Seq(groundBelow, Try(Leaf<TogglePrefab>(melee, false)), Leaf<SetBool>(prefabOn, false),
            Leaf<TogglePatrol>(patroling, true), Leaf<IsPatrolling>(patroling),
            Sel(Seq(Leaf<IsPatrolLeft>(patrolLeft), leg(-1.0f)), leg(1.0f)));

    const NodePtr fallingReset =
        Seq(Not(groundBelow), Leaf<SetBool>(patrolLeft, false), Leaf<SetBool>(patroling, false),
            Leaf<SetBool>(attacking, false), Leaf<SetBool>(prefabOn, false),
            Leaf<SetBool>(watchStarted, false), Leaf<SetBool>(watchStarted2, false),
            Leaf<SetBool>(watchStarted3, false), Leaf<SetBool>(init, false), Leaf<StopMoving>(self));

    tree->child = Sel(dying, initialisation, damage("Bullet", 1.0f), hitFlash, damage("Smash", 3.0f),
                      deathStart, attack, patrol, fallingReset);
    behaviour.tree = std::move(tree);
}

} // namespace Varn::Game
