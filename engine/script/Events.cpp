#include "script/Events.h"

#include "core/InputManager.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/IEntity.h"
#include "ecs/RaycastComponent.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "ecs/Transform.h"
#include "ecs/UIButton.h"
#include "physics/Raycast.h"
#include "script/ORINCompiler.h"

#include <algorithm>

namespace Varn::Script
{

namespace
{

// Each contact event starts from empty hit lists, so only its own hits remain.
void ClearHits(ECS::ScriptComponent& script)
{
    script.rawCollisions.clear();
    script.rawTriggers.clear();
    script.rawRaycasts.clear();
    script.collisionHits.clear();
    script.triggerHits.clear();
    script.raycastHits.clear();
}

// The entities of a pass's list that are still alive: one freed since the pass is dropped.
void AppendLive(std::vector<ECS::IEntity*>& out, const std::vector<ECS::EntityHandle>& list)
{
    for (const ECS::EntityHandle& handle : list)
    {
        if (ECS::IEntity* entity = handle.Get())
        {
            out.push_back(entity);
        }
    }
}

bool Between(float value, float a, float b)
{
    return value >= std::min(a, b) && value <= std::max(a, b);
}

} // namespace

void Events::Register(EventTable& table)
{
    table["True"] = {&True};
    table["Initialize"] = {&Initialize, Takes({0})};
    table["Input"] = {&Input, Takes({2}), "InputEvent"};
    table["EnterArea"] = {&EnterArea, Takes({6}), "EnterAreaEvent"};
    table["OnTrigger"] = {&OnTrigger, Takes({0})};
    table["OnCollision"] = {&OnCollision, Takes({0})};
    table["OnRaycast"] = {&OnRaycast, Takes({0}), "OnRaycastTouch"};
    table["Raycast"] = {&Raycast, Takes({3, 4, 5, 6})};
    table["OnButton"] = {&OnButton, Takes({1})};
    table["ControllerConnected"] = {&ControllerConnected};
}

bool Events::True(ECS::IEntity*, const Params&, ORINCompiler&)
{
    return true;
}

bool Events::Initialize(ECS::IEntity* entity, const Params&, ORINCompiler&)
{
    const auto* script = entity->GetComponent<ECS::ScriptComponent>();
    return script != nullptr && !script->initialized;
}

bool Events::Input(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler)
{
    // The code is a number, or a variable holding one: the key a player bound to an action.
    const std::string& mode = params[0].text;
    float code = 0.0f;
    bool read = true;
    try
    {
        code = compiler.references.Float(entity, params[1], 1, false, 0);
    }
    catch (const ScriptFailure&)
    {
        read = false;
    }
    if (!read || (mode != "Down" && mode != "Pressed" && mode != "Up"))
    {
        compiler.references.InvalidParameters("InputEvent", entity);
        return false;
    }
    // Whole codes only; anything outside the table (NaN too) names no key.
    const int key =
        code >= 0.0f && code < static_cast<float>(InputManager::KEY_COUNT) ? static_cast<int>(code) : -1;
    const InputManager& input = compiler.services.input;
    if (mode == "Down")
    {
        return input.IsKeyDown(key);
    }
    return mode == "Pressed" ? input.IsKeyPressed(key) : input.IsKeyReleased(key);
}

bool Events::InArea(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler)
{
    float corner[6];
    for (int i = 0; i < 6; ++i)
    {
        corner[i] = compiler.references.Float(entity, params[i], i, false, 0);
    }
    const auto* transform = entity->GetComponent<ECS::Transform>();
    if (transform == nullptr)
    {
        compiler.references.MissingComponent("Transform", entity);
        return false;
    }
    const auto& m = transform->worldMatrix.m;
    return Between(m[0][3], corner[0], corner[3]) && Between(m[1][3], corner[1], corner[4]) &&
           Between(m[2][3], corner[2], corner[5]);
}

bool Events::EnterArea(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler)
{
    try
    {
        return InArea(entity, params, compiler);
    }
    catch (const ScriptFailure&)
    {
        compiler.references.InvalidParameters("EnterAreaEvent", entity);
        return false;
    }
}

bool Events::OnTrigger(ECS::IEntity* entity, const Params&, ORINCompiler&)
{
    auto* script = entity->GetComponent<ECS::ScriptComponent>();
    if (script == nullptr)
    {
        return false;
    }
    ClearHits(*script);
    if (const auto* box = entity->GetComponent<ECS::BoxCollider2D>())
    {
        AppendLive(script->rawTriggers, box->triggerEntities);
    }
    if (const auto* circle = entity->GetComponent<ECS::CircleCollider2D>())
    {
        AppendLive(script->rawTriggers, circle->triggerEntities);
    }
    script->triggerHits = script->rawTriggers;
    return !script->triggerHits.empty();
}

bool Events::OnCollision(ECS::IEntity* entity, const Params&, ORINCompiler& compiler)
{
    const auto* body = entity->GetComponent<ECS::RigidBody>();
    const auto* box = entity->GetComponent<ECS::BoxCollider2D>();
    if (body == nullptr && box == nullptr)
    {
        compiler.references.MissingComponent("RigidBody and BoxCollider", entity);
        return false;
    }
    auto* script = entity->GetComponent<ECS::ScriptComponent>();
    if (script == nullptr)
    {
        return false;
    }
    ClearHits(*script);
    if (body != nullptr && !body->contacts.empty())
    {
        for (const ECS::ContactInfo& contact : body->contacts)
        {
            if (ECS::IEntity* other = contact.other.Get())
            {
                script->rawCollisions.push_back(other);
            }
        }
    }
    else if (box != nullptr)
    {
        AppendLive(script->rawCollisions, box->collidingEntities);
    }
    script->collisionHits = script->rawCollisions;
    return !script->collisionHits.empty();
}

bool Events::OnRaycast(ECS::IEntity* entity, const Params&, ORINCompiler& compiler)
{
    auto* rays = entity->GetComponent<ECS::RaycastComponent>();
    if (rays == nullptr)
    {
        compiler.references.MissingComponent("RaycastComponent", entity);
        return false;
    }
    auto* script = entity->GetComponent<ECS::ScriptComponent>();
    if (script == nullptr)
    {
        return false;
    }
    ClearHits(*script);
    const bool hit = Physics::CastRays(compiler.services, *rays);
    script->rawRaycasts = rays->hitEntities;
    script->raycastHits = script->rawRaycasts;
    return hit;
}

bool Events::Raycast(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler)
{
    auto* script = entity->GetComponent<ECS::ScriptComponent>();
    if (script == nullptr)
    {
        return false;
    }
    try
    {
        References& references = compiler.references;
        const Vector4 ray{references.Float(entity, params[0], 0, false, 0),
                          references.Float(entity, params[1], 1, false, 0),
                          references.Float(entity, params[2], 2, false, 0), 0.0f};
        // With four or six parameters the last one names the tag to look for.
        std::string tag;
        if (params.size() == 4 || params.size() == 6)
        {
            tag = references.String(entity, params.back(), 0, false, 0);
        }
        float* hitX = nullptr;
        float* hitY = nullptr;
        if (params.size() >= 5)
        {
            hitX = &references.Float(entity, params[3], 3, false, 0);
            hitY = &references.Float(entity, params[4], 4, false, 0);
        }
        ClearHits(*script);
        Vector4 hitPoint{0, 0, 0, 1};
        ECS::IEntity* hitEntity = nullptr;
        const bool hit = Physics::Raycast(compiler.services, entity, ray, hitPoint, hitEntity, tag);
        if (hitX != nullptr)
        {
            *hitX = hitPoint.x;
            *hitY = hitPoint.y;
        }
        if (hit)
        {
            script->rawRaycasts = {hitEntity};
            script->raycastHits = script->rawRaycasts;
        }
        return hit;
    }
    catch (const ScriptFailure&)
    {
        compiler.references.InvalidParameters("Raycast", entity);
        return false;
    }
}

bool Events::OnButton(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler)
{
    const auto* button = entity->GetComponent<ECS::UIButton>();
    if (button == nullptr)
    {
        compiler.references.MissingComponent("UIButton", entity);
        return false;
    }
    const std::string& state = params[0].text;
    if (state == "Click")
    {
        return button->clicked;
    }
    if (state == "Down")
    {
        return button->isDown;
    }
    if (state == "Hover")
    {
        return button->hovered;
    }
    if (state == "OffHover")
    {
        return !button->hovered;
    }
    compiler.references.InvalidParameters("OnButton", entity);
    return false;
}

bool Events::ControllerConnected(ECS::IEntity*, const Params&, ORINCompiler& compiler)
{
    return compiler.services.input.padConnected;
}

} // namespace Varn::Script
