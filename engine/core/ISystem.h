#pragma once
// Base of every system. A system belongs to one Scene and keeps a working set of entities; it
// never owns them. Each system names the component classes it works on, and the scene keeps
// the working set in line with them as entities join and components come and go.
#include "core/ComponentTypeId.h"
#include "core/PointerSet.h"
#include "core/Services.h"

#include <cstdint>
#include <vector>

namespace Varn::ECS
{
class Scene;
class IEntity;
} // namespace Varn::ECS

namespace Varn
{

// A system's last update, named for people to read: what the profiler and the debug overlay
// list.
struct SystemTime
{
    const char* name;
    float seconds;
    bool draws; // a renderer, run once per displayed frame rather than in the steps
};

class ISystem
{
public:
    ISystem(ECS::Scene* scene, const Services& services);
    virtual ~ISystem() = default;
    ISystem(const ISystem&) = delete;
    ISystem& operator=(const ISystem&) = delete;

    // Called once after the scene has built all its systems; nothing to do by default.
    virtual void Initialise() {}
    // Appends the entity unless it is already in the working set. The scene calls it again
    // for a member whose components changed.
    virtual void AddEntity(ECS::IEntity* entity);
    // Removes the first occurrence, keeping the order of the rest; nothing when absent.
    virtual void RemoveEntity(ECS::IEntity* entity);
    // Empties the working set at once, as the scene does when every entity goes.
    virtual void RemoveAllEntities();
    // One step of work; the renderers are called once per displayed frame with dt = 0.
    virtual void Update(const float& dt) = 0;

    const std::vector<ECS::IEntity*>& Entities() const { return entities; }
    bool Has(const ECS::IEntity* entity) const;
    // The component classes (as ComponentTypeIds) that bring an entity into the working set:
    // any one is enough.
    const std::vector<uint32_t>& Needs() const { return needs; }

    ECS::Scene* scene;              // the owning scene; never null
    float lastUpdateSeconds = 0.0f; // duration of the last Update, for systems that time themselves
    int64_t updateStartTicks = 0;   // 100 ns ticks

protected:
    template <typename... T> void Need() { (needs.push_back(ComponentTypeIdOf<T>()), ...); }

    const Services& services; // the engine's parts the system works with

    std::vector<ECS::IEntity*> entities; // the working set, in registration order
    std::vector<uint32_t> needs;

private:
    PointerSet members; // of `entities`, found in constant time
};

} // namespace Varn
