#include "ecs/IEntity.h"

#include "ecs/EntityManager.h"
#include "ecs/Scene.h"
#include "ecs/Transform.h"

namespace Varn::ECS
{

namespace
{
uint64_t ClassBit(uint32_t typeId)
{
    return typeId < 64 ? uint64_t{1} << typeId : 0;
}
} // namespace

IEntity::~IEntity()
{
    // At shutdown the scene may already be gone: nothing is told.
    scene = nullptr;
    components.clear();
}

void IEntity::ComponentsChanged(uint32_t changed)
{
    if (scene != nullptr)
    {
        scene->ComponentsChanged(this, changed);
    }
}

IComponent* IEntity::AddComponent(std::unique_ptr<IComponent> component)
{
    const uint32_t typeId = ComponentTypeId(typeid(*component));
    if (IComponent* existing = FindComponent(typeId))
    {
        return existing;
    }
    return Attach(std::move(component), typeId);
}

IComponent* IEntity::Attach(std::unique_ptr<IComponent> component, uint32_t typeId)
{
    component->owner = this;
    component->typeId = typeId;
    components.push_back(std::move(component));
    classMask |= ClassBit(typeId);
    IComponent* added = components.back().get();
    ComponentsChanged(typeId);
    return added;
}

void IEntity::RemoveComponent(std::type_index type)
{
    const uint32_t typeId = ComponentTypeId(type);
    for (auto it = components.begin(); it != components.end(); ++it)
    {
        if ((*it)->typeId == typeId)
        {
            components.erase(it);
            classMask &= ~ClassBit(typeId);
            TellPoolIfFree();
            ComponentsChanged(typeId);
            return;
        }
    }
}

void IEntity::TellPoolIfFree() const
{
    if (pool != nullptr && components.empty())
    {
        pool->Freed(poolIndex);
    }
}

int IEntity::GetChildCount() const
{
    int count = 0;
    if (scene != nullptr)
    {
        for (const IEntity* entity : scene->entities)
        {
            count += entity->parent == this ? 1 : 0;
        }
    }
    return count;
}

IEntity* IEntity::GetChild(int index) const
{
    if (scene == nullptr || index < 0)
    {
        return nullptr;
    }
    for (IEntity* entity : scene->entities)
    {
        if (entity->parent == this && index-- == 0)
        {
            return entity;
        }
    }
    return nullptr;
}

std::vector<IEntity*> IEntity::GetDescendants() const
{
    std::vector<IEntity*> result;
    if (scene == nullptr)
    {
        return result;
    }
    for (IEntity* entity : scene->entities)
    {
        if (entity->parent == this && entity != this)
        {
            std::vector<IEntity*> below = entity->GetDescendants();
            result.insert(result.end(), below.begin(), below.end());
            result.push_back(entity);
        }
    }
    return result;
}

void IEntity::DetachChildren()
{
    if (scene == nullptr)
    {
        return;
    }
    for (IEntity* child : scene->entities)
    {
        if (child->parent != this)
        {
            continue;
        }
        if (Transform* t = child->GetComponent<Transform>())
        {
            const auto& m = t->worldMatrix.m;
            t->flipX = t->worldFlipX;
            t->flipY = t->worldFlipY;
            t->position = {m[0][3], m[1][3], m[2][3], 1.0f};
            t->angle = {0.0f, 0.0f, Transform::EulerFromMatrix(t->worldMatrix).z, 0.0f};
        }
        child->parent = nullptr;
    }
}

void IEntity::RemoveAllComponents()
{
    if (scene == nullptr) // nobody to tell which classes went
    {
        components.clear();
        classMask = 0;
        TellPoolIfFree();
        return;
    }
    std::vector<uint32_t> removed;
    for (const auto& component : components)
    {
        removed.push_back(component->typeId);
    }
    components.clear();
    classMask = 0;
    TellPoolIfFree();
    for (const uint32_t type : removed)
    {
        ComponentsChanged(type);
    }
}

bool IEntity::IsActiveInHierarchy() const
{
    for (const IEntity* e = this; e != nullptr; e = e->parent)
    {
        if (!e->gameObjectActive)
        {
            return false;
        }
        if (e->parent == e)
        {
            break;
        }
    }
    return true;
}

} // namespace Varn::ECS
