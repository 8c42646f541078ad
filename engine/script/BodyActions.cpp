#include "script/BodyActions.h"

#include "core/Random.h"
#include "ecs/RigidBody.h"
#include "ecs/TagRegistry.h"
#include "script/ActionSupport.h"
#include "script/ORINCompiler.h"

namespace Varn::Script
{

namespace
{

using ECS::IEntity;
using ECS::RigidBody;

constexpr float DEGREES_TO_RADIANS = 0.017453292f;

RigidBody* BodyOf(const ORINCompiler& compiler, IEntity* entity)
{
    return NeededComponent<RigidBody>(compiler, entity, "RigidBody");
}

Vector4 ReadVector(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    return {r.Float(entity, params[0], 0, false, hit), r.Float(entity, params[1], 1, false, hit),
            r.Float(entity, params[2], 2, false, hit), 0.0f};
}

// The single-number body actions: the body, then its setter with the value.
void SetBodyFloat(void (RigidBody::*set)(float), IEntity* entity, const Params& params,
                  ORINCompiler& compiler, std::size_t hit)
{
    if (RigidBody* body = BodyOf(compiler, entity))
    {
        (body->*set)(compiler.references.Float(entity, params[0], 0, false, hit));
    }
}

void SetVelocity(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (RigidBody* body = BodyOf(compiler, entity))
    {
        body->SetVelocity(ReadVector(entity, params, compiler, hit));
    }
}

void AddVelocity(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (RigidBody* body = BodyOf(compiler, entity))
    {
        const Vector4 add = ReadVector(entity, params, compiler, hit);
        body->velocity.x += add.x;
        body->velocity.y += add.y;
        body->velocity.z += add.z;
    }
}

// The velocity is given in the entity's own frame: "forward" turns with it, and a mirrored
// entity faces the other way.
void SetForwardVelocity(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    RigidBody* body = BodyOf(compiler, entity);
    if (body == nullptr)
    {
        return;
    }
    const Vector4 local = ReadVector(entity, params, compiler, hit);
    ECS::Transform* transform = TransformFor(compiler, entity);
    if (transform == nullptr)
    {
        return;
    }
    Vector4 angle = transform->angle;
    if (transform->flipX)
    {
        angle.z += 180.0f;
    }
    const Matrix4 turn = ECS::Transform::RotationMatrix(angle);
    const float v[3] = {local.x, local.y, local.z};
    float out[3] = {};
    for (int row = 0; row < 3; ++row)
    {
        out[row] = turn.m[row][0] * v[0] + turn.m[row][1] * v[1] + turn.m[row][2] * v[2];
    }
    body->SetVelocity({out[0], out[1], out[2], 0.0f});
}

void AddForce(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    RigidBody* body = BodyOf(compiler, entity);
    if (body == nullptr)
    {
        return;
    }
    const Vector4 force = ReadVector(entity, params, compiler, hit);
    const float seconds =
        params.size() == 4 ? compiler.references.Float(entity, params[3], 3, false, hit) : 0.0f;
    body->AddForce(force, seconds); // a zero force adds nothing; no positive time means for ever
}

void SetForce(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (RigidBody* body = BodyOf(compiler, entity))
    {
        body->SetForce(ReadVector(entity, params, compiler, hit)); // a fourth parameter is not read
    }
}

void SetPhysicsState(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (RigidBody* body = BodyOf(compiler, entity))
    {
        body->SetMode(compiler.references.String(entity, params[0], 0, false, hit));
    }
}

void SetMass(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    SetBodyFloat(&RigidBody::SetMass, entity, params, compiler, hit);
}

void SetFriction(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    SetBodyFloat(&RigidBody::SetFriction, entity, params, compiler, hit);
}

void SetDrag(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    SetBodyFloat(&RigidBody::SetDrag, entity, params, compiler, hit);
}

void SetGravityScale(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    SetBodyFloat(&RigidBody::SetGravityScale, entity, params, compiler, hit);
}

// "IgnoreCollision true Enemy" adds one tag; "IgnoreCollision false <anything>" forgets them all.
void IgnoreCollision(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    RigidBody* body = BodyOf(compiler, entity);
    if (body == nullptr)
    {
        return;
    }
    References& r = compiler.references;
    if (r.Bool(entity, params[0], 0, false, hit))
    {
        body->AddIgnoreTag(compiler.services.tags.Value(r.String(entity, params[1], 1, false, hit)));
    }
    else
    {
        body->ClearIgnoreTags();
    }
}

// Flings the body with one step of a random push and gives it a tilt: the knock-out effect.
void Yeet(IEntity* entity, const Params&, ORINCompiler& compiler, std::size_t)
{
    auto* body = entity->GetComponent<RigidBody>();
    if (body == nullptr)
    {
        return;
    }
    body->forces.clear();
    Random& random = compiler.services.random;
    const float a = random.Range(100.0f, 500.0f);
    const float b = random.Range(100.0f, 500.0f);
    body->AddForce({b, a, 0.0f, 0.0f}, RigidBody::ONE_STEP);
    if (auto* transform = entity->GetComponent<ECS::Transform>())
    {
        transform->angle = {0.0f, 0.0f, 10.0f, 0.0f};
    }
}

} // namespace

void BodyActions::Register(ActionTable& table)
{
    table["SetVelocity"] = {&SetVelocity, Takes({3})};
    table["AddVelocity"] = {&AddVelocity, Takes({3})};
    table["SetForwardVelocity"] = {&SetForwardVelocity, Takes({3})};
    table["AddForce"] = {&AddForce, Takes({3, 4})};
    table["SetForce"] = {&SetForce, Takes({3, 4})};
    table["SetPhysicsState"] = {&SetPhysicsState, Takes({1})};
    table["SetMass"] = {&SetMass, Takes({1})};
    table["SetFriction"] = {&SetFriction, Takes({1})};
    table["SetDrag"] = {&SetDrag, Takes({1})};
    table["SetGravityScale"] = {&SetGravityScale, Takes({1})};
    table["IgnoreCollision"] = {&IgnoreCollision, Takes({2})};
    table["Yeet"] = {&Yeet};
}

} // namespace Varn::Script
