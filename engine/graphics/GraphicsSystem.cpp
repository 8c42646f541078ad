#include "graphics/GraphicsSystem.h"

#include "core/Clock.h"
#include "core/Window.h"
#include "core/WorkerPool.h"
#include "ecs/Camera.h"
#include "ecs/IEntity.h"
#include "ecs/Light.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/Scene.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "graphics/LayerFramebuffers.h"
#include "graphics/ParticleSystem.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceManager.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

using namespace gl33core;

namespace Varn::Graphics
{

namespace
{

using ECS::Camera;

// Touching edges count as overlapping. Half-sizes are taken as lengths, so a mirrored
// (negatively scaled) sprite is culled like its unmirrored twin.
bool Overlaps(const Camera& c, float x, float y, float hx, float hy)
{
    hx = std::fabs(hx);
    hy = std::fabs(hy);
    return !(c.viewLeft > x + hx || x - hx > c.viewRight || c.viewBottom > y + hy || y - hy > c.viewTop);
}

void Append(GraphicsSystem::LayerLists& into, const GraphicsSystem::LayerLists& from)
{
    for (const auto& [layer, list] : from)
    {
        auto& target = into[layer];
        target.insert(target.end(), list.begin(), list.end());
    }
}

GLint Uniform(GLuint program, const char* name)
{
    return glGetUniformLocation(program, name);
}

bool HasContext(const Window& window)
{
    return window.glContext != nullptr;
}

} // namespace

GraphicsSystem::GraphicsSystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<ECS::SpriteRenderer, ECS::Light, ECS::ParticleEmitter>();
}

GraphicsSystem::~GraphicsSystem()
{
    if (screenQuadVao != 0 && HasContext(services.window))
    {
        glDeleteVertexArrays(1, &screenQuadVao);
        glDeleteBuffers(1, &screenQuadVbo);
    }
}

void GraphicsSystem::CreateScreenQuad()
{
    static const float vertices[] = {-1, 1, 0, 1, -1, -1, 0, 0, 1, -1, 1, 0,
                                     -1, 1, 0, 1, 1,  -1, 1, 0, 1, 1,  1, 1};
    glGenVertexArrays(1, &screenQuadVao);
    glGenBuffers(1, &screenQuadVbo);
    glBindVertexArray(screenQuadVao);
    glBindBuffer(GL_ARRAY_BUFFER, screenQuadVbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float),
                          reinterpret_cast<void*>(2 * sizeof(float)));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void GraphicsSystem::CollectSlice(std::size_t begin, std::size_t end, const ECS::IEntity& cameraEntity,
                                  const Camera& camera, Collected& out) const
{
    for (std::size_t i = begin; i < end; ++i)
    {
        ECS::IEntity* entity = entities[i];
        auto* transform = entity->GetComponent<ECS::Transform>();
        if (transform == nullptr || !transform->IsActive())
        {
            continue;
        }
        if (cameraEntity.room != 0 && entity->room != 0 && entity->room != cameraEntity.room)
        {
            continue;
        }
        const float x = transform->worldMatrix.m[0][3];
        const float y = transform->worldMatrix.m[1][3];
        const int32_t layer = static_cast<int32_t>(entity->layer);

        if (const auto* light = entity->GetComponent<ECS::Light>(); light != nullptr && light->IsActive())
        {
            if (light->isGlobal)
            {
                out.globalLights.push_back(entity);
            }
            else
            {
                const float q = light->quadratic == 0.0f ? 0.00001f : light->quadratic;
                const float half = 0.1875f * std::sqrt(light->ambient / (0.01f * q));
                if (Overlaps(camera, x, y, half, half))
                {
                    out.light[layer].push_back(entity);
                }
            }
        }

        bool culled = false;
        if (auto* sprite = entity->GetComponent<ECS::SpriteRenderer>())
        {
            const std::optional<Vector4> extent = sprite->Extent(transform->scale);
            const bool drawable = extent.has_value();
            if (drawable)
            {
                transform->worldScale = *extent; // physics sizes bodies from this
            }
            if (!drawable || !sprite->visible || !sprite->IsActive())
            {
                continue;
            }
            culled = !Overlaps(camera, x, y, transform->worldScale.x / 2.0f, transform->worldScale.y / 2.0f);
        }

        if (auto* emitter = entity->GetComponent<ECS::ParticleEmitter>())
        {
            if (!emitter->IsActive())
            {
                continue;
            }
            const float hx = transform->worldScale.x / 2.0f;
            const float hy = transform->worldScale.y / 2.0f;
            for (ECS::ParticleEmitter::Slot& slot : emitter->GetParticles())
            {
                slot.first = Overlaps(camera, slot.second.position.x, slot.second.position.y, hx, hy);
            }
            out.draw[layer].push_back(entity);
        }
        else if (!culled)
        {
            out.draw[layer].push_back(entity);
        }
    }
}

