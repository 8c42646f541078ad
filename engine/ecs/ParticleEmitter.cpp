#include "ecs/ParticleEmitter.h"

#include "resource/ResourceManager.h"

namespace Varn::ECS
{

using Resource::ResourceManager;

ParticleEmitter::ParticleEmitter() : IComponent("Particle Emitter")
{
    particles.resize(count);
}

void ParticleEmitter::UseDefaults(const Services& services)
{
    ResourceManager& resources = services.resources;
    particleTexture = resources.GetTexture(ResourceManager::DEFAULT_PARTICLE_TEXTURE);
    particleShader = resources.FindShader(ResourceManager::PARTICLE_SHADER);
}

void ParticleEmitter::BuildProperties()
{
    properties = {
        Property::Of("Particle Texture", &particleTexture),
        Property::Of("Particle Shader", &particleShader),
        Property::Of("Destroy on Death", &destroyOnDeath),
        Property::Of("Burst", &burst),
        Property::Of("Burst Count", &burstCount),
        Property::Of("Glow", &glow),
        Property::Of("Rotate To Direction", &rotateToDirection),
        Property::Of("Has Gravity", &hasGravity),
        Property::Of("Emit From Edge", &emitFromEdge),
        Property::Of("X Offset", &xOffset),
        Property::Of("Y Offset", &yOffset),
        Property::Of("Gravity Scale", &gravityScale),
        Property::Of("Count", &count),
        Property::Of("Start Color", &startColor),
        Property::Of("End Color", &endColor),
        Property::Of("Start Speed", &startSpeed),
        Property::Of("End Speed", &endSpeed),
        Property::Of("Start Scale", &startScale),
        Property::Of("End Scale", &endScale),
        Property::Of("Emission Rate Range", &emissionRateRange),
        Property::Of("Life", &life),
        Property::Of("Direction", &direction),
        Property::Of("Spread", &spread),
    };
}

std::unique_ptr<IComponent> ParticleEmitter::Clone() const
{
    auto copy = std::make_unique<ParticleEmitter>();
    copy->particleTexture = particleTexture;
    copy->particleShader = particleShader;
    copy->destroyOnDeath = destroyOnDeath;
    copy->burst = burst;
    copy->burstCount = burstCount;
    copy->glow = glow;
    copy->rotateToDirection = rotateToDirection;
    copy->hasGravity = hasGravity;
    copy->emitFromEdge = emitFromEdge;
    copy->xOffset = xOffset;
    copy->yOffset = yOffset;
    copy->gravityScale = gravityScale;
    copy->count = count;
    copy->startColor = startColor;
    copy->endColor = endColor;
    copy->startSpeed = startSpeed;
    copy->endSpeed = endSpeed;
    copy->startScale = startScale;
    copy->endScale = endScale;
    copy->emissionRateRange = emissionRateRange;
    copy->life = life;
    copy->direction = direction;
    copy->spread = spread;
    // Live particles belong to the emitter that spawned them and sit where it was; a copy
    // starts with a fresh pool and emits on its first step, as a new emitter would.
    copy->particles.assign(count, Slot{});
    copy->emissionTimer = 0.0f;
    return FinishClone(std::move(copy));
}

std::vector<ParticleEmitter::Slot>& ParticleEmitter::GetParticles()
{
    if (particles.size() < count)
    {
        particles.resize(particles.size() + count);
    }
    return particles;
}

} // namespace Varn::ECS
