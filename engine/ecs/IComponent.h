#pragma once
// Base of every component: data and how it is read and copied. A component belongs to exactly
// one entity (its owner), which owns it; which systems work on it is the systems' business
// (each names the component classes it needs, and the scene keeps their working sets).
#include "core/BlockPool.h"
#include "core/ComponentTypeId.h"
#include "core/Services.h"
#include "ecs/Property.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Varn::ECS
{

class IEntity;

class IComponent
{
public:
    explicit IComponent(std::string blockName) : componentName(std::move(blockName)) {}
    virtual ~IComponent() = default;
    IComponent(const IComponent&) = delete;
    IComponent& operator=(const IComponent&) = delete;

    // Components come from the block pool: a scene makes and drops thousands at once.
    static void* operator new(std::size_t size) { return BlockPool::Allocate(size); }
    static void operator delete(void* block, std::size_t size) noexcept { BlockPool::Free(block, size); }

    // Rebuilds `properties` to point at this object's fields, in serialised-key order.
    virtual void BuildProperties() = 0;
    // A copy of every field value with no owner and its own property list.
    virtual std::unique_ptr<IComponent> Clone() const = 0;
    // Points the component at the engine's default resources (and a camera at the drawing
    // area): what a component read from a file starts from. A component built plainly holds
    // none, so it can be made and tested without an engine.
    virtual void UseDefaults(const Services&) {}

    // Enabled, and the owner and all its ancestors are active.
    bool IsActive() const;

    std::string componentName; // the block name in scene files
    bool enabled = true;       // "Enabled"
    IEntity* owner = nullptr;  // may be null until the component is added to an entity
    uint32_t typeId = 0;       // ComponentTypeId of its class, set when added to an entity
    std::vector<Property, BlockAllocator<Property>> properties;

protected:
    // Copies the base fields into a clone and gives it its own property list.
    template <typename T> std::unique_ptr<IComponent> FinishClone(std::unique_ptr<T> copy) const
    {
        copy->componentName = componentName;
        copy->enabled = enabled;
        copy->owner = nullptr;
        copy->BuildProperties();
        return copy;
    }
};

} // namespace Varn::ECS
