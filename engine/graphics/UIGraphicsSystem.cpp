#include "graphics/UIGraphicsSystem.h"

#include "core/Clock.h"
#include "core/Window.h"
#include "ecs/Camera.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/Transform.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "graphics/SpriteBatch.h"
#include "graphics/UIView.h"
#include "resource/GLContext.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceManager.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

using namespace gl33core;

namespace Varn::Graphics
{

namespace
{

// What one image or button draws with; the two components name their fields differently.
struct Element
{
    const Resource::Texture2D* texture;
    const Resource::Mesh2D* mesh;
    const Resource::Shader* shader;
    VarnColor tint;
    float opacity;
    std::array<float, 2> texOffset;
    float sizeZoom; // the zoom the Transform's worldScale is given at
};

float DepthOf(const ECS::IEntity* entity)
{
    const auto* transform = entity->GetComponent<ECS::Transform>();
    return transform ? transform->worldMatrix.m[2][3] : 0.0f;
}

// Where and how large an element lands.
struct Placement
{
    Matrix4 model;        // the Transform's world matrix, its position scaled by the UI factor
    float scaleX, scaleY; // one sheet cell in pixels, times the UI factor
};

// Position and size both scale with the UI factor, so the element holds its place on screen at
// any zoom. A copy of the matrix leaves the Transform's own untouched; its worldScale is what
// the button system tests the cursor against.
Placement Place(const Element& e, ECS::Transform& transform, const UIView& ui)
{
    const float w = static_cast<float>(e.texture->width) / static_cast<float>(std::max(1u, e.mesh->columns));
    const float h = static_cast<float>(e.texture->height) / static_cast<float>(std::max(1u, e.mesh->rows));
    transform.worldScale = {transform.scale.x * w * e.sizeZoom, transform.scale.y * h * e.sizeZoom, 0.0f,
                            0.0f};
    Placement placed{transform.worldMatrix, ui.factor * w, ui.factor * h};
    placed.model.m[0][3] *= ui.factor;
    placed.model.m[1][3] *= ui.factor;
    return placed;
}

void DrawAlone(const Element& e, const Placement& placed, const UIView& ui)
{
    float imageScale[16] = {};
    imageScale[0] = placed.scaleX;
    imageScale[5] = placed.scaleY;
    imageScale[10] = imageScale[15] = 1.0f;

    const GLuint program = e.shader->program;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, e.texture->textureId);
    glUseProgram(program);
    glUniform1i(e.shader->Location("lightsInUse"), 0);
    glUniform3f(e.shader->Location("tint"), e.tint.r, e.tint.g, e.tint.b);
    glUniform1f(e.shader->Location("opacity"), e.opacity);
    glUniformMatrix4fv(e.shader->Location("imageScale"), 1, GL_FALSE, imageScale);
    glUniformMatrix4fv(e.shader->Location("model"), 1, GL_FALSE, &placed.model.m[0][0]);
    glUniformMatrix4fv(e.shader->Location("view"), 1, GL_FALSE, ui.view.data());
    glUniformMatrix4fv(e.shader->Location("projection"), 1, GL_FALSE, ui.projection.data());
    glUniform2f(e.shader->Location("texOffset"), e.texOffset[0], e.texOffset[1]);
    glBindVertexArray(e.mesh->vao);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

// The frame's draws in order: a run of the batch, or an element drawn alone.
struct Draw
{
    std::size_t run = 0; // when `alone` is unset
    std::optional<std::pair<Element, Placement>> alone;
};

} // namespace

UIGraphicsSystem::UIGraphicsSystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<ECS::UIImage, ECS::UIButton>();
}

UIGraphicsSystem::~UIGraphicsSystem()
{
    if (!Resource::HasCurrentGLContext())
    {
        (void)batch.release(); // its buffers went with the context
    }
}

void UIGraphicsSystem::Update(const float& /*dt*/)
{
    updateStartTicks = NowTicks();
    batchedRuns = 0;
    const ECS::Camera* camera = scene->mainCamera ? scene->mainCamera->GetComponent<ECS::Camera>() : nullptr;
    std::sort(entities.begin(), entities.end(),
              [](const ECS::IEntity* a, const ECS::IEntity* b) { return DepthOf(a) < DepthOf(b); });
    if (camera == nullptr || !Resource::HasCurrentGLContext())
    {
        lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - updateStartTicks) / 1e7);
        return;
    }

    const UIView ui = UIView::Of(*camera, scene->playing);
    const Resource::Shader* spriteShader =
        services.resources.FindShader(Resource::ResourceManager::SPRITE_SHADER);
    const Resource::Shader* batched =
        services.resources.FindShader(Resource::ResourceManager::SPRITE_BATCH_SHADER);
    const bool useBatch = batching && batched != nullptr && batched->program != 0;
    // No light reaches UI: the unlit program draws the same, faster.
    if (const Resource::Shader* unlit =
            services.resources.FindShader(Resource::ResourceManager::SPRITE_BATCH_UNLIT_SHADER);
        unlit != nullptr && unlit->program != 0)
    {
        batched = unlit;
    }
    if (batch == nullptr)
    {
        batch = std::make_unique<SpriteBatch>();
    }
    batch->Clear();
    batch->AddLights({}, false);

    // Record the elements in depth order, then send the batch once and draw.
    std::vector<Draw> draws;
    auto record = [&](const Element& e, ECS::Transform& transform)
    {
        if (e.texture == nullptr || e.mesh == nullptr || e.shader == nullptr)
        {
            return;
        }
        const Placement placed = Place(e, transform, ui);
        if (useBatch && e.shader == spriteShader)
        {
            const std::size_t run = batch->Add({placed.model, placed.scaleX, placed.scaleY, e.texOffset,
                                                *e.mesh, *e.texture, e.tint, e.opacity, false});
            if (draws.empty() || draws.back().alone || draws.back().run != run)
            {
                draws.push_back({run, std::nullopt});
            }
            return;
        }
        batch->Cut();
        draws.push_back({0, std::pair{e, placed}});
    };
    for (ECS::IEntity* entity : entities)
    {
        auto* transform = entity->GetComponent<ECS::Transform>();
        if (transform == nullptr || !transform->IsActive())
        {
            continue;
        }
        if (const auto* image = entity->GetComponent<ECS::UIImage>(); image && image->IsActive())
        {
            record({image->texture, image->mesh, image->shader, image->tint, image->opacity, image->texOffset,
                    camera->zoom},
                   *transform);
        }
        if (const auto* button = entity->GetComponent<ECS::UIButton>(); button && button->IsActive())
        {
            record({button->currentTexture,
                    button->buttonMesh,
                    button->buttonShader,
                    {1, 1, 1, 1},
                    button->opacity,
                    button->texOffset,
                    camera->startZoom},
                   *transform);
        }
    }
    batchedRuns = batch->runs.size();
    batch->Upload(ui.projection, ui.view, Vector4{});

    const Window& window = services.window;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(window.viewportX, window.viewportY, window.viewportWidth, window.viewportHeight);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    batch->UseLights(0);
    for (const Draw& draw : draws)
    {
        if (draw.alone)
        {
            DrawAlone(draw.alone->first, draw.alone->second, ui);
        }
        else
        {
            batch->Draw(*batched, draw.run);
        }
    }
    glDisable(GL_BLEND);
    lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - updateStartTicks) / 1e7);
}

} // namespace Varn::Graphics
