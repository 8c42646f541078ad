#include "physics/PhysicsSystem.h"

#include "core/Clock.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "physics/Collision.h"
#include "physics/ContactSolver.h"
#include "resource/Mesh2D.h"
#include "resource/Texture2D.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <ranges>

namespace Varn::Physics
{

using ECS::BoxCollider2D;
using ECS::CircleCollider2D;
using ECS::ForceEntry;
using ECS::RigidBody;
using ECS::Transform;

namespace
{

Vector4 Xyz(const Vector4& a)
{
    return {a.x, a.y, a.z, 0.0f};
}

void AddXyz(Vector4& to, const Vector4& by)
{
    to.x += by.x, to.y += by.y, to.z += by.z;
}

Vector4 WorldPosition(const Transform& t)
{
    return {t.worldMatrix.m[0][3], t.worldMatrix.m[1][3], t.worldMatrix.m[2][3], 0.0f};
}

float Planar(const Vector4& a)
{
    return std::sqrt(a.x * a.x + a.y * a.y);
}

float WorldAngle(const Transform& t)
{
    return std::atan2(t.worldMatrix.m[1][0], t.worldMatrix.m[0][0]) * 57.29578f;
}

// The body's own forces for one step, summed into netForce. A timed force delivers force * T
// over its life however T divides into steps: the last, partial step is weighted by the share
// of the step it still covers.
void OwnForcePass(RigidBody& body, float dt)
{
    for (ForceEntry& entry : body.forces)
    {
        if (entry.timeLeft == ForceEntry::PERMANENT)
        {
            AddXyz(body.netForce, entry.force);
        }
        else if (entry.timeLeft >= dt)
        {
            AddXyz(body.netForce, entry.force);
            entry.timeLeft -= dt;
        }
        else if (entry.timeLeft > 0.0f)
        {
            AddXyz(body.netForce, entry.force * (dt != 0.0f ? entry.timeLeft / dt : entry.timeLeft));
            entry.timeLeft -= dt;
        }
    }
    std::erase_if(body.forces, [](const ForceEntry& entry)
                  { return entry.timeLeft != ForceEntry::PERMANENT && entry.timeLeft <= 0.0f; });
}

bool IgnoresAnyTag(const RigidBody& body, uint64_t tags)
{
    // Tag names are unique in the registry, so sharing a name is sharing a bit.
    return std::any_of(body.ignoreTags.begin(), body.ignoreTags.end(),
                       [tags](uint64_t mask) { return (mask & tags) != 0; });
}

} // namespace

CircleShape PhysicsSystem::CircleOf(const Transform& t, const CircleCollider2D& circle)
{
    return {WorldPosition(t) + Xyz(circle.offset), t.worldScale.x * 0.5f * circle.radiusScale};
}

BoxShape PhysicsSystem::BoxOf(const Transform& t, const BoxCollider2D& box)
{
    return Collision::MakeBox(WorldPosition(t) + Xyz(box.offset), t.worldScale.x * 0.5f * box.scaleX,
                              t.worldScale.y * 0.5f * box.scaleY, WorldAngle(t));
}

PhysicsSystem::PhysicsSystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<RigidBody, BoxCollider2D, CircleCollider2D>();
    worldForces.push_back({ForceEntry{{0.0f, -gravityStrength, 0.0f, 0.0f}, ForceEntry::PERMANENT}});
}

void PhysicsSystem::AddEntity(ECS::IEntity* entity)
{
    const bool joining = !Has(entity);
    ISystem::AddEntity(entity);
    const bool hasRigidBody = entity->GetComponent<RigidBody>() != nullptr;
    if (joining)
    {
        physicsEntities.push_back({entity, hasRigidBody});
        return;
    }
    // A member whose components changed: usually one of the last to join.
    for (PhysicsEntry& entry : std::views::reverse(physicsEntities))
    {
        if (entry.entity == entity)
        {
            entry.hasRigidBody = hasRigidBody;
            return;
        }
    }
    physicsEntities.push_back({entity, hasRigidBody});
}

