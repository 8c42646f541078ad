// The turret. Root selector, first match wins each tick:
//   death > (initialisation) > shell break > bullet damage > (hit flash) > facing > firing.
// Firing plays as bursts: once the player has stayed within "Range" for "ChargeFiringTimer"
// seconds the turret fires BURST_SHOTS shots "Chain Firing TImer" apart, then charges again.
// Leaving the range restarts the charge, so a player who ducks out is never shot on return
// without warning. "Dead" (not among the turret's listed flags) makes the death run once.
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
constexpr const char* SPARKS_PREFAB = "Resources\\Prefabs\\SnailSparks.prefab";
constexpr const char* SHELL_PREFABS[] = {
    "Resources\\Prefabs\\SnailShellBreak1.prefab", "Resources\\Prefabs\\SnailShellBreak2.prefab",
    "Resources\\Prefabs\\SnailShellBreak3.prefab", "Resources\\Prefabs\\SnailShellBreak4.prefab"};
constexpr float BURST_SHOTS = 3.0f;
constexpr float DAMAGE_WINDOW = 0.05f;
constexpr float FLASH_SECONDS = 0.1f;
const VarnColor HIT_TINT{1.0f, 0.3f, 0.3f, 1.0f};
const VarnColor NO_TINT{1.0f, 1.0f, 1.0f, 1.0f};
} // namespace

void BuildTurret(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services)
{
    auto tree = std::make_shared<BehaviourTree>();
    ECS::IEntity* self = &entity;
    ECS::IEntity* player = FindPlayer(services);
    ECS::IEntity* child = entity.GetChild(0);

    const float chargeSeconds = *tree->Float("ChargeFiringTimer", 1.8f);
    const float range = *tree->Float("Range", 1000.0f);
    const float chainSeconds = *tree->Float("Chain Firing TImer", 0.15f);
    float* life = tree->Float("Life", 10.0f);
    float* shots = tree->Float("BurstShotsFired", 0.0f);
    bool* watchStarted2 = tree->Bool("WatchStarted2");
    bool* watchStarted3 = tree->Bool("WatchStarted3");
    bool* init = tree->Bool("Init");
    bool* shellBreak = tree->Bool("ShellBreak");
    bool* dead = tree->Bool("Dead");
    const std::string* noShell =
        tree->String("NoShell", "Resources\\Sprites\\Turret\\grunt_turret_idle_noshell.dds");
    const std::string bulletPrefab = *tree->String("Bullet", "Resources\\Prefabs\\EnemyBullet.prefab");

    const Watch chargeWatch = NewWatch(services);
    const Watch chainWatch = NewWatch(services);
    const Watch damageWatch = NewWatch(services);
    const Watch flashWatch = NewWatch(services);

    auto at = [&](const std::string& path)
    { return Try(Leaf<CreatePrefab>(services, Vector4{}, Vector4{}, path, entity.layer, self, true)); };

    const NodePtr death =
        Seq(Not(Leaf<CheckLife>(life)), Leaf<CheckBool>(dead, false), Leaf<SetBool>(dead, true),
            at(EXPLOSION_PREFAB), Leaf<PlaySound>(services, EXPLOSION_SOUND, false, false, false),
            Leaf<AddToKillList>(self), Leaf<AddToKillList>(child), Leaf<KillWatch>(chargeWatch),
            Leaf<KillWatch>(chainWatch), Leaf<KillWatch>(damageWatch), Leaf<KillWatch>(flashWatch));

    const NodePtr initialisation =
        Not(If(Leaf<CheckBool>(init, false),
               Seq(Leaf<SetBool>(init, true), Leaf<AddIgnoreTag>(services, self, "Player"))));

    const NodePtr breakShell =
        Seq(Leaf<CheckBool>(shellBreak, false), Leaf<CheckCollisionName>(services, self, "HookChain"),
            Leaf<SetBool>(shellBreak, true), Leaf<SetTexture>(services, noShell, self), at(SPARKS_PREFAB),
            at(SHELL_PREFABS[0]), at(SHELL_PREFABS[1]), at(SHELL_PREFABS[2]), at(SHELL_PREFABS[3]));

    const NodePtr damage =
        Seq(Leaf<CheckLife>(life), Leaf<CheckCollisionName>(services, self, "Bullet"),
            Sel(Not(Leaf<IsBoolTrue>(watchStarted2)), Leaf<CheckDuration>(damageWatch, DAMAGE_WINDOW, false)),
            Leaf<DamageEntity>(self, 1.0f, life), Leaf<StartWatch>(damageWatch, watchStarted2),
            Try(Leaf<SetTint>(self, HIT_TINT)), Leaf<StartWatch>(flashWatch, watchStarted3));

    const NodePtr hitFlash =
        Not(Try(Seq(Leaf<IsBoolTrue>(watchStarted3), Leaf<CheckDuration>(flashWatch, FLASH_SECONDS, false),
                    Try(Leaf<SetTint>(self, NO_TINT)), Leaf<StopWatch>(flashWatch, watchStarted3))));

    // Keeps the turret turned to the player (a clear flipX looks to -x here); never stops the root.
    const NodePtr facing = Not(
        Try(Sel(Leaf<IsFacingPlayer>(self, player),
                Seq(Leaf<FlipX>(self, true), Leaf<IsFacingPlayer>(self, player)), Leaf<FlipX>(self, false))));

    const NodePtr shoot =
        Seq(Leaf<CreatePrefab>(services, Vector4{}, Vector4{}, bulletPrefab, entity.layer, self, true),
            Leaf<PlaySound>(services, EXPLOSION_SOUND, false, false, false), Leaf<Counter>(shots),
            Leaf<StartWatch>(chainWatch));
    const NodePtr firing = Sel(
        // Out of range: charge from zero again and forget a half-fired burst.
        Seq(Not(Leaf<WithinAttackRange>(range, self, player)), Leaf<StartWatch>(chargeWatch),
            Leaf<SetFloat>(shots, 0.0f)),
        Seq(Leaf<CheckFloat>(shots, 0.0f), Leaf<CheckDuration>(chargeWatch, chargeSeconds, false), shoot),
        Seq(Not(Leaf<CheckFloat>(shots, 0.0f)), Leaf<CheckDuration>(chainWatch, chainSeconds, false), shoot,
            If(Leaf<CheckFloat>(shots, BURST_SHOTS),
               Seq(Leaf<SetFloat>(shots, 0.0f), Leaf<StartWatch>(chargeWatch)))));

    tree->child = Sel(death, initialisation, breakShell, damage, hitFlash, facing, firing);
    behaviour.tree = std::move(tree);
}

} // namespace Varn::Game
