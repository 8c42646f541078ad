#pragma once
// Draws the world once per displayed frame: every sprite (and emitter) of the scene seen
// through the main camera, lit by point lights, each render layer into its own framebuffer,
// then the layers composited in ascending order. Collection runs on the engine's workers and
// writes only the Transform worldScale and particle visibility of each slice's own entities.
#include "core/ISystem.h"

#include <cstdint>
#include <map>
#include <vector>

namespace Varn::ECS
{
class Camera;
}

namespace Varn::Graphics
{

class GraphicsSystem : public ISystem
{
public:
    using LayerLists = std::map<int32_t, std::vector<ECS::IEntity*>>;

    GraphicsSystem(ECS::Scene* scene, const Services& services);
    ~GraphicsSystem() override;

    void Update(const float& dt) override; // dt unused

    // Collection alone: fills drawLists and lightLists for the current main camera.
    void CollectDrawables();

    LayerLists drawLists;       // per layer, this frame only
    LayerLists lightLists;      // per layer, this frame only
    uint32_t screenQuadVao = 0; // the full-screen quad of the composite; made with the first frame
    uint32_t screenQuadVbo = 0;
    bool lightingEnabled = true; // false: no light reaches any sprite

private:
    // One slice's findings, kept apart so the merge order does not depend on thread timing.
    struct Collected
    {
        LayerLists draw;
        LayerLists light;
        std::vector<ECS::IEntity*> globalLights;
    };

    void CollectSlice(std::size_t begin, std::size_t end, const ECS::IEntity& cameraEntity,
                      const ECS::Camera& camera, Collected& out) const;
    void RenderLayers();
    void SetLightUniforms(uint32_t program, const std::vector<ECS::IEntity*>& lights) const;
    void DrawSprite(const ECS::IEntity& entity, const ECS::Camera& camera) const;
    void Composite();
    void CreateScreenQuad();
};

} // namespace Varn::Graphics
