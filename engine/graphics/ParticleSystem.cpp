#include "graphics/ParticleSystem.h"

#include "core/Clock.h"
#include "core/Random.h"
#include "core/WorkerPool.h"
#include "ecs/Camera.h"
#include "ecs/IEntity.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/Scene.h"
#include "ecs/Transform.h"
#include "resource/GLContext.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <cmath>

using namespace gl33core;

namespace Varn::Graphics
{

namespace
{

using ECS::ParticleEmitter;

using ECS::ParticleCell;

constexpr float RADIANS_PER_DEGREE = 0.017453292f;
constexpr float GRAVITY = 0.98f; // direction units per second squared at gravity scale 1

static_assert(sizeof(VarnColor) == 16, "instance colours are uploaded as 4 packed floats");
static_assert(sizeof(Matrix4) == 64, "instance matrices are uploaded as 16 packed floats");

// One fraction shared by all channels, so a colour stays on the line between min and max.
VarnColor Between(Random& random, const Range<VarnColor>& range)
{
    if (range.min == range.max)
    {
        return range.min;
    }
    const float t = random.Range(0.0f, 1.0f);
    const VarnColor& a = range.min;
    const VarnColor& b = range.max;
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// x, y and z share one fraction; w is the min's.
Vector4 Between(Random& random, const Range<Vector4>& range)
{
    if (range.min == range.max)
    {
        return range.min;
    }
    const float t = random.Range(0.0f, 1.0f);
    const Vector4& a = range.min;
    const Vector4& b = range.max;
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t, a.w};
}

// Change per second that takes `from` to `to` over `life`. A particle born with no life dies at
// its first step before any rate is used; the plain difference keeps the fields finite.
float Rate(float from, float to, float life)
{
    return life == 0.0f ? to - from : (to - from) / life;
}

struct SimulationSettings
{
    float dt;
    bool rotateToDirection;
    float textureWidth; // a particle of scale 1 covers its texture's size in world units
    float textureHeight;
};

void SimulateCell(ParticleCell& c, const SimulationSettings& s)
{
    const float dt = s.dt;
    c.life -= dt;
    if (c.life <= 0.0f)
    {
        c.alive = false;
        return;
    }
    c.color.r += c.colorRate.r * dt;
    c.color.g += c.colorRate.g * dt;
    c.color.b += c.colorRate.b * dt;
    c.color.a += c.colorRate.a * dt;
    c.scale.x += c.scaleRate.x * dt;
    c.scale.y += c.scaleRate.y * dt;
    c.scale.z += c.scaleRate.z * dt;
    c.speed += c.speedRate * dt;
    if (c.hasGravity)
    {
        c.direction.y -= c.gravityScale * GRAVITY * dt; // not renormalised: the path bends and speeds up
    }
    c.position.x += c.direction.x * c.speed * dt;
    c.position.y += c.direction.y * c.speed * dt;
    c.position.z += c.direction.z * c.speed * dt;

    // T x R x S x P written out: rotation about z, then scale and texture size, then translation.
    float cosA = 1.0f, sinA = 0.0f;
    if (s.rotateToDirection)
    {
        const float a = std::atan2(c.direction.y, c.direction.x);
        cosA = std::cos(a);
        sinA = std::sin(a);
    }
    const float sx = c.scale.x * s.textureWidth;
    const float sy = c.scale.y * s.textureHeight;
    float(&m)[4][4] = c.model.m;
    m[0][0] = cosA * sx;
    m[0][1] = -sinA * sy;
    m[0][2] = 0.0f;
    m[0][3] = c.position.x;
    m[1][0] = sinA * sx;
    m[1][1] = cosA * sy;
    m[1][2] = 0.0f;
    m[1][3] = c.position.y;
    m[2][0] = 0.0f;
    m[2][1] = 0.0f;
    m[2][2] = c.scale.z;
    m[2][3] = c.position.z;
    m[3][0] = m[3][1] = m[3][2] = 0.0f;
    m[3][3] = 1.0f;
}

} // namespace

ParticleSystem::ParticleSystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<ECS::ParticleEmitter>();
}

ParticleSystem::~ParticleSystem()
{
    if (quadVao != 0 && Resource::HasCurrentGLContext())
    {
        glDeleteVertexArrays(1, &quadVao);
        const GLuint buffers[] = {quadVbo, quadEbo, colorVbo, modelVbo};
        glDeleteBuffers(4, buffers);
    }
}

