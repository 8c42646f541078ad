#include "script/TransformActions.h"

#include "ecs/Camera.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "script/ActionSupport.h"
#include "script/ORINCompiler.h"
#include "script/ScriptSystem.h"

#include <algorithm>
#include <cmath>

namespace Varn::Script
{

namespace
{

using ECS::IEntity;

// Parameters first..first+2 as a vector, each in the slot of its position.
Vector4 ReadVector(IEntity* entity, const Params& params, std::size_t first, ORINCompiler& compiler,
                   std::size_t hit)
{
    References& r = compiler.references;
    const int s = static_cast<int>(first);
    const float x = r.Float(entity, params[first], s, false, hit);
    const float y = r.Float(entity, params[first + 1], s + 1, false, hit);
    const float z = r.Float(entity, params[first + 2], s + 2, false, hit);
    return {x, y, z, 0.0f};
}

// Adds v × d to x, y and z of `field`; w is left alone.
void AddScaled(Vector4& field, const Vector4& v, float d)
{
    field.x += v.x * d;
    field.y += v.y * d;
    field.z += v.z * d;
}

void SetXYZ(Vector4& field, const Vector4& v)
{
    field.x = v.x;
    field.y = v.y;
    field.z = v.z;
}

void Translate(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const Vector4 v = ReadVector(entity, params, 0, compiler, hit);
    // Without "fixed" a call moves by one sixtieth whatever the frame rate.
    float d = References::FIXED_DELTA;
    if (params.size() == 4 && compiler.references.String(entity, params[3], 3, false, hit) == "fixed")
    {
        d = compiler.system.timeStep;
    }
    if (auto* transform = TransformFor(compiler, entity))
    {
        AddScaled(transform->position, v, d);
    }
}

template <Vector4 ECS::Transform::*Field>
void StepField(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const Vector4 v = ReadVector(entity, params, 0, compiler, hit);
    if (auto* transform = TransformFor(compiler, entity))
    {
        AddScaled(transform->*Field, v, compiler.system.timeStep);
    }
}

template <Vector4 ECS::Transform::*Field>
void SetField(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const Vector4 v = ReadVector(entity, params, 0, compiler, hit);
    if (auto* transform = TransformFor(compiler, entity))
    {
        SetXYZ(transform->*Field, v);
    }
}

void Rotate(IEntity* e, const Params& p, ORINCompiler& c, std::size_t h)
{
    StepField<&ECS::Transform::angle>(e, p, c, h);
}
void Scale(IEntity* e, const Params& p, ORINCompiler& c, std::size_t h)
{
    StepField<&ECS::Transform::scale>(e, p, c, h);
}
void SetPosition(IEntity* e, const Params& p, ORINCompiler& c, std::size_t h)
{
    SetField<&ECS::Transform::position>(e, p, c, h);
}
void SetRotation(IEntity* e, const Params& p, ORINCompiler& c, std::size_t h)
{
    SetField<&ECS::Transform::angle>(e, p, c, h);
}
void SetScale(IEntity* e, const Params& p, ORINCompiler& c, std::size_t h)
{
    SetField<&ECS::Transform::scale>(e, p, c, h);
}

void LookAt(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    Vector4 point;
    if (params.size() == 3)
    {
        point = ReadVector(entity, params, 0, compiler, hit);
    }
    else
    {
        // An ID when the parameter reads as a number, else an entity name.
        const std::vector<IEntity*>& entities = compiler.services.scenes.current->entities;
        IEntity* other = nullptr;
        try
        {
            other = EntityWithId(entities, compiler.references.Float(entity, params[0], 0, false, hit));
        }
        catch (const ScriptFailure&)
        {
            const std::string name = compiler.references.String(entity, params[0], 0, false, hit);
            for (IEntity* candidate : entities)
            {
                if (candidate->name == name)
                {
                    other = candidate;
                    break;
                }
            }
        }
        auto* otherTransform = other != nullptr ? other->GetComponent<ECS::Transform>() : nullptr;
        if (otherTransform == nullptr)
        {
            FailStatement();
        }
        point = WorldPosition(*otherTransform);
    }
    auto* transform = TransformFor(compiler, entity);
    if (transform == nullptr)
    {
        return;
    }
    float dx = point.x - transform->position.x;
    float dy = point.y - transform->position.y;
    const float dz = point.z - transform->position.z;
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (length != 0.0f)
    {
        dx /= length;
        dy /= length;
    }
    const float f = transform->flipX ? -1.0f : 1.0f;
    // The facing side is +x, or -x when flipped; clamp guards acos against rounding past 1.
    float degrees = std::acos(std::clamp(dx * f, -1.0f, 1.0f)) * 57.29578f;
    if (-f * dy > 0.0f)
    {
        degrees = -degrees;
    }
    transform->angle.z = degrees;
}

void MoveTowards(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const Vector4 point = ReadVector(entity, params, 0, compiler, hit);
    const float speed = compiler.references.Float(entity, params[3], 3, false, hit);
    auto* body = entity->GetComponent<ECS::RigidBody>();
    if (body == nullptr)
    {
        compiler.references.MissingComponent("RigidBody", entity);
        return;
    }
    auto* transform = TransformFor(compiler, entity);
    if (transform == nullptr)
    {
        return;
    }
    Vector4 d = point - WorldPosition(*transform);
    d.w = 0.0f;
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (length != 0.0f)
    {
        d = d * (1.0f / length);
    }
    body->velocity = d * speed;
}

void CameraFollow(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const Vector4 target = ReadVector(entity, params, 0, compiler, hit);
    const float zoom = compiler.references.Float(entity, params[3], 3, false, hit);
    const float t = compiler.references.Float(entity, params[4], 4, false, hit);
    auto* camera = entity->GetComponent<ECS::Camera>();
    auto* transform = entity->GetComponent<ECS::Transform>();
    // Following makes sense only for a camera entity.
    if (camera == nullptr || transform == nullptr)
    {
        FailStatement();
    }
    Vector4& p = transform->position;
    p.x += (target.x - p.x) * t;
    p.y += (target.y - p.y) * t;
    p.z += (target.z - p.z) * t;
    camera->zoom += (zoom - camera->zoom) * t;
    camera->startPosition = p;
}

void Parallax(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    const float ox = r.Float(entity, params[0], 0, false, hit);
    const float oy = r.Float(entity, params[1], 1, false, hit);
    const float factor = r.Float(entity, params[2], 2, false, hit);
    const float bx = r.Float(entity, params[3], 3, false, hit);
    const float by = r.Float(entity, params[4], 4, false, hit);
    const IEntity* camera = compiler.services.scenes.current->mainCamera;
    const auto* cameraTransform = camera != nullptr ? camera->GetComponent<ECS::Transform>() : nullptr;
    auto* transform = TransformFor(compiler, entity);
    if (cameraTransform == nullptr || transform == nullptr)
    {
        return;
    }
    const Vector4 c = WorldPosition(*cameraTransform);
    transform->position.x = (c.x - ox) * factor + bx;
    transform->position.y = (c.y - oy) * factor + by;
}

} // namespace

void TransformActions::Register(ActionTable& table)
{
    table["Translate"] = {&Translate, Takes({3, 4})};
    table["Rotate"] = {&Rotate, Takes({3})};
    table["Scale"] = {&Scale, Takes({3})};
    table["SetPosition"] = {&SetPosition, Takes({3})};
    table["SetRotation"] = {&SetRotation, Takes({3})};
    table["SetScale"] = {&SetScale, Takes({3})};
    table["LookAt"] = {&LookAt, Takes({1, 3})};
    table["MoveTowards"] = {&MoveTowards, Takes({4})};
    table["CameraFollow"] = {&CameraFollow, Takes({5})};
    table["Parallax"] = {&Parallax, Takes({5}), "ParallaxAction"};
}

} // namespace Varn::Script