void PhysicsSystem::RemoveEntity(ECS::IEntity* entity)
{
    ISystem::RemoveEntity(entity);
    std::erase_if(physicsEntities, [entity](const PhysicsEntry& entry) { return entry.entity == entity; });
}

void PhysicsSystem::RemoveAllEntities()
{
    ISystem::RemoveAllEntities();
    physicsEntities.clear();
}

bool PhysicsSystem::PassesRoom(const ECS::IEntity* entity) const
{
    const uint32_t cameraRoom = scene->mainCamera != nullptr ? scene->mainCamera->room : 0u;
    return cameraRoom == 0 || entity->room == 0 || entity->room == cameraRoom;
}

void PhysicsSystem::Update(const float& dt)
{
    // 1. Own timing.
    updateStartTicks = NowTicks();

    // 2. Sizes, forces, gravity; last step's contact state is cleared.
    IntegrateForces(dt);

    // 3. Collision pass: contacts, grounding, trigger and colliding lists.
    FindContacts(dt);

    // 4. Friction, bodies first.
    for (const Contact& contact : bodyContacts)
    {
        ContactSolver::ApplyFriction(contact);
    }
    for (const Contact& contact : staticContacts)
    {
        ContactSolver::ApplyFriction(contact);
    }

    // 5. Impulses; contacts with fixed colliders get the first and the last word.
    ContactSolver::ResolveImpulses(staticContacts, bodyContacts, solverIterations);

    // 6. Overlaps are pushed apart through velocity.
    for (const Contact& contact : bodyContacts)
    {
        ContactSolver::CorrectPosition(contact, dt);
    }
    for (const Contact& contact : staticContacts)
    {
        ContactSolver::CorrectPosition(contact, dt);
    }

    // 7. Drag, spin and the move itself.
    IntegrateVelocities(dt);

    // 8. A quiet scene needs few iterations; a busy one is capped.
    const std::size_t contactCount = staticContacts.size() + bodyContacts.size();
    solverIterations = contactCount <= 8 ? static_cast<unsigned>(contactCount) + 2u : 8u;

    // 9. The queues keep their storage for the next step.
    staticContacts.clear();
    bodyContacts.clear();
    lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - updateStartTicks) / 1e7);
}

void PhysicsSystem::IntegrateForces(float dt)
{
    for (const PhysicsEntry& entry : physicsEntities)
    {
        ECS::IEntity* entity = entry.entity;
        if (!PassesRoom(entity))
        {
            continue;
        }
        Transform* t = entity->GetComponent<Transform>();

        // Colliders are sized from worldScale: the sprite's cell size, else the plain scale.
        if (t != nullptr)
        {
            const auto* sprite = entity->GetComponent<ECS::SpriteRenderer>();
            if (const std::optional<Vector4> extent = sprite ? sprite->Extent(t->scale) : std::nullopt)
            {
                t->worldScale.x = extent->x;
                t->worldScale.y = extent->y;
            }
            else
            {
                t->worldScale = t->scale;
            }
        }

        RigidBody* body = entity->GetComponent<RigidBody>();
        if (body != nullptr && body->IsActive())
        {
            // A mass of 0 or less is an immovable body: nothing accelerates it, contacts do not
            // push it, and it stops others like a wall. Only its own velocity moves it.
            body->inverseMass = body->mass > 0.0f ? 1.0f / body->mass : 0.0f;
            body->acceleration = {0, 0, 0, 0};
            body->netForce = {0, 0, 0, 0};
            if (body->rigidbodyMode == RigidBody::STATIC)
            {
                OwnForcePass(*body, dt);
                body->acceleration = body->netForce * body->inverseMass;
                AddXyz(body->velocity, body->acceleration * (dt * velocityScale));
                body->velocity = Xyz(body->velocity) * body->drag + Vector4{0, 0, 0, body->velocity.w};
                if (t != nullptr)
                {
                    AddXyz(t->position, body->velocity * dt);
                }
            }
            else
            {
                const float falls = body->inverseMass > 0.0f ? body->gravityScale : 0.0f;
                const Vector4 gravity = Xyz(worldForces[0][0].force) * falls;
                OwnForcePass(*body, dt);
                body->acceleration = gravity + body->netForce * body->inverseMass;
                AddXyz(body->velocity, body->acceleration * (dt * velocityScale));
            }
            body->contacts.clear();
            body->blockers.clear();
            body->grounded = false;
        }

        if (auto* circle = entity->GetComponent<CircleCollider2D>())
        {
            circle->triggerEntities.clear();
        }
        if (auto* box = entity->GetComponent<BoxCollider2D>())
        {
            box->triggerEntities.clear();
            box->collidingEntities.clear();
        }
    }
}

