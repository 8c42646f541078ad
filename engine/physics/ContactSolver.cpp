#include "physics/ContactSolver.h"

#include "ecs/IEntity.h"
#include "ecs/RigidBody.h"
#include "ecs/Transform.h"

#include <cmath>

namespace Varn::Physics
{

using ECS::RigidBody;

namespace
{

float Dot(const Vector4& a, const Vector4& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector4 Xyz(const Vector4& a)
{
    return {a.x, a.y, a.z, 0.0f};
}

void AddXyz(Vector4& to, const Vector4& by)
{
    to.x += by.x, to.y += by.y, to.z += by.z;
}

bool Kinematic(const RigidBody* body)
{
    return body != nullptr && body->rigidbodyMode == RigidBody::KINEMATIC;
}

// A side takes part in the impulse and the correction when an active, non-kinematic body moves it.
bool TakesPart(const RigidBody* body, bool active)
{
    return body != nullptr && active && !Kinematic(body);
}

Vector4 WorldPosition(const ECS::IEntity& entity)
{
    const auto* t = entity.GetComponent<ECS::Transform>();
    return t != nullptr ? Vector4{t->worldMatrix.m[0][3], t->worldMatrix.m[1][3], t->worldMatrix.m[2][3], 0}
                        : Vector4{};
}

bool Invert(const Matrix4& source, Matrix4& inverse)
{
    // Gauss-Jordan with partial pivoting on [source | identity].
    float work[4][8];
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            work[i][j] = source.m[i][j];
            work[i][j + 4] = i == j ? 1.0f : 0.0f;
        }
    }
    for (int column = 0; column < 4; ++column)
    {
        int pivot = column;
        for (int row = column + 1; row < 4; ++row)
        {
            if (std::fabs(work[row][column]) > std::fabs(work[pivot][column]))
            {
                pivot = row;
            }
        }
        if (std::fabs(work[pivot][column]) < 1e-12f)
        {
            return false;
        }
        for (int j = 0; j < 8; ++j)
        {
            std::swap(work[column][j], work[pivot][j]);
        }
        const float scale = 1.0f / work[column][column];
        for (int j = 0; j < 8; ++j)
        {
            work[column][j] *= scale;
        }
        for (int row = 0; row < 4; ++row)
        {
            if (row != column && work[row][column] != 0.0f)
            {
                const float factor = work[row][column];
                for (int j = 0; j < 8; ++j)
                {
                    work[row][j] -= factor * work[column][j];
                }
            }
        }
    }
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            inverse.m[i][j] = work[i][j + 4];
        }
    }
    return true;
}

// The correction share of one side, with the parts that would push into a blocker it is
// already moving against taken out.
Vector4 CorrectionFor(const ECS::IEntity& entity, const RigidBody& body, const Vector4& correction)
{
    Vector4 delta = correction * body.inverseMass;
    for (const ECS::ContactInfo& blocker : body.blockers)
    {
        const Vector4& k = blocker.normal;
        const float kk = Dot(k, k);
        if (Dot(body.velocity, k) > 0.0f && kk > 0.0f)
        {
            delta -= Xyz(k) * (Dot(delta, k) / kk);
        }
    }
    if (entity.parent != nullptr)
    {
        delta = ContactSolver::ToParentSpace(entity, delta);
    }
    return delta;
}

} // namespace

void ContactSolver::ApplyFriction(const Contact& contact)
{
    RigidBody* bodyA = contact.bodyA;
    RigidBody* bodyB = contact.bodyB;
    const Vector4& n = contact.normal;
    auto brake = [](RigidBody& body) { body.velocity -= Xyz(body.velocity) * body.friction; };

    if (bodyA == nullptr && bodyB != nullptr)
    {
        if (Dot(bodyB->velocity, n) > 0.0f && !Kinematic(bodyB))
        {
            brake(*bodyB);
        }
    }
    else if (bodyA != nullptr && bodyB != nullptr)
    {
        // Bodies moving the same way rub little against each other.
        if (Dot(bodyA->velocity, bodyB->velocity) <= 0.0f)
        {
            if (Dot(bodyA->velocity, n) < 0.0f && !Kinematic(bodyA))
            {
                brake(*bodyA);
            }
            if (Dot(bodyB->velocity, n) > 0.0f && !Kinematic(bodyB))
            {
                brake(*bodyB);
            }
        }
    }
    else if (bodyA != nullptr)
    {
        if (Dot(bodyA->velocity, n) < 0.0f && !Kinematic(bodyA))
        {
            brake(*bodyA);
        }
    }
}

