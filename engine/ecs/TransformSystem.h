#pragma once
// Recomputes the local and world matrices, world scale and world flips of every active entity
// with a Transform. Each entity's world matrix is rebuilt from its ancestors' raw fields, never
// from another entity's cached matrix, so the four slices can run on separate threads.
#include "core/ISystem.h"

#include <cstddef>

namespace Varn::ECS
{
class IEntity;

class TransformSystem : public ISystem
{
public:
    TransformSystem(Scene* scene, const Services& services);

    // Four index slices: three on the engine's workers, the last on the calling thread.
    void Update(const float& dt) override;
    // Every entity of the working set, active or not, serially: after a scene load.
    void UpdateAll();

    static void UpdateEntity(IEntity* entity);

private:
    void UpdateSlice(std::size_t begin, std::size_t end) const;
};

} // namespace Varn::ECS
