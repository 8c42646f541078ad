#pragma once
// What an author sees over the game with F3 (or --overlay): frames per second, the frame's and
// each system's time, the steps run, the entity count, the outline of every collider (trigger
// areas in their own colour), the rays cast since the last frame, and the last log lines.
// Drawn after the UI. While hidden it draws nothing, makes no OpenGL objects and asks the
// physics to record no rays: the frame loop's one flag test is its whole cost.
#include "core/ISystem.h"
#include "core/Services.h"
#include "core/VarnColor.h"

#include <cstddef>
#include <string>
#include <vector>

namespace Varn::ECS
{
class Scene;
}
namespace Varn::Resource
{
class Shader;
}

namespace Varn::Graphics
{

// The frame loop's numbers for one displayed frame.
struct OverlayStats
{
    double fps = 0.0;
    double frameSeconds = 0.0;
    int steps = 0; // simulation steps the frame ran
    std::size_t entities = 0;
    std::vector<SystemTime> systems;
};

class DebugOverlay
{
public:
    static constexpr const char* LINE_SHADER = "overlayLineShader";
    static constexpr VarnColor SOLID{0.2f, 1.0f, 0.3f, 1.0f};
    static constexpr VarnColor TRIGGER{1.0f, 0.8f, 0.1f, 1.0f};
    static constexpr VarnColor RAY{1.0f, 0.3f, 0.3f, 1.0f};
    static constexpr float TEXT_SCALE = 0.35f; // of the 48-pixel glyphs

    explicit DebugOverlay(const Services& services) : services(services) {}
    ~DebugOverlay(); // deletes its line buffer
    DebugOverlay(const DebugOverlay&) = delete;
    DebugOverlay& operator=(const DebugOverlay&) = delete;

    // Shows or hides it; the scene's physics records rays only while it shows.
    void SetVisible(ECS::Scene& scene, bool show);
    bool Visible() const { return visible; }
    // Draws over the window's picture; nothing while hidden.
    void Draw(ECS::Scene& scene, const OverlayStats& stats);
    // The text it shows for `stats`, one entry a line: the numbers, then the log's last lines.
    std::vector<std::string> Text(const OverlayStats& stats) const;

private:
    // Outlines as line-segment pairs of (x, y) points, world units.
    void Outlines(const ECS::Scene& scene, std::vector<float>& solid, std::vector<float>& trigger) const;
    // Segments in the current camera's view, with `shader` (the line program) in use.
    void DrawLines(const Resource::Shader& shader, const std::vector<float>& points, const VarnColor& colour);
    void DrawText(const std::vector<std::string>& lines);

    const Services& services;
    bool visible = false;
    unsigned vao = 0, vbo = 0;
};

} // namespace Varn::Graphics
