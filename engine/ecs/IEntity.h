#pragma once
// A named container of components with a tag mask, a render layer, a room and a parent link.
// Entities live in the EntityManager's pool for the whole run and are never freed: an entity
// without components is free for reuse. Children are not stored; they are the entities of
// the scene whose parent is this one.
#include "ecs/IComponent.h"

#include <cstdint>
#include <memory>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

namespace Varn::ECS
{
class Scene;
class EntityManager;

class IEntity
{
public:
    virtual ~IEntity();

    // The component whose dynamic type is exactly the class with id `typeId` (a subclass does
    // not match), or null.
    IComponent* FindComponent(uint32_t typeId) const
    {
        // Most asks are for a class the entity lacks; the mask answers those without reading
        // the components, which in a large scene are rarely in the cache.
        if (typeId < 64 && (classMask >> typeId & 1) == 0)
        {
            return nullptr;
        }
        for (const auto& component : components)
        {
            if (component->typeId == typeId)
            {
                return component.get();
            }
        }
        return nullptr;
    }
    IComponent* FindComponent(std::type_index type) const { return FindComponent(ComponentTypeId(type)); }
    bool HasComponent(uint32_t typeId) const
    {
        return typeId < 64 ? (classMask >> typeId & 1) != 0 : FindComponent(typeId) != nullptr;
    }
    template <typename T> T* GetComponent() const
    {
        return static_cast<T*>(FindComponent(ComponentTypeIdOf<T>()));
    }

    // Adds a default T unless one is present; returns the entity's T either way. An entity in
    // a scene joins the systems that work on T.
    template <typename T> T* AddComponent()
    {
        if (T* existing = GetComponent<T>())
        {
            return existing;
        }
        auto component = std::make_unique<T>();
        component->BuildProperties();
        return static_cast<T*>(Attach(std::move(component), ComponentTypeIdOf<T>()));
    }

    // Takes ownership of a component (for example a clone) unless one of its class is present,
    // which is returned instead.
    IComponent* AddComponent(std::unique_ptr<IComponent> component);

    // Destroys the entity's T, if it has one; an entity in a scene leaves the systems that no
    // other of its components keeps it in.
    template <typename T> void RemoveComponent() { RemoveComponent(typeid(T)); }
    void RemoveComponent(std::type_index type);

    int GetChildCount() const;
    IEntity* GetChild(int index) const; // null past the end
    // Depth first: for each child, that child's descendants and then the child.
    std::vector<IEntity*> GetDescendants() const;
    // Unparents every child, leaving it where it is on screen.
    void DetachChildren();
    // Destroys every component and leaves every system; the entity becomes free.
    void RemoveAllComponents();
    bool IsActiveInHierarchy() const;

    std::string name = "Entity";  // "ID"
    uint64_t tags = 0;            // "ID Type": bit i is the i-th name of the tag registry
    uint32_t id = 0;              // unique for the life of the process
    uint32_t currentParentId = 0; // "Current Parent ID": this entity's link key in its file
    uint32_t room = 0;            // "Room"
    uint32_t layer = 0;           // "Layer": render layer
    std::string prefabOwner;      // "Prefab Owner"
    bool gameObjectActive = true; // "GameObject Active"
    IEntity* parent = nullptr;    // may be null; not owned
    Scene* scene = nullptr;       // may be null; the scene the entity joined
    std::vector<std::unique_ptr<IComponent>> components; // at most one per concrete class

private:
    friend class EntityManager;

    // Takes a component of class `typeId` that the entity does not have yet.
    IComponent* Attach(std::unique_ptr<IComponent> component, uint32_t typeId);
    // Tells the entity's scene, if any, that a component of class `changed` came or went.
    void ComponentsChanged(uint32_t changed); // a ComponentTypeId
    // Tells the pool, if any, that the entity has no component left and is free again.
    void TellPoolIfFree() const;

    // Bit i is set while a component of class id i (below 64) is attached. Only Attach and the
    // removals change `components`, and they keep this in step.
    uint64_t classMask = 0;
    EntityManager* pool = nullptr; // the pool that made the entity; null for one made alone
    std::size_t poolIndex = 0;     // its place there
};

} // namespace Varn::ECS