void PhysicsSystem::FindContacts(float dt)
{
    // Gather once what every pair test asks of an entry, so the pair loop does no lookups.
    candidates.resize(physicsEntities.size());
    bounds.resize(physicsEntities.size());
    for (std::size_t i = 0; i < physicsEntities.size(); ++i)
    {
        Candidate& c = candidates[i];
        bounds[i] = PairBounds{};
        c.entity = physicsEntities[i].entity;
        c.transform = c.entity->GetComponent<Transform>();
        c.body = c.entity->GetComponent<RigidBody>();
        c.circle = c.entity->GetComponent<CircleCollider2D>();
        c.box = c.entity->GetComponent<BoxCollider2D>();
        c.present = c.transform != nullptr && PassesRoom(c.entity);
        const bool activeShape =
            (c.circle != nullptr && c.circle->IsActive()) || (c.box != nullptr && c.box->IsActive());
        const bool notStatic = c.body == nullptr || c.body->rigidbodyMode != RigidBody::STATIC;
        c.shaped = c.present && activeShape && notStatic;
        c.bodyActive = c.body != nullptr && c.body->IsActive();
        c.moving = physicsEntities[i].hasRigidBody && c.bodyActive;
        if (!c.present)
        {
            continue;
        }
        c.velocity = c.body != nullptr ? Xyz(c.body->velocity) : Vector4{};
        c.centre = WorldPosition(*c.transform);
        c.bound = 0.0f;
        float hx = 0.0f, hy = 0.0f;
        bool trigger = false;
        if (c.circle != nullptr)
        {
            c.circleShape = CircleOf(*c.transform, *c.circle);
            const float radius = std::fabs(c.circleShape.radius);
            c.bound = std::max(c.bound, Planar(c.circleShape.centre - c.centre) + radius);
            hx = std::max(hx, std::fabs(c.circleShape.centre.x - c.centre.x) + radius);
            hy = std::max(hy, std::fabs(c.circleShape.centre.y - c.centre.y) + radius);
            trigger = c.circle->isTrigger;
        }
        if (c.box != nullptr)
        {
            c.boxShape = BoxOf(*c.transform, *c.box);
            c.bound = std::max(c.bound, Planar(c.boxShape.centre - c.centre) +
                                            std::hypot(c.boxShape.halfX, c.boxShape.halfY));
            for (const Vector4& corner : c.boxShape.corners)
            {
                hx = std::max(hx, std::fabs(corner.x - c.centre.x));
                hy = std::max(hy, std::fabs(corner.y - c.centre.y));
            }
            trigger = trigger || c.box->isTrigger;
        }
        bounds[i] = {.x = c.centre.x,
                     .y = c.centre.y,
                     .vx = c.velocity.x,
                     .vy = c.velocity.y,
                     .bound = c.bound,
                     .hx = hx,
                     .hy = hy,
                     .layer = c.entity->layer,
                     .shaped = c.shaped,
                     .moving = c.moving,
                     .trigger = trigger};
    }

    BroadPhase(dt);

    for (const auto& [i, j] : pairs)
    {
        const Candidate& a = candidates[i];
        const Candidate& b = candidates[j];
        if (a.body != nullptr && b.body != nullptr &&
            (IgnoresAnyTag(*a.body, b.entity->tags) || IgnoresAnyTag(*b.body, a.entity->tags)))
        {
            continue;
        }
        TestPair(a, b, dt);
    }
}