void GraphicsSystem::CollectDrawables()
{
    drawLists.clear();
    lightLists.clear();
    const ECS::IEntity* cameraEntity = scene->mainCamera;
    const Camera* camera = cameraEntity ? cameraEntity->GetComponent<Camera>() : nullptr;
    if (camera == nullptr)
    {
        return; // a scene without a camera shows nothing
    }

    Collected parts[WorkerPool::CALLER_SLICE + 1];
    services.workers.ParallelFor(entities.size(), [&](std::size_t begin, std::size_t end, std::size_t slice)
                                 { CollectSlice(begin, end, *cameraEntity, *camera, parts[slice]); });
    Collected& own = parts[WorkerPool::CALLER_SLICE];

    // The calling thread's slice first, then slices one to three, each in working-set order.
    drawLists = std::move(own.draw);
    lightLists = std::move(own.light);
    std::vector<ECS::IEntity*> globalLights = std::move(own.globalLights);
    for (std::size_t i = 0; i < WorkerPool::CALLER_SLICE; ++i)
    {
        Append(drawLists, parts[i].draw);
        Append(lightLists, parts[i].light);
        globalLights.insert(globalLights.end(), parts[i].globalLights.begin(), parts[i].globalLights.end());
    }
    // Global lights reach every layer that draws something this frame, after its local ones.
    for (const auto& [layer, list] : drawLists)
    {
        auto& lights = lightLists[layer];
        lights.insert(lights.end(), globalLights.begin(), globalLights.end());
    }
}

void GraphicsSystem::SetLightUniforms(uint32_t program, const std::vector<ECS::IEntity*>& lights) const
{
    glUseProgram(program);
    if (!lightingEnabled)
    {
        glUniform1i(Uniform(program, "lightsInUse"), 0);
        return;
    }
    glUniform1i(Uniform(program, "lightsInUse"), static_cast<GLint>(lights.size()));
    for (std::size_t i = 0; i < lights.size() && i < 128; ++i)
    {
        const auto* light = lights[i]->GetComponent<ECS::Light>();
        const auto& m = lights[i]->GetComponent<ECS::Transform>()->worldMatrix.m;
        const std::string base = "pointLights[" + std::to_string(i) + "].";
        glUniform3f(Uniform(program, (base + "color").c_str()), light->lightColor.r, light->lightColor.g,
                    light->lightColor.b);
        glUniform3f(Uniform(program, (base + "position").c_str()), m[0][3], m[1][3], m[2][3]);
        glUniform1f(Uniform(program, (base + "ambient").c_str()), light->ambient);
        glUniform1f(Uniform(program, (base + "constant").c_str()), light->constant);
        glUniform1f(Uniform(program, (base + "linear").c_str()), light->linear);
        glUniform1f(Uniform(program, (base + "quadratic").c_str()), light->quadratic);
    }
}

