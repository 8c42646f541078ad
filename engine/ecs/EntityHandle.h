#pragma once
// A reference to an entity that is kept across steps (script `ent` variables and arrays,
// entities a behaviour tree captured). Pool entities are reused, and a reused entity gets a new
// id, so a handle remembers the id it was made with: once its entity is freed or reused, the
// handle resolves to null instead of to whatever entity now occupies the slot.
#include "ecs/IEntity.h"

#include <cstdint>

namespace Varn::ECS
{

class EntityHandle
{
public:
    EntityHandle() = default;
    // Implicit, so lists of handles fill from the pointers the passes hold.
    EntityHandle(IEntity* target) : entity(target), id(target != nullptr ? target->id : 0) {} // NOLINT
    EntityHandle& operator=(IEntity* target) { return *this = EntityHandle(target); }

    // The entity, or null when there is none or it has been freed or reused since.
    IEntity* Get() const
    {
        return entity != nullptr && entity->id == id && !entity->components.empty() ? entity : nullptr;
    }
    // The entity until its slot is handed out again, even once freed: what a collision pass
    // saw (a bullet that hit and removed itself) stays readable for the rest of the step. Never
    // the slot's next occupant.
    IEntity* AsSeen() const { return entity != nullptr && entity->id == id ? entity : nullptr; }
    operator IEntity*() const { return Get(); } // NOLINT: reads as the pointer it replaces
    IEntity* operator->() const { return Get(); }

private:
    IEntity* entity = nullptr; // not owned
    uint32_t id = 0;           // the entity's id when the handle was made
};

} // namespace Varn::ECS
