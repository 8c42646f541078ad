#include "script/Conditions.h"

#include "core/InputManager.h"
#include "core/Window.h"
#include "ecs/Camera.h"
#include "ecs/IEntity.h"
#include "ecs/ScriptComponent.h"
#include "ecs/TagRegistry.h"
#include "ecs/Transform.h"
#include "graphics/CameraSystem.h"
#include "script/Events.h"
#include "script/ORINCompiler.h"

#include <cmath>

namespace Varn::Script
{

namespace
{

// The operator prepared when the statement was compiled; `equalityOnly` accepts just "==" and
// "!=".
COMPARISON Operator(const ScriptParam& param, bool equalityOnly)
{
    const COMPARISON op = param.asComparison;
    if (op == COMPARISON::NONE || (equalityOnly && op != COMPARISON::EQUAL && op != COMPARISON::NOT_EQUAL))
    {
        throw ScriptFailure{BAD_OPERATOR};
    }
    return op;
}

// IEEE comparisons: with a NaN on either side only "!=" holds.
template <typename T> bool Compare(T a, COMPARISON op, T b)
{
    switch (op)
    {
    case COMPARISON::EQUAL:
        return a == b;
    case COMPARISON::NOT_EQUAL:
        return a != b;
    case COMPARISON::LESS:
        return a < b;
    case COMPARISON::GREATER:
        return a > b;
    case COMPARISON::LESS_EQUAL:
        return a <= b;
    case COMPARISON::GREATER_EQUAL:
        return a >= b;
    case COMPARISON::NONE:
        break; // refused by Operator before it gets here
    }
    return false;
}

// The hit list named "Collided", "Raycasted" or "Triggered" of the entity's script.
const std::vector<ECS::IEntity*>& HitList(ECS::IEntity* entity, const std::string& name)
{
    const ECS::ScriptComponent& script = LocalScript(entity);
    if (name == "Collided")
    {
        return script.collisionHits;
    }
    if (name == "Raycasted")
    {
        return script.raycastHits;
    }
    if (name == "Triggered")
    {
        return script.triggerHits;
    }
    throw ScriptFailure{BAD_LIST};
}

} // namespace

void Conditions::Register(ConditionTable& table)
{
    table["CheckBool"] = {&CheckBool, Takes({2})};
    table["CheckFloat"] = {&CheckFloat, Takes({3})};
    table["CheckString"] = {&CheckString, Takes({3})};
    table["EnterArea"] = {&EnterArea, Takes({6})};
    table["MouseOver"] = {&MouseOver, Takes({0})};
    table["CheckTag"] = {&CheckTag, Takes({3})};
    table["CheckName"] = {&CheckName, TakesAtLeast(3)};
    table["CheckID"] = {&CheckID, Takes({3})};
    table["Check"] = {&Check, Takes({1})};
}

bool Conditions::CheckBool(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                           std::size_t hit)
{
    const bool& a = compiler.references.Bool(entity, params[0], 0, false, hit);
    const bool& b = compiler.references.Bool(entity, params[1], 1, false, hit);
    return a == b;
}

bool Conditions::CheckFloat(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                            std::size_t hit)
{
    const float& a = compiler.references.Float(entity, params[0], 0, false, hit);
    const float& b = compiler.references.Float(entity, params[2], 2, false, hit);
    return Compare(a, Operator(params[1], false), b);
}

bool Conditions::CheckString(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                             std::size_t hit)
{
    const std::string& a = compiler.references.String(entity, params[0], 0, false, hit);
    const std::string& b = compiler.references.String(entity, params[2], 2, false, hit);
    return Compare<const std::string&>(a, Operator(params[1], true), b);
}

bool Conditions::EnterArea(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t)
{
    return Events::InArea(entity, params, compiler);
}

bool Conditions::MouseOver(ECS::IEntity* entity, const Params&, ORINCompiler& compiler, std::size_t)
{
    const auto* transform = entity->GetComponent<ECS::Transform>();
    if (transform == nullptr)
    {
        compiler.references.MissingComponent("Transform", entity);
        return false;
    }
    compiler.references.EnsureCachedEntities();
    const ECS::IEntity* cameraEntity = compiler.references.mainCamera;
    const auto* cameraTransform = cameraEntity ? cameraEntity->GetComponent<ECS::Transform>() : nullptr;
    const auto* camera = cameraEntity ? cameraEntity->GetComponent<ECS::Camera>() : nullptr;
    if (cameraTransform == nullptr || camera == nullptr)
    {
        compiler.references.MissingComponent("Camera", entity);
        return false;
    }
    const Services& engine = compiler.services;
    float x = transform->worldMatrix.m[0][3] - cameraTransform->position.x;
    float y = transform->worldMatrix.m[1][3] - cameraTransform->position.y;
    float width = transform->worldScale.x;
    float height = transform->worldScale.y;
    if (camera->zoom != 0.0f)
    {
        x /= camera->zoom;
        y /= camera->zoom;
        width /= camera->zoom;
        height /= camera->zoom;
    }
    // World units to cursor pixels, whatever the window's size.
    const float scale = Graphics::CameraSystem::PixelsPerUnit(engine.window);
    x *= scale;
    y *= scale;
    width *= scale;
    height *= scale;
    const InputManager::Point mouse = engine.input.mousePosition;
    return std::fabs(static_cast<float>(mouse.x) - x) < width * 0.5f &&
           std::fabs(static_cast<float>(mouse.y) - y) < height * 0.5f;
}

bool Conditions::CheckTag(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const std::vector<ECS::IEntity*>& hits = HitList(entity, params[0].text);
    const COMPARISON op = Operator(params[1], true);
    const std::string& tag = compiler.references.String(entity, params[2], 2, false, 0);
    if (hit >= hits.size() || hits[hit] == nullptr)
    {
        return false;
    }
    const bool tagged = (hits[hit]->tags & compiler.services.tags.Value(tag)) != 0;
    return op == COMPARISON::EQUAL ? tagged : !tagged;
}

bool Conditions::CheckName(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                           std::size_t hit)
{
    if (params[1].asComparison != COMPARISON::EQUAL && params[1].asComparison != COMPARISON::NOT_EQUAL)
    {
        compiler.references.InvalidParameters("CheckName", entity);
        return false;
    }
    const std::vector<ECS::IEntity*>& hits = HitList(entity, params[0].text);
    // A name with spaces arrives as several parameters; a repeat of one of the first three
    // parameters is left out.
    std::string name = compiler.references.String(entity, params[2], 2, false, 0);
    for (std::size_t i = 3; i < params.size(); ++i)
    {
        const std::string& text = params[i].text;
        if (text == params[0].text || text == params[1].text || text == params[2].text)
        {
            continue;
        }
        const int slot = static_cast<int>(std::min<std::size_t>(i, References::SLOTS - 1));
        name += " " + compiler.references.String(entity, params[i], slot, false, 0);
    }
    if (hit >= hits.size() || hits[hit] == nullptr)
    {
        return false;
    }
    return (hits[hit]->name == name) == (params[1].asComparison == COMPARISON::EQUAL);
}

bool Conditions::CheckID(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const std::vector<ECS::IEntity*>& hits = HitList(entity, params[0].text);
    const COMPARISON op = Operator(params[1], false);
    const double id =
        std::trunc(static_cast<double>(compiler.references.Float(entity, params[2], 2, false, 0)));
    if (hit >= hits.size() || hits[hit] == nullptr)
    {
        return false;
    }
    return Compare(static_cast<double>(hits[hit]->id), op, id);
}

bool Conditions::Check(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const std::string& name = compiler.references.String(entity, params[0], 0, false, hit);
    // Programs are shared and never change: an unknown name acts as an empty "[OrGroup]",
    // which never holds.
    const std::shared_ptr<const ScriptProgram> program = LocalScript(entity).program;
    const auto found = program != nullptr ? program->conditionGroups.find(name)
                                          : std::map<std::string, ConditionGroup>::const_iterator{};
    if (program == nullptr || found == program->conditionGroups.end())
    {
        return false;
    }
    const ConditionGroup& group = found->second;
    for (const ScriptStatement& condition : group.conditions)
    {
        const bool held = compiler.RunCondition(condition, entity, hit);
        if (held != group.isAnd)
        {
            return held;
        }
    }
    return group.isAnd;
}

} // namespace Varn::Script