void ContactSolver::ResolveImpulse(const Contact& contact)
{
    RigidBody* bodyA = contact.bodyA;
    RigidBody* bodyB = contact.bodyB;
    if (bodyA == nullptr)
    {
        return; // the collision pass always puts a body on side a
    }
    const Vector4 n = Xyz(contact.normal);
    const bool activeA = bodyA != nullptr && contact.activeA;
    const bool activeB = bodyB != nullptr && contact.activeB;

    // 1. Separating contacts need nothing.
    Vector4 relative{0, 0, 0, 0};
    if (activeA)
    {
        relative += Xyz(bodyA->velocity);
    }
    if (activeB)
    {
        relative -= Xyz(bodyB->velocity);
    }
    const float vn = Dot(relative, n);
    if (vn > 0.0f)
    {
        return;
    }

    // 2. A kinematic partner is not pushed: a body meeting it head-on rides along with it.
    if (!Kinematic(bodyA) && Kinematic(bodyB))
    {
        if (Dot(bodyA->velocity, bodyB->velocity) <= 0.0f && Dot(bodyA->velocity, n) < 0.0f)
        {
            bodyA->velocity = bodyB->velocity;
        }
        return;
    }
    if (Kinematic(bodyA) && bodyB != nullptr && !Kinematic(bodyB))
    {
        if (Dot(bodyB->velocity, bodyA->velocity) <= 0.0f && Dot(bodyB->velocity, n) > 0.0f)
        {
            bodyB->velocity = bodyA->velocity;
        }
        return;
    }

    // 3. The impulse shared by inverse mass.
    const bool partA = TakesPart(bodyA, contact.activeA), partB = TakesPart(bodyB, contact.activeB);
    const float m = (partA ? bodyA->inverseMass : 0.0f) + (partB ? bodyB->inverseMass : 0.0f);
    if (m <= 0.0f)
    {
        return;
    }
    const float j = -vn / m;
    const float w =
        ((partA ? bodyA->angularVelocity.z : 0.0f) - (partB ? bodyB->angularVelocity.z : 0.0f)) / m;

    // 4. Each side takes its share, bounciness adding a rebound of the same size.
    const Vector4 deltaA = n * (partA ? bodyA->inverseMass * j : 0.0f);
    const Vector4 deltaB = n * (partB ? bodyB->inverseMass * j : 0.0f);
    if (partA)
    {
        AddXyz(bodyA->velocity, deltaA * (1.0f + bodyA->bounciness));
        if (bodyA->rotational)
        {
            bodyA->angularVelocity.z = w * bodyA->inverseMass;
        }
    }
    if (partB)
    {
        AddXyz(bodyB->velocity, deltaB * -(1.0f + bodyB->bounciness));
        if (bodyB->rotational)
        {
            bodyB->angularVelocity.z = w * bodyB->inverseMass;
        }
    }

    // 5. A partner that nothing moves blocks the body; a spin that would turn the contact
    // point into it stops.
    auto block = [&](const ECS::IEntity& receiver, RigidBody& body, ECS::IEntity* other, const Vector4& k)
    {
        if (body.rotational)
        {
            const auto* t = receiver.GetComponent<ECS::Transform>();
            const Vector4 r = Xyz(contact.point) - (t != nullptr ? Xyz(t->position) : Vector4{});
            const float radians = body.angularVelocity.z * 0.017453292f;
            const Vector4 turned{r.x * std::cos(radians) - r.y * std::sin(radians),
                                 r.x * std::sin(radians) + r.y * std::cos(radians), r.z, 0};
            if (Dot(turned - r, k) <= 0.0f)
            {
                body.angularVelocity.z = 0.0f;
            }
        }
        // Every iteration revisits the contact; one entry per partner and normal is enough.
        for (const ECS::ContactInfo& existing : body.blockers)
        {
            if (existing.other == other && existing.normal == k)
            {
                return;
            }
        }
        body.blockers.push_back({other, k});
    };
    if (activeA && (!activeB || Kinematic(bodyB)))
    {
        block(*contact.a, *bodyA, contact.b, contact.normal);
    }
    else if (activeB && (!activeA || Kinematic(bodyA)))
    {
        Vector4 reversed = contact.normal * -1.0f;
        reversed.w = contact.normal.w;
        block(*contact.b, *bodyB, contact.a, reversed);
    }

    // 6. Spin from the same impulse.
    if (partA && bodyA->rotational)
    {
        ApplySpin(*contact.a, *bodyA, contact.point, deltaA);
    }
    if (partB && bodyB->rotational)
    {
        ApplySpin(*contact.b, *bodyB, contact.point, deltaB * -1.0f);
    }
}