inline bool PhysicsSystem::MayTouch(const PairBounds& a, const PairBounds& b, float span)
{
    if (!(a.moving || b.moving) || a.layer != b.layer)
    {
        return false;
    }
    // No shape test can report a pair whose bounds stay apart over the whole step. The sum of
    // both travels is never shorter than their relative travel, so a pair apart by that much
    // (with room for rounding) is apart by the exact reach too, and most are rejected without a
    // square root.
    const float gx = a.x - b.x, gy = a.y - b.y;
    const float loose = (a.extent + b.extent) * 1.0001f;
    if (std::fabs(gx) > loose || std::fabs(gy) > loose) // most of a row, at no cost
    {
        return false;
    }
    const float distanceSquared = gx * gx + gy * gy;
    if (distanceSquared > loose * loose)
    {
        return false;
    }
    const float rvx = a.vx - b.vx, rvy = a.vy - b.vy;
    // Solid tests report only shapes that overlap, or meet under the step's relative motion, so
    // boxes around them that stay apart on either axis rule a pair out: a long wall's round
    // bound reaches every body beside it. The trigger overlap test also counts motion away, so
    // triggers keep the round bound alone.
    if (!a.trigger && !b.trigger &&
        (std::fabs(gx) > (a.hx + b.hx + std::fabs(rvx) * span) * 1.0001f + 1e-4f ||
         std::fabs(gy) > (a.hy + b.hy + std::fabs(rvy) * span) * 1.0001f + 1e-4f))
    {
        return false;
    }
    const float reach = a.bound + b.bound + std::sqrt(rvx * rvx + rvy * rvy) * span;
    return distanceSquared <= reach * reach;
}

void PhysicsSystem::Sweep(float dt)
{
    // Along the axis the candidates spread most on (a deep pit's pile is tall and narrow, a
    // level is wide), over each candidate's bounds grown by its own travel in the step. Bounds
    // apart on that axis are also farther apart than the pair's reach. (Strips across the other
    // axis halved the pairs a deep pile's sweep looks at, but not the time: the filter is cheap.)
    const float span = std::fabs(dt);
    sweep.clear();
    double sum[2] = {0.0, 0.0}, sumSquares[2] = {0.0, 0.0};
    for (uint32_t i = 0; i < bounds.size(); ++i)
    {
        PairBounds& p = bounds[i];
        p.index = i;
        p.extent = p.bound + std::sqrt(p.vx * p.vx + p.vy * p.vy) * span;
        // A body whose numbers are not finite meets nothing: no order can sort it.
        if (p.shaped && std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.extent))
        {
            sweep.push_back({0.0f, 0.0f, 0.0f, p.extent, i});
            sum[0] += p.x, sumSquares[0] += double(p.x) * p.x;
            sum[1] += p.y, sumSquares[1] += double(p.y) * p.y;
        }
    }
    const double n = std::max<double>(1.0, static_cast<double>(sweep.size()));
    const bool alongY = sumSquares[1] - sum[1] * sum[1] / n > sumSquares[0] - sum[0] * sum[0] / n;

    for (SweepEntry& e : sweep)
    {
        const PairBounds& p = bounds[e.index];
        e.lo = (alongY ? p.y : p.x) - p.extent;
        e.hi = (alongY ? p.y : p.x) + p.extent;
        e.across = alongY ? p.x : p.y;
    }
    std::sort(sweep.begin(), sweep.end(),
              [](const SweepEntry& l, const SweepEntry& r)
              { return l.lo != r.lo ? l.lo < r.lo : l.index < r.index; });
    near.resize(sweep.size());
    for (std::size_t a = 0; a < sweep.size(); ++a)
    {
        const SweepEntry& ea = sweep[a];
        // MayTouch's first test on the other axis, the same numbers in the same order, ends
        // most of a column's pairs without reading the rest of either entry's bounds. About a
        // third pass, in no pattern a branch could learn, so the survivors are gathered without one.
        std::size_t kept = 0;
        for (std::size_t b = a + 1; b < sweep.size() && sweep[b].lo <= ea.hi; ++b)
        {
            near[kept] = static_cast<uint32_t>(b);
            kept += !(std::fabs(ea.across - sweep[b].across) > (ea.extent + sweep[b].extent) * 1.0001f);
        }
        for (std::size_t k = 0; k < kept; ++k)
        {
            const SweepEntry& eb = sweep[near[k]];
            if (MayTouch(bounds[ea.index], bounds[eb.index], span))
            {
                found.emplace_back(std::min(ea.index, eb.index), std::max(ea.index, eb.index));
            }
        }
    }
}

