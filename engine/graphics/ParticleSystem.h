#pragma once
// Emits and simulates the particles of every active emitter once per step, and draws one
// emitter's live, visible particles in a single instanced draw when the GraphicsSystem asks.
// Emission, pool growth and destroy-on-death removal happen on the calling thread; the
// simulation of each pool is split four ways over the engine's workers, each slice writing
// only its own cells. Owns the quad and the two per-instance buffers (made with the first draw).
#include "core/ISystem.h"
#include "core/Matrix4.h"
#include "core/VarnColor.h"

#include <cstdint>
#include <vector>

namespace Varn::ECS
{
class Camera;
class ParticleEmitter;
struct ParticleCell;
} // namespace Varn::ECS

namespace Varn::Graphics
{

class ParticleSystem : public ISystem
{
public:
    ParticleSystem(ECS::Scene* scene, const Services& services);
    ~ParticleSystem() override;

    void Update(const float& dt) override; // dt: the step, seconds

    // One emitter's live cells whose visible flag is set, in pool order; nothing without a
    // current OpenGL context or when no cell qualifies. Blend state is left as set here.
    void Draw(ECS::ParticleEmitter& emitter, const ECS::Camera& camera);

    // The pieces of one step, public so tests can drive them directly.
    // Emission at the world point (x, y, z). True when the emitter is a spent destroy-on-death
    // burst whose last particle has died while playing: its entity should leave the scene.
    bool Emit(ECS::ParticleEmitter& emitter, float x, float y, float z, float dt, bool playing);
    void Spawn(ECS::ParticleEmitter& emitter, ECS::ParticleCell& cell, float x, float y, float z);
    // The cell a spawn goes into; grows the pool by `count` when every cell is alive. Null only
    // when the pool is empty and `count` is 0.
    static ECS::ParticleCell* ChooseCell(ECS::ParticleEmitter& emitter);
    void Simulate(ECS::ParticleEmitter& emitter, float dt);

    uint32_t quadVbo = 0, quadVao = 0, colorVbo = 0, modelVbo = 0; // 0 until the first draw
    uint32_t quadEbo = 0;

private:
    void CreateBuffers();

    // Per-instance data of the draw in progress, kept to avoid a fresh allocation per emitter.
    std::vector<VarnColor> instanceColors;
    std::vector<Matrix4> instanceModels;
};

} // namespace Varn::Graphics
