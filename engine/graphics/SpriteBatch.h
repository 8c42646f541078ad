#pragma once
// Many sprites in few draws. A frame's sprites are recorded, in drawing order, into one
// instance buffer that is uploaded once; consecutive sprites with the same texture form a run,
// drawn by one instanced call. The batch also owns the batched program's uniform blocks: the
// frame's projection, view and eye, and one block of lights per layer, all uploaded once per
// frame. Built and used on the thread that owns the OpenGL context.
#include "core/Matrix4.h"
#include "core/VarnColor.h"
#include "core/Vector4.h"
#include "resource/Mesh2D.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Varn::ECS
{
class Camera;
class IEntity;
class SpriteRenderer;
class Transform;
} // namespace Varn::ECS
namespace Varn::Resource
{
class Shader;
class Texture2D;
} // namespace Varn::Resource

namespace Varn::Graphics
{

class SpriteBatch
{
public:
    static constexpr std::size_t MAX_LIGHTS = 128; // as many as the sprite programs' light array

    // One textured quad as the batched program draws it: a sprite, or a UI element.
    struct Quad
    {
        const Matrix4& model;
        float scaleX = 1.0f, scaleY = 1.0f; // pixels per sheet cell, times any further scale
        const std::array<float, 2>& texOffset;
        const Resource::Mesh2D& mesh;
        const Resource::Texture2D& texture;
        VarnColor tint;
        float opacity = 1.0f;
        bool receiveLight = false;
    };

    struct Run
    {
        uint32_t texture = 0; // the OpenGL texture every sprite of the run samples
        uint32_t first = 0;   // index of the run's first instance
        uint32_t count = 0;
    };

    SpriteBatch(); // makes the buffers: a context must be current
    ~SpriteBatch();
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;

    // Forgets the last frame's sprites, runs and lights.
    void Clear();
    // Appends the quad and returns its run's index.
    std::size_t Add(const Quad& quad);
    // Appends the sprite, which must have a texture and a mesh, and returns its run's index.
    std::size_t Add(const ECS::SpriteRenderer& sprite, const ECS::Transform& transform);
    // The next sprite starts a new run: something else is drawn between the two.
    void Cut() { cut = true; }
    // Appends one layer's light block and returns its index. `lit` false: no light at all.
    std::size_t AddLights(const std::vector<ECS::IEntity*>& lights, bool lit);
    // Sends the recorded sprites and lights, and the frame block for `camera` seen from `eye`.
    void Upload(const ECS::Camera& camera, const Vector4& eye);
    // The same with the frame's matrices given (column-major).
    void Upload(const std::array<float, 16>& projection, const std::array<float, 16>& view,
                const Vector4& eye);

    // Binds light block `block` for the draws that follow.
    void UseLights(std::size_t block) const;
    // Draws run `run` with `program`, the batched sprite program.
    void Draw(const Resource::Shader& program, std::size_t run) const;

    std::vector<Run> runs;

private:
    struct Instance // one sprite, as the batched vertex stage reads it
    {
        float modelRows[16];     // the world matrix, row by row
        float scaleAndOffset[4]; // image scale x, y (pixels per cell); texture offset u, v
        float cellAndLight[4];   // cell width and height in texture units; receives light; unused
        float tintAndOpacity[4]; // tint r, g, b; opacity
    };

    std::vector<Instance> instances;
    std::vector<std::byte> lightBlocks; // lightStride bytes per block, std140
    bool cut = true;
    std::size_t lightStride = 0;
    Resource::Mesh2D quad{1, 1}; // one whole-texture cell; each instance scales its corners
    uint32_t instanceVbo = 0, frameUbo = 0, lightsUbo = 0;
    mutable uint32_t boundProgram = 0; // the program whose blocks were last tied to our bindings
};

} // namespace Varn::Graphics
