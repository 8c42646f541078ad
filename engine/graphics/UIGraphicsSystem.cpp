#include "graphics/UIGraphicsSystem.h"

#include "core/Clock.h"
#include "core/Window.h"
#include "ecs/Camera.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/Transform.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "graphics/UIView.h"
#include "resource/GLContext.h"
#include "resource/Mesh2D.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <array>

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

void DrawElement(const Element& e, ECS::Transform& transform, const UIView& ui)
{
    if (e.texture == nullptr || e.mesh == nullptr || e.shader == nullptr)
    {
        return;
    }
    const float w = static_cast<float>(e.texture->width) / static_cast<float>(std::max(1u, e.mesh->columns));
    const float h = static_cast<float>(e.texture->height) / static_cast<float>(std::max(1u, e.mesh->rows));
    transform.worldScale = {transform.scale.x * w * e.sizeZoom, transform.scale.y * h * e.sizeZoom, 0.0f,
                            0.0f};

    // Position and size both scale with the UI factor, so the element holds its place on
    // screen at any zoom. A copy of the matrix leaves the Transform's own untouched.
    Matrix4 model = transform.worldMatrix;
    model.m[0][3] *= ui.factor;
    model.m[1][3] *= ui.factor;
    float imageScale[16] = {};
    imageScale[0] = ui.factor * w;
    imageScale[5] = ui.factor * h;
    imageScale[10] = imageScale[15] = 1.0f;

    const GLuint program = e.shader->program;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, e.texture->textureId);
    glUseProgram(program);
    glUniform1i(e.shader->Location("lightsInUse"), 0);
    glUniform3f(e.shader->Location("tint"), e.tint.r, e.tint.g, e.tint.b);
    glUniform1f(e.shader->Location("opacity"), e.opacity);
    glUniformMatrix4fv(e.shader->Location("imageScale"), 1, GL_FALSE, imageScale);
    glUniformMatrix4fv(e.shader->Location("model"), 1, GL_FALSE, &model.m[0][0]);
    glUniformMatrix4fv(e.shader->Location("view"), 1, GL_FALSE, ui.view.data());
    glUniformMatrix4fv(e.shader->Location("projection"), 1, GL_FALSE, ui.projection.data());
    glUniform2f(e.shader->Location("texOffset"), e.texOffset[0], e.texOffset[1]);
    glBindVertexArray(e.mesh->vao);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

} // namespace

UIGraphicsSystem::UIGraphicsSystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<ECS::UIImage, ECS::UIButton>();
}

void UIGraphicsSystem::Update(const float& /*dt*/)
{
    updateStartTicks = NowTicks();
    const ECS::Camera* camera = scene->mainCamera ? scene->mainCamera->GetComponent<ECS::Camera>() : nullptr;
    std::sort(entities.begin(), entities.end(),
              [](const ECS::IEntity* a, const ECS::IEntity* b) { return DepthOf(a) < DepthOf(b); });

    if (camera != nullptr && Resource::HasCurrentGLContext())
    {
        const UIView ui = UIView::Of(*camera, scene->playing);
        const Window& window = services.window;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(window.viewportX, window.viewportY, window.viewportWidth, window.viewportHeight);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        for (ECS::IEntity* entity : entities)
        {
            auto* transform = entity->GetComponent<ECS::Transform>();
            if (transform == nullptr || !transform->IsActive())
            {
                continue;
            }
            if (const auto* image = entity->GetComponent<ECS::UIImage>(); image && image->IsActive())
            {
                DrawElement({image->texture, image->mesh, image->shader, image->tint, image->opacity,
                             image->texOffset, camera->zoom},
                            *transform, ui);
            }
            if (const auto* button = entity->GetComponent<ECS::UIButton>(); button && button->IsActive())
            {
                DrawElement({button->currentTexture,
                             button->buttonMesh,
                             button->buttonShader,
                             {1, 1, 1, 1},
                             button->opacity,
                             button->texOffset,
                             camera->startZoom},
                            *transform, ui);
            }
        }
        glDisable(GL_BLEND);
    }
    lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - updateStartTicks) / 1e7);
}

} // namespace Varn::Graphics
