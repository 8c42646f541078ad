#include "physics/Raycast.h"

#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/IEntity.h"
#include "ecs/RaycastComponent.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/TagRegistry.h"
#include "ecs/Transform.h"
#include "physics/Collision.h"
#include "physics/PhysicsSystem.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace Varn::Physics
{

namespace
{

Vector4 WorldPosition(const ECS::Transform* t)
{
    return t != nullptr
               ? Vector4{t->worldMatrix.m[0][3], t->worldMatrix.m[1][3], t->worldMatrix.m[2][3], 0.0f}
               : Vector4{};
}

float Cross(const Vector4& a, const Vector4& b)
{
    return a.x * b.y - a.y * b.x;
}

// The bit of a registered tag name; 0 for a name nobody registered.
uint64_t TagMask(const ECS::TagRegistry& tags, const std::string& name)
{
    for (unsigned bit = 0; bit < 64; ++bit)
    {
        const std::vector<std::string> names = tags.Names(uint64_t{1} << bit);
        if (names.empty())
        {
            break; // past the end of the registry
        }
        if (names.front() == name)
        {
            return uint64_t{1} << bit;
        }
    }
    return 0;
}

Matrix4 Rotation(const Vector4& degrees)
{
    const float x = degrees.x * 0.017453292f, y = degrees.y * 0.017453292f, z = degrees.z * 0.017453292f;
    Matrix4 rx = Matrix4::Identity(), ry = rx, rz = rx;
    rx.m[1][1] = std::cos(x), rx.m[1][2] = -std::sin(x), rx.m[2][1] = std::sin(x), rx.m[2][2] = std::cos(x);
    ry.m[0][0] = std::cos(y), ry.m[0][2] = std::sin(y), ry.m[2][0] = -std::sin(y), ry.m[2][2] = std::cos(y);
    rz.m[0][0] = std::cos(z), rz.m[0][1] = -std::sin(z), rz.m[1][0] = std::sin(z), rz.m[1][1] = std::cos(z);
    return rx * ry * rz;
}

Vector4 Apply(const Matrix4& m, const Vector4& v)
{
    const float in[4] = {v.x, v.y, v.z, v.w};
    float out[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            out[i] += m.m[i][j] * in[j];
        }
    }
    return {out[0], out[1], out[2], out[3]};
}

} // namespace

