// The flying bomber. Root selector, first match wins each tick:
//   dying > bullet damage > death start > flight and bombing (both every tick).
// Flight: a small push along x by "Direction" (false: +x, flipX clear), turning round every
// "Lifetime" seconds. Bombing cycles on "BombingState" with its own stopwatch:
//   0 flying ("Fly") --BombingTime--> 1 gliding ("Glide", sinking) --GlidingTime-->
//   2 hatch open ("HatchOpening"): drops one "Bomb" and one "Target" --> 3 hatch closing
//   ("HatchClosing", climbing back) --GlidingTime--> 0.
// A hit makes it invulnerable for INVULNERABLE_SECONDS; at zero life it is pushed away, fades
// and, half faded, is removed with its stopwatches.
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
constexpr float FLIGHT_FORCE = 2.0f;
constexpr float GLIDE_FORCE = 1.0f;
constexpr float INVULNERABLE_SECONDS = 0.5f;
const VarnColor HIT_TINT{1.0f, 0.3f, 0.3f, 1.0f};

enum BOMBING_STATE
{
    FLYING = 0,
    GLIDING = 1,
    RELEASING = 2,
    CLOSING = 3,
};
} // namespace

void BuildFlyingBomber(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services)
{
    auto tree = std::make_shared<BehaviourTree>();
    ECS::IEntity* self = &entity;

    float* life = tree->Float("Life", 3.0f);
    const float lifetime = *tree->Float("Lifetime", 15.0f);
    const float glidingTime = *tree->Float("GlidingTime", 1.85f);
    const float bombingTime = *tree->Float("BombingTime", 4.0f);
    float* state = tree->Float("BombingState", 0.0f);
    bool* gliding = tree->Bool("Gliding");
    bool* direction = tree->Bool("Direction");
    bool* dead = tree->Bool("Dead");
    bool* bombing = tree->Bool("Bombing");
    bool* turning = tree->Bool("turning");
    bool* deathWatchStarted = tree->Bool("DeathWatchStarted");
    tree->Bool("Death");
    bool* invulStarted = tree->Bool("InvulStarted");
    const std::string* fly = tree->String("Fly", "Resources\\Sprites\\Bomber\\grunt_bomber_fly.dds");
    const std::string* glide =
        tree->String("Glide", "Resources\\Sprites\\Bomber\\grunt_bomber_glide_latchclosed.dds");
    const std::string* closing =
        tree->String("HatchClosing", "Resources\\Sprites\\Bomber\\grunt_bomber_glide_releaseclose.dds");
    const std::string* opening =
        tree->String("HatchOpening", "Resources\\Sprites\\Bomber\\grunt_bomber_glide_releasebomb.dds");
    const std::string bomb = *tree->String("Bomb", "Resources\\Prefabs\\Bomb.prefab");
    const std::string target = *tree->String("Target", "Resources\\Prefabs\\Target.prefab");

    const Watch flightWatch = NewWatch(services);
    const Watch bombWatch = NewWatch(services);
    const Watch invulWatch = NewWatch(services);

    auto drop = [&](const std::string& path)
    { return Try(Leaf<CreatePrefab>(services, Vector4{}, Vector4{}, path, entity.layer, self, true)); };

    const NodePtr dying =
        Seq(Leaf<IsBoolTrue>(deathWatchStarted), Try(Leaf<DecreaseOpacity>(self)),
            If(Leaf<CheckOpacity>(0.5f, self), Seq(Leaf<AddToKillList>(self), Leaf<KillWatch>(flightWatch),
                                                   Leaf<KillWatch>(bombWatch), Leaf<KillWatch>(invulWatch))));

    const NodePtr damage =
        Seq(Leaf<CheckLife>(life), Leaf<CheckCollisionName>(services, self, "Bullet"),
            Sel(Not(Leaf<IsBoolTrue>(invulStarted)),
                Leaf<CheckDuration>(invulWatch, INVULNERABLE_SECONDS, false)),
            Leaf<DamageEntity>(self, 1.0f, life), Leaf<StartWatch>(invulWatch, invulStarted),
            Try(Leaf<SetTint>(self, HIT_TINT)));

    const NodePtr deathStart =
        Seq(Not(Leaf<CheckLife>(life)), Leaf<CheckBool>(dead, false),
            Sel(Seq(Leaf<IsBoolTrue>(direction), Leaf<Move>(self, Vector4{-200, 0, 0, 0}),
                    Leaf<FlipX>(self, true)),
                Seq(Leaf<Move>(self, Vector4{200, -350, 0, 0}), Leaf<FlipX>(self, false))),
            Leaf<SetBool>(dead, true), Leaf<StartWatch>(invulWatch, deathWatchStarted));

    const NodePtr flight =
        Seq(Leaf<SetBool>(turning, false),
            Sel(Seq(Leaf<IsBoolTrue>(direction), Leaf<Move>(self, Vector4{-FLIGHT_FORCE, 0, 0, 0}),
                    Leaf<FlipX>(self, true)),
                Seq(Leaf<Move>(self, Vector4{FLIGHT_FORCE, 0, 0, 0}), Leaf<FlipX>(self, false))),
            If(Leaf<CheckDuration>(flightWatch, lifetime, true),
               Seq(Leaf<ToggleBool>(direction), Leaf<SetBool>(turning, true))),
            If(Leaf<IsBoolTrue>(gliding),
               Sel(Seq(Leaf<IsBoolTrue>(bombing), Leaf<Move>(self, Vector4{0, GLIDE_FORCE, 0, 0})),
                   Leaf<Move>(self, Vector4{0, -GLIDE_FORCE, 0, 0}))));

    auto enter = [&](float next) { return Seq(Leaf<SetFloat>(state, next), Leaf<StartWatch>(bombWatch)); };
    const NodePtr bombingCycle =
        Sel(Seq(Leaf<CheckFloat>(state, static_cast<float>(FLYING)),
                Leaf<CheckDuration>(bombWatch, bombingTime, false), Leaf<SetBool>(gliding, true),
                Leaf<SetTexture>(services, glide, self), enter(GLIDING)),
            Seq(Leaf<CheckFloat>(state, static_cast<float>(GLIDING)),
                Leaf<CheckDuration>(bombWatch, glidingTime, false), Leaf<SetTexture>(services, opening, self),
                enter(RELEASING)),
            Seq(Leaf<CheckFloat>(state, static_cast<float>(RELEASING)), drop(bomb), drop(target),
                Leaf<SetBool>(bombing, true), Leaf<SetTexture>(services, closing, self), enter(CLOSING)),
            Seq(Leaf<CheckFloat>(state, static_cast<float>(CLOSING)),
                Leaf<CheckDuration>(bombWatch, glidingTime, false), Leaf<SetBool>(gliding, false),
                Leaf<SetBool>(bombing, false), Leaf<SetTexture>(services, fly, self), enter(FLYING)));

    tree->child = Sel(dying, damage, deathStart, Seq(flight, Try(bombingCycle)));
    behaviour.tree = std::move(tree);
}

} // namespace Varn::Game
