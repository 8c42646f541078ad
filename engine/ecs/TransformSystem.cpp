#include "ecs/TransformSystem.h"

#include "core/WorkerPool.h"

#include "core/Clock.h"
#include "ecs/IEntity.h"
#include "ecs/Transform.h"

#include <cmath>

namespace Varn::ECS
{

TransformSystem::TransformSystem(Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<Transform>();
}

void TransformSystem::UpdateEntity(IEntity* entity)
{
    Transform* t = entity->GetComponent<Transform>();
    t->localMatrix = t->worldMatrix = t->ComputeLocalMatrix();
    t->worldFlipX = t->flipX;
    t->worldFlipY = t->flipY;

    for (IEntity* p = entity->parent; p != nullptr && p != p->parent; p = p->parent)
    {
        const Transform* pt = p->GetComponent<Transform>();
        if (pt == nullptr)
        {
            break; // content never parents to an entity without a Transform
        }
        t->worldMatrix = pt->ComputeLocalMatrix() * t->worldMatrix;
        const auto& m = t->worldMatrix.m;
        t->worldScale = {std::sqrt(m[0][0] * m[0][0] + m[1][0] * m[1][0] + m[2][0] * m[2][0]),
                         std::sqrt(m[0][1] * m[0][1] + m[1][1] * m[1][1] + m[2][1] * m[2][1]),
                         std::sqrt(m[0][2] * m[0][2] + m[1][2] * m[1][2] + m[2][2] * m[2][2]), 0.0f};
        t->worldFlipX ^= pt->flipX;
        t->worldFlipY ^= pt->flipY;
    }
}

void TransformSystem::UpdateSlice(std::size_t begin, std::size_t end) const
{
    for (std::size_t i = begin; i < end; ++i)
    {
        IEntity* entity = entities[i];
        if (!entity->gameObjectActive)
        {
            continue;
        }
        const Transform* t = entity->GetComponent<Transform>();
        if (t == nullptr || !t->IsActive())
        {
            continue;
        }
        UpdateEntity(entity);
    }
}

void TransformSystem::Update(const float& /*dt*/)
{
    updateStartTicks = NowTicks();
    services.workers.ParallelFor(entities.size(), [this](std::size_t begin, std::size_t end, std::size_t)
                                 { UpdateSlice(begin, end); });

    lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - updateStartTicks) / 1e7);
}

void TransformSystem::UpdateAll()
{
    for (IEntity* entity : entities)
    {
        if (entity->GetComponent<Transform>() != nullptr)
        {
            UpdateEntity(entity);
        }
    }
}

} // namespace Varn::ECS