void GraphicsSystem::DrawSprite(const ECS::IEntity& entity, const Camera& camera) const
{
    const auto* sprite = entity.GetComponent<ECS::SpriteRenderer>();
    if (sprite == nullptr || sprite->shader == nullptr || sprite->texture == nullptr ||
        sprite->mesh == nullptr)
    {
        return;
    }
    const auto* transform = entity.GetComponent<ECS::Transform>();
    const auto* eye = scene->mainCamera->GetComponent<ECS::Transform>();
    const GLuint program = sprite->shader->program;
    const Resource::Mesh2D& mesh = *sprite->mesh;

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, sprite->texture->textureId);
    glUseProgram(program);
    if (eye != nullptr)
    {
        glUniform3f(Uniform(program, "viewPos"), eye->position.x, eye->position.y, eye->position.z);
    }
    glUniform3f(Uniform(program, "tint"), sprite->tint.r, sprite->tint.g, sprite->tint.b);
    glUniform1i(Uniform(program, "receiveLight"), sprite->receiveLight ? 1 : 0);
    glUniform1f(Uniform(program, "opacity"), sprite->opacity);
    float imageScale[16] = {};
    imageScale[0] =
        static_cast<float>(sprite->texture->width) / static_cast<float>(std::max(1u, mesh.columns));
    imageScale[5] = static_cast<float>(sprite->texture->height) / static_cast<float>(std::max(1u, mesh.rows));
    imageScale[10] = imageScale[15] = 1.0f;
    glUniformMatrix4fv(Uniform(program, "imageScale"), 1, GL_FALSE, imageScale);
    glUniform2f(Uniform(program, "texOffset"), sprite->texOffset[0], sprite->texOffset[1]);
    glUniformMatrix4fv(Uniform(program, "model"), 1, GL_FALSE, &transform->worldMatrix.m[0][0]);
    glUniformMatrix4fv(Uniform(program, "view"), 1, GL_FALSE, camera.view.data());
    glUniformMatrix4fv(Uniform(program, "projection"), 1, GL_FALSE, camera.projection.data());
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_ONE);
    glBindVertexArray(mesh.vao);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void GraphicsSystem::RenderLayers()
{
    const Camera* camera = scene->mainCamera ? scene->mainCamera->GetComponent<Camera>() : nullptr;
    const Resource::Shader* spriteShader =
        services.resources.FindShader(Resource::ResourceManager::SPRITE_SHADER);
    static const std::vector<ECS::IEntity*> noLights;

    glEnable(GL_BLEND);
    for (auto& [layer, list] : drawLists)
    {
        std::stable_sort(list.begin(), list.end(),
                         [](const ECS::IEntity* a, const ECS::IEntity* b)
                         {
                             return a->GetComponent<ECS::Transform>()->worldMatrix.m[2][3] <
                                    b->GetComponent<ECS::Transform>()->worldMatrix.m[2][3];
                         });

        // The first layer cleared in a frame takes the window's colour; later ones stay clear.
        const LayerFramebuffer* target = services.layers.Get(layer);
        glBindFramebuffer(GL_FRAMEBUFFER, target->fbo);
        // The layer image fills its framebuffer; only the composite is letter-boxed. Drawing
        // through the window's offset viewport here would cut a strip off the picture.
        glViewport(0, 0, target->width, target->height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

        if (spriteShader != nullptr)
        {
            auto lights = lightLists.find(layer);
            SetLightUniforms(spriteShader->program, lights == lightLists.end() ? noLights : lights->second);
        }
        for (const ECS::IEntity* entity : list)
        {
            DrawSprite(*entity, *camera);
            if (auto* emitter = entity->GetComponent<ECS::ParticleEmitter>())
            {
                scene->particleSystem->Draw(*emitter, *camera);
            }
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GraphicsSystem::Composite()
{
    const Window& window = services.window;
    std::vector<LayerFramebufferRecord>& layers = services.layers.records;
    glViewport(window.viewportX, window.viewportY, window.viewportWidth, window.viewportHeight);
    std::stable_sort(layers.begin(), layers.end(),
                     [](const auto& a, const auto& b) { return a.layer < b.layer; });
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); // layer images are premultiplied
    for (const LayerFramebufferRecord& record : layers)
    {
        if (record.used)
        {
            record.framebuffer->Draw(screenQuadVao);
        }
    }
    glDisable(GL_BLEND);
    for (LayerFramebufferRecord& record : layers)
    {
        record.framebuffer->Clear();
        record.used = false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GraphicsSystem::Update(const float& /*dt*/)
{
    updateStartTicks = NowTicks();
    CollectDrawables();
    if (HasContext(services.window))
    {
        if (screenQuadVao == 0)
        {
            CreateScreenQuad();
        }
        RenderLayers();
        Composite();
    }
    drawLists.clear();
    lightLists.clear();
    lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - updateStartTicks) / 1e7);
}

} // namespace Varn::Graphics
