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
#include "graphics/SpriteBatch.h"
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
    if (!HasContext(services.window))
    {
        (void)batch.release(); // its buffers went with the context
        return;
    }
    batch.reset();
    if (screenQuadVao != 0)
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

void GraphicsSystem::SetLightUniforms(const Resource::Shader& shader,
                                      const std::vector<ECS::IEntity*>& lights)
{
    glUseProgram(shader.program);
    if (!lightingEnabled)
    {
        glUniform1i(shader.Location("lightsInUse"), 0);
        return;
    }
    if (lightLocationsProgram != shader.program)
    {
        static const char* const FIELDS[6] = {"color",    "position", "ambient",
                                              "constant", "linear",   "quadratic"};
        lightLocations.assign(SpriteBatch::MAX_LIGHTS, {});
        for (std::size_t i = 0; i < SpriteBatch::MAX_LIGHTS; ++i)
        {
            for (std::size_t f = 0; f < 6; ++f)
            {
                const std::string name = "pointLights[" + std::to_string(i) + "]." + FIELDS[f];
                lightLocations[i][f] = glGetUniformLocation(shader.program, name.c_str());
            }
        }
        lightLocationsProgram = shader.program;
    }
    glUniform1i(shader.Location("lightsInUse"), static_cast<GLint>(lights.size()));
    for (std::size_t i = 0; i < lights.size() && i < SpriteBatch::MAX_LIGHTS; ++i)
    {
        const auto* light = lights[i]->GetComponent<ECS::Light>();
        const auto& m = lights[i]->GetComponent<ECS::Transform>()->worldMatrix.m;
        const std::array<int32_t, 6>& at = lightLocations[i];
        glUniform3f(at[0], light->lightColor.r, light->lightColor.g, light->lightColor.b);
        glUniform3f(at[1], m[0][3], m[1][3], m[2][3]);
        glUniform1f(at[2], light->ambient);
        glUniform1f(at[3], light->constant);
        glUniform1f(at[4], light->linear);
        glUniform1f(at[5], light->quadratic);
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
    const Resource::Shader& shader = *sprite->shader;
    const Resource::Mesh2D& mesh = *sprite->mesh;

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, sprite->texture->textureId);
    glUseProgram(shader.program);
    if (eye != nullptr)
    {
        glUniform3f(shader.Location("viewPos"), eye->position.x, eye->position.y, eye->position.z);
    }
    glUniform3f(shader.Location("tint"), sprite->tint.r, sprite->tint.g, sprite->tint.b);
    glUniform1i(shader.Location("receiveLight"), sprite->receiveLight ? 1 : 0);
    glUniform1f(shader.Location("opacity"), sprite->opacity);
    float imageScale[16] = {};
    imageScale[0] =
        static_cast<float>(sprite->texture->width) / static_cast<float>(std::max(1u, mesh.columns));
    imageScale[5] = static_cast<float>(sprite->texture->height) / static_cast<float>(std::max(1u, mesh.rows));
    imageScale[10] = imageScale[15] = 1.0f;
    glUniformMatrix4fv(shader.Location("imageScale"), 1, GL_FALSE, imageScale);
    glUniform2f(shader.Location("texOffset"), sprite->texOffset[0], sprite->texOffset[1]);
    glUniformMatrix4fv(shader.Location("model"), 1, GL_FALSE, &transform->worldMatrix.m[0][0]);
    glUniformMatrix4fv(shader.Location("view"), 1, GL_FALSE, camera.view.data());
    glUniformMatrix4fv(shader.Location("projection"), 1, GL_FALSE, camera.projection.data());
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_ONE);
    glBindVertexArray(mesh.vao);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void GraphicsSystem::SortByDepth(std::vector<ECS::IEntity*>& list)
{
    // Keys first: the comparison runs n log n times and should not look components up.
    depthOrder.clear();
    for (ECS::IEntity* entity : list)
    {
        depthOrder.emplace_back(entity->GetComponent<ECS::Transform>()->worldMatrix.m[2][3], entity);
    }
    std::stable_sort(depthOrder.begin(), depthOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        list[i] = depthOrder[i].second;
    }
}