ParticleCell* ParticleSystem::ChooseCell(ParticleEmitter& emitter)
{
    std::vector<ParticleEmitter::Slot>& pool = emitter.particles;
    for (ParticleEmitter::Slot& slot : pool)
    {
        if (!slot.second.alive)
        {
            return &slot.second;
        }
    }
    pool.resize(pool.size() + emitter.count);
    // An emitter copied with a count of 0 has no cells at all: there is nothing to spawn into.
    return pool.empty() ? nullptr : &pool.back().second;
}

void ParticleSystem::Spawn(ParticleEmitter& e, ParticleCell& c, float x, float y, float z)
{
    c.life = services.random.Range(e.life.min, e.life.max);
    c.color = Between(services.random, e.startColor);
    c.gravityScale = e.gravityScale;
    c.hasGravity = e.hasGravity;

    const VarnColor endColor = Between(services.random, e.endColor);
    c.colorRate = {Rate(c.color.r, endColor.r, c.life), Rate(c.color.g, endColor.g, c.life),
                   Rate(c.color.b, endColor.b, c.life), Rate(c.color.a, endColor.a, c.life)};

    c.speed = services.random.Range(e.startSpeed.min, e.startSpeed.max);
    const float endSpeed = services.random.Range(e.endSpeed.min, e.endSpeed.max);
    c.speedRate = Rate(c.speed, endSpeed, c.life);

    c.scale = Between(services.random, e.startScale);
    const Vector4 endScale = Between(services.random, e.endScale);
    c.scaleRate = {Rate(c.scale.x, endScale.x, c.life), Rate(c.scale.y, endScale.y, c.life),
                   Rate(c.scale.z, endScale.z, c.life), Rate(c.scale.w, endScale.w, c.life)};

    // Edge emission keeps the cell's own position and direction: the new particle carries on
    // from where the cell's previous one ended.
    if (!e.emitFromEdge)
    {
        c.position = {x + services.random.Range(-e.xOffset / 2.0f, e.xOffset / 2.0f),
                      y + services.random.Range(-e.yOffset / 2.0f, e.yOffset / 2.0f), z, 1.0f};
        const float a = services.random.Range(e.direction - e.spread / 2.0f, e.direction + e.spread / 2.0f) *
                        RADIANS_PER_DEGREE;
        c.direction = {std::cos(a), std::sin(a), 0.0f, 0.0f};
    }
    c.alive = true;
}

bool ParticleSystem::Emit(ParticleEmitter& e, float x, float y, float z, float dt, bool playing)
{
    const auto spawn = [&](uint32_t n)
    {
        for (uint32_t i = 0; i < n; ++i)
        {
            if (ParticleCell* cell = ChooseCell(e))
            {
                Spawn(e, *cell, x, y, z);
            }
        }
    };

    if (e.burst && e.destroyOnDeath && e.burstCount == 0)
    {
        // Spent: the entity goes once its last particle has died, and only in play.
        const bool anyAlive =
            std::any_of(e.particles.begin(), e.particles.end(),
                        [](const ParticleEmitter::Slot& slot) { return slot.second.alive; });
        return !anyAlive && playing;
    }
    e.emissionTimer -= dt;
    // Twelve float steps of 1/60 leave a few nanoseconds of a 0.2 s interval; that sliver must
    // not cost a whole extra step, or emitters run a tenth slow.
    constexpr float ROUNDING = 1e-6f;
    if (e.emissionTimer > ROUNDING)
    {
        return false;
    }
    spawn(e.burst ? e.count : 1u);
    if (e.burst && e.destroyOnDeath && playing)
    {
        --e.burstCount;
    }
    e.emissionTimer = services.random.Range(e.emissionRateRange.min, e.emissionRateRange.max);
    return false;
}

void ParticleSystem::Simulate(ParticleEmitter& emitter, float dt)
{
    std::vector<ParticleEmitter::Slot>& pool = emitter.GetParticles();
    const Resource::Texture2D* texture = emitter.particleTexture;
    const SimulationSettings settings{dt, emitter.rotateToDirection,
                                      texture ? static_cast<float>(texture->width) : 0.0f,
                                      texture ? static_cast<float>(texture->height) : 0.0f};
    const auto run = [&pool, &settings](std::size_t begin, std::size_t end, std::size_t)
    {
        for (std::size_t i = begin; i < end; ++i)
        {
            if (pool[i].second.alive)
            {
                SimulateCell(pool[i].second, settings);
            }
        }
    };

    services.workers.ParallelFor(pool.size(), run);
}

