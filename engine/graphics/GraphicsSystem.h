#pragma once
// Draws the world once per displayed frame: every sprite (and emitter) of the scene seen
// through the main camera, lit by point lights, each render layer into its own framebuffer,
// then the layers composited in ascending order. Collection runs on the engine's workers and
// writes only the Transform worldScale and particle visibility of each slice's own entities.
#include "core/ISystem.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace Varn::ECS
{
class Camera;
}
namespace Varn::Resource
{
class Shader;
}

namespace Varn::Graphics
{

class SpriteBatch;

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
    // false: every sprite is drawn on its own, with uniforms; the batched path must give the
    // same pixels, and tests compare the two.
    bool batching = true;
    std::size_t batchedRuns = 0; // instanced sprite draws in the last frame drawn

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
    // What a layer draws, in order: a run of the batch, a sprite with a program of its own,
    // or an emitter's particles.
    struct Command
    {
        enum class KIND
        {
            RUN,
            SPRITE,
            PARTICLES,
        };
        KIND kind;
        std::size_t run;            // RUN: index into the batch's runs
        const ECS::IEntity* entity; // SPRITE and PARTICLES
    };
    struct LayerPlan
    {
        int32_t layer = 0;
        bool direct = false;    // drawn straight into the window: the lowest layer, no effect
        std::size_t lights = 0; // the batch's light block for the layer
        bool unlit = false;     // no light reaches the layer: its runs use the unlit program
        std::vector<Command> commands;
    };

    void SortByDepth(std::vector<ECS::IEntity*>& list);
    void Record(const Resource::Shader* batched);
    void BindTarget(const LayerPlan& plan);
    void RenderLayers();
    void SetLightUniforms(const Resource::Shader& shader, const std::vector<ECS::IEntity*>& lights);
    void DrawSprite(const ECS::IEntity& entity, const ECS::Camera& camera) const;
    void Composite();
    void CreateScreenQuad();

    std::unique_ptr<SpriteBatch> batch;                      // made with the first frame drawn
    std::vector<LayerPlan> plans;                            // this frame's, one per layer that draws
    std::vector<std::pair<float, ECS::IEntity*>> depthOrder; // reused by SortByDepth
    std::vector<std::array<int32_t, 6>> lightLocations;      // of the built-in program's light array
    uint32_t lightLocationsProgram = 0;                      // the program they belong to
};

} // namespace Varn::Graphics