void PhysicsSystem::BroadPhase(float dt)
{
    // Only pairs the exhaustive loop's shape tests would reject are skipped, and the survivors
    // are tested in registry order (i before j): contacts, and so the solver, come out as that
    // loop gives them.
    found.clear();
    if (exhaustivePairs)
    {
        for (uint32_t i = 0; i < bounds.size(); ++i)
        {
            for (uint32_t j = i + 1; j < bounds.size(); ++j)
            {
                const PairBounds& pa = bounds[i];
                const PairBounds& pb = bounds[j];
                if (pa.shaped && pb.shaped && (pa.moving || pb.moving) && pa.layer == pb.layer)
                {
                    found.emplace_back(i, j);
                }
            }
        }
    }
    else
    {
        Sweep(dt);
    }

    // Into (i, j) order: a counting sort on i, then each i's few partners in order.
    pairStarts.assign(bounds.size() + 1, 0);
    for (const auto& pair : found)
    {
        ++pairStarts[pair.first + 1];
    }
    for (std::size_t i = 1; i < pairStarts.size(); ++i)
    {
        pairStarts[i] += pairStarts[i - 1];
    }
    pairs.resize(found.size());
    for (const auto& pair : found)
    {
        pairs[pairStarts[pair.first]++] = pair;
    }
    for (std::size_t i = 0, begin = 0; i < bounds.size(); begin = pairStarts[i], ++i)
    {
        std::sort(pairs.begin() + static_cast<std::ptrdiff_t>(begin),
                  pairs.begin() + static_cast<std::ptrdiff_t>(pairStarts[i]));
    }
}

