#pragma once
// Emits particles that then live in world space. The ParticleSystem spawns and simulates the
// pool each step; the GraphicsSystem culls and draws it. Content and scripts write the
// serialised settings; only the particle and graphics systems touch `particles`.
#include "core/Range.h"
#include "core/VarnColor.h"
#include "core/Vector4.h"
#include "ecs/IComponent.h"
#include "ecs/ParticleCell.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace Varn::Resource
{
class Texture2D;
class Shader;
} // namespace Varn::Resource

namespace Varn::ECS
{

class ParticleEmitter final : public IComponent
{
public:
    // A cell of the pool and whether the last culling pass found it on screen.
    using Slot = std::pair<bool, ParticleCell>;

    ParticleEmitter();

    void UseDefaults(const Services& services) override;
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    // The pool, first topped up by `count` fresh cells when it holds fewer than `count`
    // (a read "Count" can raise it above the size made at construction).
    std::vector<Slot>& GetParticles();

    Resource::Texture2D* particleTexture =
        nullptr;                                // "Particle Texture"; the default one once UseDefaults ran
    Resource::Shader* particleShader = nullptr; // "Particle Shader"; null until the built-in shaders exist
    bool destroyOnDeath = false;                // "Destroy on Death": remove the entity after the last burst
    bool burst = false;                         // "Burst": emit `count` at a time
    int32_t burstCount = 1;                     // "Burst Count": bursts left when destroying on death
    bool glow = true;                           // "Glow": additive blending with a soft halo
    bool rotateToDirection = false;             // "Rotate To Direction"
    bool hasGravity = false;                    // "Has Gravity"
    bool emitFromEdge = false;                  // "Emit From Edge"
    float xOffset = 0.0f;                       // "X Offset": width of the spawn area, world units
    float yOffset = 0.0f;                       // "Y Offset": height of the spawn area
    float gravityScale = 1.0f;                  // "Gravity Scale"
    uint32_t count = 20;                        // "Count": cells made at a time
    Range<VarnColor> startColor{{1, 1, 1, 1}, {1, 1, 1, 1}}; // "Start Color"
    Range<VarnColor> endColor{{1, 1, 1, 1}, {1, 1, 1, 1}};   // "End Color"
    Range<float> startSpeed{100.0f, 100.0f};                 // "Start Speed", units per second
    Range<float> endSpeed{100.0f, 100.0f};                   // "End Speed"
    Range<Vector4> startScale{{1, 1, 1, 0}, {1, 1, 1, 0}};   // "Start Scale"
    Range<Vector4> endScale{{1, 1, 1, 0}, {1, 1, 1, 0}};     // "End Scale"
    Range<float> emissionRateRange{0.2f, 0.2f}; // "Emission Rate Range", seconds between emissions
    Range<float> life{1.0f, 1.0f};              // "Life", seconds
    float direction = 0.0f;                     // "Direction", degrees
    float spread = 360.0f;                      // "Spread", degrees around direction

    std::vector<Slot> particles; // the pool; `count` fresh cells at construction
    float emissionTimer = 0.0f;  // seconds until the next emission
};

} // namespace Varn::ECS