void ParticleSystem::Update(const float& dt)
{
    updateStartTicks = NowTicks();
    std::vector<ECS::IEntity*> spent;
    for (ECS::IEntity* entity : entities)
    {
        auto* emitter = entity->GetComponent<ParticleEmitter>();
        const auto* transform = entity->GetComponent<ECS::Transform>();
        if (emitter == nullptr || transform == nullptr || !emitter->IsActive())
        {
            continue;
        }
        const auto& m = transform->worldMatrix.m;
        if (Emit(*emitter, m[0][3], m[1][3], m[2][3], dt, scene->playing))
        {
            spent.push_back(entity);
            continue;
        }
        Simulate(*emitter, dt);
    }
    // Removal unregisters components from this very working set, so it waits for the loop.
    for (ECS::IEntity* entity : spent)
    {
        // A spent emitter below another spent one has already gone with its ancestor.
        if (entity->GetComponent<ParticleEmitter>() != nullptr)
        {
            scene->RemoveEntity(entity, true);
        }
    }
    lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - updateStartTicks) / 1e7);
}

void ParticleSystem::CreateBuffers()
{
    static const float vertices[] = {-0.5f, -0.5f, 0.0f, 0.0f, 1.0f, 0.5f,  -0.5f, 0.0f, 1.0f, 1.0f,
                                     0.5f,  0.5f,  0.0f, 1.0f, 0.0f, -0.5f, 0.5f,  0.0f, 0.0f, 0.0f};
    static const uint32_t indices[] = {0, 1, 3, 2, 3, 1};
    glGenVertexArrays(1, &quadVao);
    glGenBuffers(1, &quadVbo);
    glGenBuffers(1, &quadEbo);
    glGenBuffers(1, &colorVbo);
    glGenBuffers(1, &modelVbo);
    glBindVertexArray(quadVao);

    glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quadEbo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(indices), indices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                          reinterpret_cast<void*>(3 * sizeof(float)));

    glBindBuffer(GL_ARRAY_BUFFER, colorVbo);
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, sizeof(VarnColor), nullptr);
    glVertexAttribDivisor(2, 1);

    // One row of the row-major matrix per attribute.
    glBindBuffer(GL_ARRAY_BUFFER, modelVbo);
    for (GLuint row = 0; row < 4; ++row)
    {
        glEnableVertexAttribArray(3 + row);
        glVertexAttribPointer(3 + row, 4, GL_FLOAT, GL_FALSE, sizeof(Matrix4),
                              reinterpret_cast<void*>(row * 4 * sizeof(float)));
        glVertexAttribDivisor(3 + row, 1);
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleSystem::Draw(ParticleEmitter& emitter, const ECS::Camera& camera)
{
    if (emitter.particleTexture == nullptr || emitter.particleShader == nullptr ||
        !Resource::HasCurrentGLContext())
    {
        return;
    }
    instanceColors.clear();
    instanceModels.clear();
    for (const ParticleEmitter::Slot& slot : emitter.GetParticles())
    {
        if (slot.first && slot.second.alive)
        {
            instanceColors.push_back(slot.second.color);
            instanceModels.push_back(slot.second.model);
        }
    }
    if (instanceModels.empty())
    {
        return;
    }
    if (quadVao == 0)
    {
        CreateBuffers();
    }
    const auto n = static_cast<GLsizei>(instanceModels.size());
    glBindBuffer(GL_ARRAY_BUFFER, colorVbo);
    glBufferData(GL_ARRAY_BUFFER, n * static_cast<GLsizeiptr>(sizeof(VarnColor)), instanceColors.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, modelVbo);
    glBufferData(GL_ARRAY_BUFFER, n * static_cast<GLsizeiptr>(sizeof(Matrix4)), instanceModels.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    const GLuint program = emitter.particleShader->program;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, emitter.particleTexture->textureId);
    glUseProgram(program);
    glUniform1i(emitter.particleShader->Location("glow"), emitter.glow ? 1 : 0);
    glUniformMatrix4fv(emitter.particleShader->Location("view"), 1, GL_FALSE, camera.view.data());
    glUniformMatrix4fv(emitter.particleShader->Location("projection"), 1, GL_FALSE, camera.projection.data());
    // Glow adds light; plain particles cover what is behind them.
    glBlendFuncSeparate(GL_SRC_ALPHA, emitter.glow ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                        GL_ONE);
    glBindVertexArray(quadVao);
    glDrawElementsInstanced(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr, n);
    glBindVertexArray(0);
}

} // namespace Varn::Graphics
