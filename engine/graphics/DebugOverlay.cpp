#include "graphics/DebugOverlay.h"

#include "core/Logger.h"
#include "core/Window.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/Camera.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/Transform.h"
#include "graphics/UITextSystem.h"
#include "physics/PhysicsSystem.h"
#include "resource/BuiltinShaders.h"
#include "resource/GLContext.h"
#include "resource/ResourceManager.h"
#include "resource/Shader.h"

#include <glbinding/gl33core/gl.h>

#include <array>
#include <cmath>
#include <cstdio>

using namespace gl33core;

namespace Varn::Graphics
{

namespace
{
constexpr int CIRCLE_SEGMENTS = 24;
constexpr float LINE_SPACING = 18.0f; // pixels between text baselines
constexpr float MARGIN = 8.0f;        // pixels from the picture's top-left corner
constexpr std::size_t SYSTEMS_PER_LINE = 4;

void Segment(std::vector<float>& into, const Vector4& from, const Vector4& to)
{
    into.insert(into.end(), {from.x, from.y, to.x, to.y});
}
} // namespace

DebugOverlay::~DebugOverlay()
{
    if (Resource::HasCurrentGLContext())
    {
        glDeleteBuffers(1, &vbo);
        glDeleteVertexArrays(1, &vao);
    }
}

void DebugOverlay::SetVisible(ECS::Scene& scene, bool show)
{
    visible = show;
    scene.physicsSystem->recordRays = show;
    scene.physicsSystem->castRays.clear();
}

std::vector<std::string> DebugOverlay::Text(const OverlayStats& stats) const
{
    std::vector<std::string> lines;
    char line[160];
    std::snprintf(line, sizeof line, "%.0f fps  frame %.2f ms  %d steps  %zu entities", stats.fps,
                  stats.frameSeconds * 1000.0, stats.steps, stats.entities);
    lines.emplace_back(line);
    for (std::size_t first = 0; first < stats.systems.size(); first += SYSTEMS_PER_LINE)
    {
        std::string systems;
        for (std::size_t i = first; i < std::min(stats.systems.size(), first + SYSTEMS_PER_LINE); ++i)
        {
            std::snprintf(line, sizeof line, "%s%s %.2f ms", systems.empty() ? "" : "  ",
                          stats.systems[i].name, static_cast<double>(stats.systems[i].seconds) * 1000.0);
            systems += line;
        }
        lines.push_back(systems);
    }
    for (const std::string& logged : services.logger.Recent())
    {
        lines.push_back("> " + logged);
    }
    return lines;
}

void DebugOverlay::Outlines(const ECS::Scene& scene, std::vector<float>& solid,
                            std::vector<float>& trigger) const
{
    for (const Physics::PhysicsSystem::PhysicsEntry& entry : scene.physicsSystem->physicsEntities)
    {
        const ECS::IEntity* entity = entry.entity;
        const auto* t = entity->GetComponent<ECS::Transform>();
        if (t == nullptr || !entity->IsActiveInHierarchy())
        {
            continue;
        }
        if (const auto* circle = entity->GetComponent<ECS::CircleCollider2D>();
            circle != nullptr && circle->IsActive())
        {
            const Physics::CircleShape shape = Physics::PhysicsSystem::CircleOf(*t, *circle);
            std::vector<float>& into = circle->isTrigger ? trigger : solid;
            for (int i = 0; i < CIRCLE_SEGMENTS; ++i)
            {
                const float a = 6.2831853f * static_cast<float>(i) / CIRCLE_SEGMENTS;
                const float b = 6.2831853f * static_cast<float>(i + 1) / CIRCLE_SEGMENTS;
                Segment(into, shape.centre + Vector4{std::cos(a), std::sin(a), 0, 0} * shape.radius,
                        shape.centre + Vector4{std::cos(b), std::sin(b), 0, 0} * shape.radius);
            }
        }
        if (const auto* box = entity->GetComponent<ECS::BoxCollider2D>(); box != nullptr && box->IsActive())
        {
            const Physics::BoxShape shape = Physics::PhysicsSystem::BoxOf(*t, *box);
            std::vector<float>& into = box->isTrigger ? trigger : solid;
            for (std::size_t i = 0; i < 4; ++i)
            {
                Segment(into, shape.corners[i], shape.corners[(i + 1) % 4]);
            }
        }
    }
}

void DebugOverlay::DrawLines(const Resource::Shader& shader, const std::vector<float>& points,
                             const VarnColor& colour)
{
    if (points.empty())
    {
        return;
    }
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(points.size() * sizeof(float)), points.data(),
                 GL_STREAM_DRAW);
    glUniform4f(shader.Location("colour"), colour.r, colour.g, colour.b, colour.a);
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(points.size() / 2));
}

