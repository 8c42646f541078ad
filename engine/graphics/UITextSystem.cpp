#include "graphics/UITextSystem.h"

#include "core/Window.h"
#include "ecs/Camera.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/Transform.h"
#include "ecs/UIText.h"
#include "graphics/UIView.h"
#include "resource/FontSet.h"
#include "resource/GLContext.h"
#include "resource/ResourceManager.h"
#include "resource/Shader.h"

#include <glbinding/gl33core/gl.h>

#include <cmath>

using namespace gl33core;

namespace Varn::Graphics
{

namespace
{

float ColumnLength(const Matrix4& matrix, int column)
{
    const auto& m = matrix.m;
    return std::sqrt(m[0][column] * m[0][column] + m[1][column] * m[1][column] + m[2][column] * m[2][column] +
                     m[3][column] * m[3][column]);
}

} // namespace

void UITextSystem::DrawString(const Resource::FontSet& font, const std::string& text, float x, float y,
                              float sx, float sy, unsigned textVbo)
{
    for (const char byte : text)
    {
        const auto found = font.characters.find(byte);
        if (found == font.characters.end())
        {
            continue; // no glyph: nothing drawn, no advance
        }
        const Resource::Character& glyph = found->second;
        const float xpos = x + static_cast<float>(glyph.bearing[0]) * sx;
        const float ypos = y - static_cast<float>(glyph.size[1] - glyph.bearing[1]) * sy;
        const float w = static_cast<float>(glyph.size[0]) * sx;
        const float h = static_cast<float>(glyph.size[1]) * sy;
        const float vertices[6][4] = {{xpos, ypos + h, 0.0f, 0.0f}, {xpos, ypos, 0.0f, 1.0f},
                                      {xpos + w, ypos, 1.0f, 1.0f}, {xpos, ypos + h, 0.0f, 0.0f},
                                      {xpos + w, ypos, 1.0f, 1.0f}, {xpos + w, ypos + h, 1.0f, 0.0f}};
        glBindTexture(GL_TEXTURE_2D, glyph.textureId);
        glBindBuffer(GL_ARRAY_BUFFER, textVbo);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        x += static_cast<float>(glyph.advance >> 6) * sx; // whole pixels
    }
}

UITextSystem::UITextSystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<ECS::UIText>();
}

void UITextSystem::Update(const float& /*dt*/)
{
    const Resource::ResourceManager& resources = services.resources;
    const ECS::Camera* camera = scene->mainCamera ? scene->mainCamera->GetComponent<ECS::Camera>() : nullptr;
    if (camera == nullptr || resources.textVao == 0 || !Resource::HasCurrentGLContext())
    {
        return;
    }
    const UIView ui = UIView::Of(*camera, scene->playing);
    const Window& window = services.window;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(window.viewportX, window.viewportY, window.viewportWidth, window.viewportHeight);
    for (const ECS::IEntity* entity : entities)
    {
        const auto* text = entity->GetComponent<ECS::UIText>();
        const auto* transform = entity->GetComponent<ECS::Transform>();
        if (text == nullptr || transform == nullptr || !text->IsActive() || !transform->IsActive() ||
            text->text.empty() || text->font == nullptr || text->shader == nullptr)
        {
            continue;
        }
        const Matrix4& world = transform->worldMatrix;
        const float sx = ColumnLength(world, 0) * ui.factor;
        const float sy = ColumnLength(world, 1) * ui.factor;

        const GLuint program = text->shader->program;
        glUseProgram(program);
        glUniform3f(text->shader->Location("textColor"), text->color.r, text->color.g, text->color.b);
        glUniformMatrix4fv(text->shader->Location("projection"), 1, GL_FALSE, ui.projection.data());
        glUniformMatrix4fv(text->shader->Location("view"), 1, GL_FALSE, ui.view.data());
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glActiveTexture(GL_TEXTURE0);
        glBindVertexArray(resources.textVao);
        DrawString(*text->font, text->text, world.m[0][3] * ui.factor, world.m[1][3] * ui.factor, sx, sy,
                   resources.textVbo);
        glBindVertexArray(0);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_BLEND);
    }
}

} // namespace Varn::Graphics