void PhysicsSystem::TestPair(const Candidate& a, const Candidate& b, float dt)
{
    // Shapes by presence: B is a circle if it has one; A matches B's shape when it has both.
    const bool bCircle = b.circle != nullptr;
    const bool aCircle = a.circle != nullptr && (bCircle || a.box == nullptr);
    const Vector4 relative = a.velocity - b.velocity;

    // The trigger flag that decides, and whose it is.
    const Candidate* decider = nullptr;
    if (aCircle == bCircle)
    {
        const bool triggerA = aCircle ? a.circle->isTrigger : a.box->isTrigger;
        const bool triggerB = bCircle ? b.circle->isTrigger : b.box->isTrigger;
        decider = triggerA ? &a : triggerB ? &b : nullptr;
    }
    else
    {
        const Candidate& circleSide = aCircle ? a : b;
        const Candidate& boxSide = aCircle ? b : a;
        decider = circleSide.circle->isTrigger ? &circleSide : boxSide.box->isTrigger ? &boxSide : nullptr;
    }

    auto boxCircle = [&]
    {
        const Candidate& circleSide = aCircle ? a : b;
        const Candidate& boxSide = aCircle ? b : a;
        const Vector4 circleVelocity = aCircle ? relative : relative * -1.0f;
        return Collision::BoxCircle(boxSide.boxShape, circleSide.circleShape, circleVelocity, dt,
                                    circleSide.body != nullptr);
    };

    if (decider != nullptr)
    {
        // A trigger reports only to a script that can react to it.
        if (decider->entity->GetComponent<ECS::ScriptComponent>() == nullptr)
        {
            return;
        }
        bool overlap = false;
        if (aCircle && bCircle)
        {
            overlap = Collision::CircleOverlap(a.circleShape, b.circleShape, relative, dt);
        }
        else if (!aCircle && !bCircle)
        {
            overlap = (a.box->accuracy || b.box->accuracy)
                          ? Collision::BoxBox(a.boxShape, b.boxShape, relative, dt).hit
                          : Collision::BoxBoxQuick(a.boxShape, b.boxShape);
        }
        else
        {
            overlap = boxCircle().hit;
        }
        if (overlap)
        {
            (aCircle ? a.circle->triggerEntities : a.box->triggerEntities).push_back(b.entity);
            (bCircle ? b.circle->triggerEntities : b.box->triggerEntities).push_back(a.entity);
        }
        return;
    }

    CollisionHit hit;
    if (aCircle && bCircle)
    {
        hit = Collision::CircleCircle(a.circleShape, b.circleShape, relative, dt);
    }
    else if (!aCircle && !bCircle)
    {
        hit = Collision::BoxBox(a.boxShape, b.boxShape, relative, dt);
    }
    else
    {
        hit = boxCircle();
    }
    if (!hit.hit)
    {
        return;
    }

    // Side a carries a body; with two bodies the earlier registry entry is a.
    const Candidate& first = a.body != nullptr ? a : b;
    const Candidate& second = a.body != nullptr ? b : a;
    if (first.body == nullptr)
    {
        return;
    }
    Contact contact;
    contact.a = first.entity;
    contact.b = second.entity;
    contact.bodyA = first.body;
    contact.bodyB = second.body;
    contact.activeA = first.bodyActive;
    contact.activeB = second.bodyActive;
    contact.depth = hit.depth;
    contact.point = Xyz(hit.point);
    Vector4 n = hit.normal;
    const Vector4 apart = first.centre - second.centre;
    if (apart.x * n.x + apart.y * n.y + apart.z * n.z < 0.0f)
    {
        n = Vector4{-n.x, -n.y, -n.z, n.w};
    }
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    contact.normal =
        length > 0.0f ? Vector4{n.x / length, n.y / length, n.z / length, n.w} : Vector4{0, 1, 0, n.w};

    if (contact.normal.y > 0.0f)
    {
        first.body->grounded = true;
    }
    if (second.body != nullptr && -contact.normal.y > 0.0f)
    {
        second.body->grounded = true;
    }
    (second.body != nullptr ? bodyContacts : staticContacts).push_back(contact);
    first.body->contacts.push_back({second.entity, hit.normal});
    if (second.body != nullptr)
    {
        second.body->contacts.push_back({first.entity, hit.normal});
    }
    else
    {
        const bool secondIsBox = (&second == &a) ? !aCircle : !bCircle;
        if (secondIsBox)
        {
            second.box->collidingEntities.push_back(first.entity);
        }
    }
}

void PhysicsSystem::IntegrateVelocities(float dt)
{
    for (const PhysicsEntry& entry : physicsEntities)
    {
        ECS::IEntity* entity = entry.entity;
        RigidBody* body = entity->GetComponent<RigidBody>();
        Transform* t = entity->GetComponent<Transform>();
        if (body == nullptr || !PassesRoom(entity) || !body->IsActive() ||
            body->rigidbodyMode == RigidBody::STATIC)
        {
            continue; // a static body moved with its forces already
        }
        if (body->rigidbodyMode == RigidBody::DYNAMIC)
        {
            body->velocity = Xyz(body->velocity) * body->drag + Vector4{0, 0, 0, body->velocity.w};
            if (body->rotational && t != nullptr)
            {
                t->angle.z += body->angularVelocity.z; // degrees per step, not scaled by dt
            }
            if (body->rotational)
            {
                body->angularVelocity =
                    Xyz(body->angularVelocity) * body->drag + Vector4{0, 0, 0, body->angularVelocity.w};
                if (body->angularVelocity.z > -1.0f && body->angularVelocity.z < 1.0f)
                {
                    body->angularVelocity.z = 0.0f;
                }
            }
        }
        if (t != nullptr)
        {
            const Vector4 step = Xyz(body->velocity) * dt;
            AddXyz(t->position,
                   entity->parent == nullptr ? step : ContactSolver::ToParentSpace(*entity, step));
        }
        // Crawling bodies stop, so resting stacks settle instead of creeping.
        if (body->velocity.x > -1.0f && body->velocity.x < 1.0f)
        {
            body->velocity.x = 0.0f;
        }
        if (body->velocity.y > -1.0f && body->velocity.y < 1.0f)
        {
            body->velocity.y = 0.0f;
        }
    }
}

} // namespace Varn::Physics