void ContactSolver::ResolveImpulses(const std::vector<Contact>& fixed, const std::vector<Contact>& bodies,
                                    unsigned iterations)
{
    for (unsigned iteration = 0; iteration < iterations; ++iteration)
    {
        for (const Contact& contact : fixed)
        {
            ResolveImpulse(contact);
        }
        for (const Contact& contact : bodies)
        {
            ResolveImpulse(contact);
        }
        for (const Contact& contact : fixed)
        {
            ResolveImpulse(contact);
        }
    }
}

void ContactSolver::ApplySpin(const ECS::IEntity& entity, RigidBody& body, const Vector4& point,
                              const Vector4& delta)
{
    const Vector4 r = Xyz(point) - WorldPosition(entity);
    const Vector4 torque{r.y * delta.z - r.z * delta.y, r.z * delta.x - r.x * delta.z,
                         r.x * delta.y - r.y * delta.x, 0};
    // Inertia: identity with the x-y coupling -mass * px * py and mass * |r|^2 about z. A contact
    // at the centre (r = 0) has no lever and leaves the spin alone rather than dividing by 0.
    const float coupling = -body.mass * point.x * point.y;
    const float aboutZ = body.mass * Dot(r, r);
    const float planar = 1.0f - coupling * coupling;
    if (aboutZ == 0.0f || planar == 0.0f || !std::isfinite(aboutZ) || !std::isfinite(planar))
    {
        return;
    }
    body.angularVelocity.x -= (torque.x - coupling * torque.y) / planar;
    body.angularVelocity.y -= (torque.y - coupling * torque.x) / planar;
    body.angularVelocity.z -= torque.z / aboutZ;
}

void ContactSolver::CorrectPosition(const Contact& contact, float dt)
{
    RigidBody* bodyA = contact.bodyA;
    RigidBody* bodyB = contact.bodyB;
    if (contact.depth <= 0.0f)
    {
        return; // ahead in time: nothing overlaps yet
    }
    const bool movableA = bodyA != nullptr && !Kinematic(bodyA);
    const bool movableB = bodyB != nullptr && !Kinematic(bodyB);
    if (!movableA && !movableB)
    {
        return;
    }
    const bool partA = TakesPart(bodyA, contact.activeA), partB = TakesPart(bodyB, contact.activeB);
    const float m = (partA ? bodyA->inverseMass : 0.0f) + (partB ? bodyB->inverseMass : 0.0f);
    if (m <= 0.0f)
    {
        return;
    }
    const Vector4 correction = Xyz(contact.normal) * (contact.depth / m);
    // The move happens through this step's velocity, so the position integration that follows
    // carries the body out of the overlap.
    const float perSecond = dt != 0.0f ? 1.0f / dt : 1.0f;
    if (partA)
    {
        AddXyz(bodyA->velocity, CorrectionFor(*contact.a, *bodyA, correction) * perSecond);
    }
    if (partB)
    {
        AddXyz(bodyB->velocity, CorrectionFor(*contact.b, *bodyB, correction) * -perSecond);
    }
}

Vector4 ContactSolver::ToParentSpace(const ECS::IEntity& entity, const Vector4& delta)
{
    const auto* t = entity.GetComponent<ECS::Transform>();
    Matrix4 inverseWorld;
    if (t == nullptr || !Invert(t->worldMatrix, inverseWorld))
    {
        return delta;
    }
    const Matrix4 toParent = t->localMatrix * inverseWorld;
    const float v[4] = {delta.x, delta.y, delta.z, 0.0f};
    float out[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            out[i] += toParent.m[i][j] * v[j];
        }
    }
    return {out[0], out[1], out[2], delta.w};
}

} // namespace Varn::Physics
