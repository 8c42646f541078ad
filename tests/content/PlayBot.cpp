#include "content/PlayBot.h"

#include "ecs/BoxCollider2D.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "scene/JSONManager.h"

#include <cmath>

namespace Varn::Test
{

namespace
{
constexpr int KEY_ENTER = 13;
constexpr int KEY_SPACE = 32;
constexpr int KEY_RIGHT = 39;
constexpr int KEY_C = 67;     // smash
constexpr int KEY_X = 88;     // shoot
constexpr int KEY_Z = 90;     // hook
constexpr float FEET = 48.0f; // the player's feet below its centre
constexpr int FULL_JUMP_FRAMES = 30;
constexpr int FIGHT_FRAMES = 60 * 8; // then it gives up on the enemies of that stretch
constexpr float SIGHT = 700.0f;      // about half the screen: it shoots what it can see ahead

float WorldX(const ECS::IEntity& e)
{
    return e.GetComponent<ECS::Transform>()->worldMatrix.m[0][3];
}
float WorldY(const ECS::IEntity& e)
{
    return e.GetComponent<ECS::Transform>()->worldMatrix.m[1][3];
}
bool StartsWith(const std::string& name, const char* prefix)
{
    return name.rfind(prefix, 0) == 0;
}

// How close the bot walks up to an enemy before it stands and fights: the hook reaches less
// far than a bullet, and a grunt comes to the player anyway.
float StandOff(const std::string& name)
{
    return StartsWith(name, "Turret") ? 220.0f : StartsWith(name, "Grunt") ? 380.0f : 300.0f;
}
} // namespace

void PlayBot::Act()
{
    ++frame;
    ECS::Scene& scene = *engine.scenes->current;
    input.state.keys.reset();
    if (scene.name.ends_with("GameOver.scene"))
    {
        // Retry is the first button; wait for the screen to settle like a player would.
        if (++menuFrames % 40 == 0)
        {
            Tap(KEY_ENTER);
        }
        return;
    }
    menuFrames = 0;
    ECS::IEntity* player = nullptr;
    for (ECS::IEntity* e : scene.entities)
    {
        if (e->name == "Player" && e->GetComponent<ECS::Transform>() != nullptr)
        {
            player = e;
        }
    }
    if (player == nullptr)
    {
        return;
    }
    Look(*player);
    Play(*player);
}

void PlayBot::Look(ECS::IEntity& player)
{
    boxes.clear();
    spikes.clear();
    enemies.clear();
    const uint64_t wall = engine.jsonManager->TagValue("Wall");
    const uint64_t crate = engine.jsonManager->TagValue("Interactable");
    const uint64_t enemy = engine.jsonManager->TagValue("Enemy");
    for (ECS::IEntity* e : engine.scenes->current->entities)
    {
        if (e == &player || !e->gameObjectActive || e->GetComponent<ECS::Transform>() == nullptr)
        {
            continue;
        }
        const auto* box = e->GetComponent<ECS::BoxCollider2D>();
        if (box != nullptr && !box->isTrigger && (e->tags & (wall | crate)) != 0)
        {
            const auto* t = e->GetComponent<ECS::Transform>();
            const float cx = WorldX(*e) + box->offset.x, cy = WorldY(*e) + box->offset.y;
            const float hx = t->worldScale.x * 0.5f * box->scaleX, hy = t->worldScale.y * 0.5f * box->scaleY;
            boxes.push_back({cx - hx, cx + hx, cy - hy, cy + hy, (e->tags & crate) != 0});
        }
        if (StartsWith(e->name, "Spikes") && box != nullptr)
        {
            const float hx = e->GetComponent<ECS::Transform>()->worldScale.x * 0.5f * box->scaleX;
            spikes.push_back({WorldX(*e) - hx, WorldY(*e), e->name});
        }
        if ((e->tags & enemy) != 0 && e->name.find("Claw") == std::string::npos &&
            (StartsWith(e->name, "Grunt") || StartsWith(e->name, "Turret") ||
             StartsWith(e->name, "Spawner") || StartsWith(e->name, "Fishie")))
        {
            enemies.push_back({WorldX(*e), WorldY(*e), e->name});
        }
    }
}

bool PlayBot::Supported(float x, float feet) const
{
    for (const Box& b : boxes)
    {
        if (b.left <= x && x <= b.right && b.top > feet - 30.0f && b.top < feet + 12.0f)
        {
            return true;
        }
    }
    return false;
}

void PlayBot::Play(ECS::IEntity& player)
{
    auto* script = player.GetComponent<ECS::ScriptComponent>();
    if (script != nullptr && (script->boolList["dead"] || script->boolList["frozen"]))
    {
        jumpFrames = 0;
        return;
    }
    const float x = WorldX(player), y = WorldY(player), feet = y - FEET;
    const auto* body = player.GetComponent<ECS::RigidBody>();
    const bool grounded = body != nullptr && body->grounded;

    // The nearest enemy ahead: shot at once in sight, stood against once close, unless this
    // stretch has taken too long already.
    const Thing* sighted = nullptr;
    for (const Thing& e : enemies)
    {
        const float ahead = e.x - x;
        if (ahead > -30.0f && ahead < SIGHT && std::fabs(e.y - y) < 160.0f &&
            (sighted == nullptr || e.x < sighted->x))
        {
            sighted = &e;
        }
    }
    const Thing* target = sighted != nullptr && sighted->x - x < StandOff(sighted->name) ? sighted : nullptr;
    if (target != nullptr && std::fabs(x - fightX) > 300.0f)
    {
        fightX = x;
        fightFrames = 0;
    }
    if (target != nullptr && ++fightFrames > FIGHT_FRAMES)
    {
        target = nullptr;
    }

    const Box* crate = nullptr;
    for (const Box& b : boxes)
    {
        if (b.crate && b.left - x > 0.0f && b.left - x < 60.0f && b.bottom < feet + 60.0f &&
            b.top > feet + 5.0f)
        {
            crate = &b;
        }
    }

    const bool run = target == nullptr && crate == nullptr;
    Hold(KEY_RIGHT, run);
    if (sighted != nullptr && frame % 14 == 0)
    {
        Tap(KEY_X);
    }
    if (crate != nullptr || (target != nullptr && target->x - x < 140.0f))
    {
        if (frame % 35 == 0)
        {
            Tap(KEY_C);
        }
    }
    if (target != nullptr && StartsWith(target->name, "Turret") && frame % 45 == 0)
    {
        Tap(KEY_Z);
    }

    stuckFrames = run && std::fabs(x - lastX) < 0.5f ? stuckFrames + 1 : 0;
    lastX = x;

    if (jumpFrames > 0)
    {
        Hold(KEY_SPACE, --jumpFrames > 0);
        return;
    }
    if (!run || !grounded)
    {
        return;
    }
    bool jump = !Supported(x + 60.0f, feet) || !Supported(x + 120.0f, feet) || stuckFrames > 20;
    for (const Box& b : boxes)
    {
        jump = jump || (!b.crate && b.left - x > 20.0f && b.left - x < 100.0f && b.top > feet + 10.0f &&
                        b.bottom < feet + 90.0f);
    }
    for (const Thing& s : spikes)
    {
        jump = jump || (s.x - x > 40.0f && s.x - x < 160.0f);
    }
    if (jump)
    {
        jumpFrames = FULL_JUMP_FRAMES;
        Hold(KEY_SPACE, true);
    }
}

} // namespace Varn::Test