void GraphicsSystem::Record(const Resource::Shader* batched)
{
    static const std::vector<ECS::IEntity*> noLights;
    const Resource::Shader* spriteShader =
        services.resources.FindShader(Resource::ResourceManager::SPRITE_SHADER);
    batch->Clear();
    plans.clear();
    for (auto& [layer, list] : drawLists)
    {
        SortByDepth(list);
        LayerPlan& plan = plans.emplace_back();
        plan.layer = layer;
        // Compositing the lowest layer over the cleared window would copy it unchanged, so a
        // plain one is drawn where it would land. The path kept for comparison keeps the copy.
        const LayerFramebuffer* framebuffer = services.layers.Find(layer);
        plan.direct = batching && plans.size() == 1 && (framebuffer == nullptr || framebuffer->Plain());
        const auto lights = lightLists.find(layer);
        const std::vector<ECS::IEntity*>& layerLights =
            lights == lightLists.end() ? noLights : lights->second;
        plan.lights = batch->AddLights(layerLights, lightingEnabled);
        plan.unlit = !lightingEnabled || layerLights.empty();
        for (const ECS::IEntity* entity : list)
        {
            const auto* sprite = entity->GetComponent<ECS::SpriteRenderer>();
            if (sprite != nullptr && sprite->shader != nullptr && sprite->texture != nullptr &&
                sprite->mesh != nullptr)
            {
                // Only the built-in program has a batched twin; others keep their uniforms.
                if (batching && batched != nullptr && sprite->shader == spriteShader)
                {
                    const std::size_t run = batch->Add(*sprite, *entity->GetComponent<ECS::Transform>());
                    if (plan.commands.empty() || plan.commands.back().kind != Command::KIND::RUN ||
                        plan.commands.back().run != run)
                    {
                        plan.commands.push_back({Command::KIND::RUN, run, nullptr});
                    }
                }
                else
                {
                    batch->Cut();
                    plan.commands.push_back({Command::KIND::SPRITE, 0, entity});
                }
            }
            if (entity->GetComponent<ECS::ParticleEmitter>() != nullptr)
            {
                batch->Cut();
                plan.commands.push_back({Command::KIND::PARTICLES, 0, entity});
            }
        }
        batch->Cut(); // runs never cross layers
    }
}

void GraphicsSystem::BindTarget(const LayerPlan& plan)
{
    const Window& window = services.window;
    if (plan.direct)
    {
        // As the composite would leave it: bars transparent black, the picture the layer's.
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(window.viewportX, window.viewportY, window.viewportWidth, window.viewportHeight);
        const VarnColor& c = window.clearColour;
        glClearColor(c.r, c.g, c.b, c.a);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glViewport(window.viewportX, window.viewportY, window.viewportWidth, window.viewportHeight);
        return;
    }
    // The first layer cleared in a frame takes the window's colour; later ones stay clear.
    const LayerFramebuffer* target = services.layers.Get(plan.layer);
    glBindFramebuffer(GL_FRAMEBUFFER, target->fbo);
    // The layer image fills its framebuffer; only the composite is letter-boxed. Drawing
    // through the window's offset viewport here would cut a strip off the picture.
    glViewport(0, 0, target->width, target->height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

void GraphicsSystem::RenderLayers()
{
    const Camera* camera = scene->mainCamera ? scene->mainCamera->GetComponent<Camera>() : nullptr;
    const Resource::Shader* spriteShader =
        services.resources.FindShader(Resource::ResourceManager::SPRITE_SHADER);
    const Resource::Shader* batched =
        services.resources.FindShader(Resource::ResourceManager::SPRITE_BATCH_SHADER);
    if (batched != nullptr && batched->program == 0)
    {
        batched = nullptr; // a driver that refused it: every sprite on its own
    }
    const Resource::Shader* unlit =
        services.resources.FindShader(Resource::ResourceManager::SPRITE_BATCH_UNLIT_SHADER);
    if (unlit == nullptr || unlit->program == 0)
    {
        unlit = batched; // the lit program with no lights draws the same
    }
    batchedRuns = 0;
    plans.clear();
    if (camera == nullptr || drawLists.empty())
    {
        return; // nothing to draw: no layer pass at all
    }
    if (batch == nullptr)
    {
        batch = std::make_unique<SpriteBatch>();
    }
    Record(batched);
    batchedRuns = batch->runs.size();
    const auto* eye = scene->mainCamera->GetComponent<ECS::Transform>();
    batch->Upload(*camera, eye != nullptr ? eye->position : Vector4{});

    static const std::vector<ECS::IEntity*> noLights;
    glEnable(GL_BLEND);
    for (const LayerPlan& plan : plans)
    {
        BindTarget(plan);

        // Sprites with the built-in program drawn one by one read its light uniforms.
        if (spriteShader != nullptr && (!batching || batched == nullptr))
        {
            const auto lights = lightLists.find(plan.layer);
            SetLightUniforms(*spriteShader, lights == lightLists.end() ? noLights : lights->second);
        }
        batch->UseLights(plan.lights);
        for (const Command& command : plan.commands)
        {
            switch (command.kind)
            {
            case Command::KIND::RUN:
                glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_ONE);
                batch->Draw(plan.unlit ? *unlit : *batched, command.run);
                break;
            case Command::KIND::SPRITE:
                DrawSprite(*command.entity, *camera);
                break;
            case Command::KIND::PARTICLES:
                scene->particleSystem->Draw(*command.entity->GetComponent<ECS::ParticleEmitter>(), *camera);
                break;
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
    const bool direct = !plans.empty() && plans.front().direct;
    if (!direct)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    }
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); // layer images are premultiplied
    for (const LayerFramebufferRecord& record : layers)
    {
        // Only what was drawn into this frame: a layer touched for its effect alone holds an
        // older picture, and one drawn straight into the window is there already.
        const auto plan = std::find_if(plans.begin(), plans.end(),
                                       [&record](const LayerPlan& p) { return p.layer == record.layer; });
        if (record.used && plan != plans.end() && !plan->direct)
        {
            record.framebuffer->Draw(screenQuadVao);
        }
    }
    glDisable(GL_BLEND);
    // A layer is cleared when it is next drawn into; one that draws nothing is not touched.
    for (LayerFramebufferRecord& record : layers)
    {
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
