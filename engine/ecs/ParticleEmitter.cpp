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
    properties.clear();
    properties.push_back(Property::Of("Particle Texture", &particleTexture));
    properties.push_back(Property::Of("Particle Shader", &particleShader));
    properties.push_back(Property::Of("Destroy on Death", &destroyOnDeath));
    properties.push_back(Property::Of("Burst", &burst));
    properties.push_back(Property::Of("Burst Count", &burstCount));
    properties.push_back(Property::Of("Glow", &glow));
    properties.push_back(Property::Of("Rotate To Direction", &rotateToDirection));
    properties.push_back(Property::Of("Has Gravity", &hasGravity));
    properties.push_back(Property::Of("Emit From Edge", &emitFromEdge));
    properties.push_back(Property::Of("X Offset", &xOffset));
    properties.push_back(Property::Of("Y Offset", &yOffset));
    properties.push_back(Property::Of("Gravity Scale", &gravityScale));
    properties.push_back(Property::Of("Count", &count));
    properties.push_back(Property::Of("Start Color", &startColor));
    properties.push_back(Property::Of("End Color", &endColor));
    properties.push_back(Property::Of("Start Speed", &startSpeed));
    properties.push_back(Property::Of("End Speed", &endSpeed));
    properties.push_back(Property::Of("Start Scale", &startScale));
    properties.push_back(Property::Of("End Scale", &endScale));
    properties.push_back(Property::Of("Emission Rate Range", &emissionRateRange));
    properties.push_back(Property::Of("Life", &life));
    properties.push_back(Property::Of("Direction", &direction));
    properties.push_back(Property::Of("Spread", &spread));
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