void DebugOverlay::DrawText(const std::vector<std::string>& lines)
{
    Resource::ResourceManager& resources = services.resources;
    const Resource::Shader* shader = resources.FindShader(Resource::ResourceManager::TEXT_SHADER);
    const Resource::FontSet* font = resources.FindFont(Resource::ResourceManager::DEFAULT_FONT);
    if (shader == nullptr || font == nullptr || resources.textVao == 0)
    {
        return;
    }
    // Pixels of the drawing area, origin at its lower-left corner.
    const float width = static_cast<float>(services.window.viewportWidth);
    const float height = static_cast<float>(services.window.viewportHeight);
    const std::array<float, 16> pixels{2.0f / width, 0,  0, 0, 0, 2.0f / height, 0, 0, 0, 0, -1, 0,
                                       -1,           -1, 0, 1};
    const std::array<float, 16> identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    glUseProgram(shader->program);
    glUniformMatrix4fv(shader->Location("projection"), 1, GL_FALSE, pixels.data());
    glUniformMatrix4fv(shader->Location("view"), 1, GL_FALSE, identity.data());
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(resources.textVao);
    // A dark copy one pixel down and right keeps the text readable over any picture.
    for (const auto& [offset, grey] : {std::pair{1.0f, 0.0f}, std::pair{0.0f, 1.0f}})
    {
        glUniform3f(shader->Location("textColor"), grey, grey, grey);
        float y = height - MARGIN - LINE_SPACING;
        for (const std::string& line : lines)
        {
            UITextSystem::DrawString(*font, line, MARGIN + offset, y - offset, TEXT_SCALE, TEXT_SCALE,
                                     resources.textVbo);
            y -= LINE_SPACING;
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

void DebugOverlay::Draw(ECS::Scene& scene, const OverlayStats& stats)
{
    if (!visible || !Resource::HasCurrentGLContext())
    {
        return;
    }
    Resource::ResourceManager& resources = services.resources;
    if (vao == 0)
    {
        resources.CreateShader(Resource::BuiltinShaders::LINE_VERTEX, Resource::BuiltinShaders::LINE_FRAGMENT,
                               nullptr, LINE_SHADER);
        glGenVertexArrays(1, &vao);
        glGenBuffers(1, &vbo);
        glBindVertexArray(vao);
        glBindBuffer(GL_ARRAY_BUFFER, vbo);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 2 * sizeof(float), nullptr);
    }
    const Window& window = services.window;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(window.viewportX, window.viewportY, window.viewportWidth, window.viewportHeight);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    const Resource::Shader* lines = resources.FindShader(LINE_SHADER);
    const auto* camera =
        scene.mainCamera != nullptr ? scene.mainCamera->GetComponent<ECS::Camera>() : nullptr;
    if (lines != nullptr && camera != nullptr)
    {
        std::vector<float> solid, trigger, rays;
        Outlines(scene, solid, trigger);
        for (const auto& [from, to] : scene.physicsSystem->castRays)
        {
            Segment(rays, from, to);
        }
        glUseProgram(lines->program);
        glUniformMatrix4fv(lines->Location("projection"), 1, GL_FALSE, camera->projection.data());
        glUniformMatrix4fv(lines->Location("view"), 1, GL_FALSE, camera->view.data());
        DrawLines(*lines, solid, SOLID);
        DrawLines(*lines, trigger, TRIGGER);
        DrawLines(*lines, rays, RAY);
    }
    scene.physicsSystem->castRays.clear();
    scene.physicsSystem->recordRays = true; // also for a scene made after the overlay was shown
    DrawText(Text(stats));
    glBindVertexArray(0);
    glDisable(GL_BLEND);
}

} // namespace Varn::Graphics