bool Raycast(const Services& services, const ECS::IEntity* from, const Vector4& ray, Vector4& hitPoint,
             ECS::IEntity*& hitEntity, std::string tagFilter)
{
    assert(from != nullptr && "a ray needs an entity to start from");
    const Vector4 origin = WorldPosition(from->GetComponent<ECS::Transform>());
    // The world is flat in x-y; z only orders drawing.
    const float length = std::sqrt(ray.x * ray.x + ray.y * ray.y);
    float best = 1.0f; // fraction of the segment
    bool hit = false;
    const uint64_t tagMask = tagFilter.empty() ? 0 : TagMask(services.tags, tagFilter);

    // The ray sees what the physics of its entity's scene sees.
    const ECS::Scene* scene = from->scene != nullptr ? from->scene : services.scenes.current;
    for (const PhysicsSystem::PhysicsEntry& entry : scene->physicsSystem->physicsEntities)
    {
        if (length == 0.0f)
        {
            break; // a ray without length has no direction and reaches nothing
        }
        ECS::IEntity* entity = entry.entity;
        if (entity->name == from->name || (!tagFilter.empty() && (tagMask & entity->tags) == 0) ||
            !entity->gameObjectActive || entity->layer != from->layer)
        {
            continue;
        }
        const auto* circle = entity->GetComponent<ECS::CircleCollider2D>();
        const auto* box = entity->GetComponent<ECS::BoxCollider2D>();
        const auto* t = entity->GetComponent<ECS::Transform>();
        const bool hasBody = entity->GetComponent<ECS::RigidBody>() != nullptr;
        // Trigger areas standing on their own are for scripts, not for sight lines.
        if (t == nullptr || (circle == nullptr && box == nullptr) ||
            ((circle != nullptr ? circle->isTrigger : box->isTrigger) && !hasBody))
        {
            continue;
        }

        if (circle != nullptr)
        {
            const Vector4 centre = WorldPosition(t) + Apply(t->worldMatrix, circle->offset);
            const Vector4 d = centre - origin;
            const float along = (d.x * ray.x + d.y * ray.y) / length;
            if (along < 0.0f)
            {
                continue; // behind the origin
            }
            const float hSquared = d.x * d.x + d.y * d.y - along * along;
            const float r = t->worldScale.x * 0.5f * circle->radiusScale;
            if (hSquared > r * r)
            {
                continue;
            }
            const float fraction = (along - std::sqrt(r * r - hSquared)) / length;
            if (fraction >= 0.0f && fraction < best)
            {
                best = fraction;
                hitEntity = entity;
                hit = true;
            }
            continue;
        }

        const BoxShape shape =
            Collision::MakeBox(WorldPosition(t) + Vector4{box->offset.x, box->offset.y, box->offset.z, 0},
                               t->worldScale.x * 0.5f * box->scaleX, t->worldScale.y * 0.5f * box->scaleY,
                               std::atan2(t->worldMatrix.m[1][0], t->worldMatrix.m[0][0]) * 57.29578f);
        for (std::size_t i = 0; i < 4; ++i)
        {
            const Vector4 p = shape.corners[i];
            const Vector4 edge = shape.corners[(i + 1) % 4] - p;
            const float denominator = Cross(ray, edge);
            if (denominator == 0.0f)
            {
                continue; // parallel to this edge
            }
            const float fraction = Cross(p - origin, edge) / denominator;
            const float onEdge = Cross(p - origin, ray) / denominator;
            if (onEdge >= 0.0f && onEdge <= 1.0f && fraction >= 0.0f && fraction < best)
            {
                best = fraction;
                hitEntity = entity;
                hit = true;
            }
        }
    }

    hitPoint = origin + Vector4{ray.x, ray.y, ray.z, 0} * best;
    hitPoint.w = 1.0f;
    if (scene->physicsSystem->recordRays)
    {
        scene->physicsSystem->castRays.emplace_back(origin, hitPoint);
    }
    return hit;
}

bool CastRays(const Services& services, ECS::RaycastComponent& component)
{
    component.hitEntities.clear();
    ECS::IEntity* entity = component.owner;
    auto* t = entity != nullptr ? entity->GetComponent<ECS::Transform>() : nullptr;
    if (t == nullptr)
    {
        return false;
    }
    const Matrix4 rotation = Rotation(t->angle);
    bool anyHit = false;
    for (ECS::RaycastComponent::Ray& ray : component.rays)
    {
        ray.worldDirection = Apply(rotation, {ray.direction.x, ray.direction.y, ray.direction.z, 0});
        ray.worldDirection.w = 0.0f;
        // A flip mirrors the stored ray once; it stays mirrored until the next flip.
        if (t->flipX != ray.lastFlipX)
        {
            ray.worldDirection.x = -ray.worldDirection.x;
            ray.direction.x = -ray.direction.x;
            ray.lastFlipX = t->flipX;
        }
        if (t->flipY != ray.lastFlipY)
        {
            ray.worldDirection.y = -ray.worldDirection.y;
            ray.direction.y = -ray.direction.y;
            ray.lastFlipY = t->flipY;
        }
        ECS::IEntity* hitEntity = nullptr;
        if (Raycast(services, entity, ray.worldDirection, ray.hitPoint, hitEntity, ""))
        {
            anyHit = true;
            if (std::find(component.hitEntities.begin(), component.hitEntities.end(), hitEntity) ==
                component.hitEntities.end())
            {
                component.hitEntities.push_back(hitEntity);
            }
        }
        if (ray.marker != nullptr)
        {
            if (auto* markerTransform = ray.marker->GetComponent<ECS::Transform>())
            {
                markerTransform->position = ray.hitPoint;
            }
        }
    }
    return anyHit;
}

} // namespace Varn::Physics
