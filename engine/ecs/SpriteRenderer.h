#pragma once
// How an entity looks in the world: a textured, tinted quad that the GraphicsSystem draws in
// the entity's layer. Content and scripts write the serialised fields; the AnimationSystem
// writes texOffset and frame. Resources belong to the ResourceManager.
#include "core/VarnColor.h"
#include "core/Vector4.h"
#include "ecs/IComponent.h"

#include <array>
#include <cstdint>
#include <optional>

namespace Varn::Resource
{
class Texture2D;
class Mesh2D;
class Shader;
} // namespace Varn::Resource

namespace Varn::ECS
{

class SpriteRenderer final : public IComponent
{
public:
    SpriteRenderer();
    void UseDefaults(const Services& services) override;
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    // One sheet cell's size in world units at `scale` (x and y; z and w 0): the extent that
    // colliders, culling and the mouse take for the sprite. None without a texture or a mesh.
    std::optional<Vector4> Extent(const Vector4& scale) const;

    float opacity = 1.0f;                   // "Opacity": 0 transparent to 1 opaque
    Resource::Texture2D* texture = nullptr; // "Texture"; the default one once UseDefaults ran
    VarnColor tint{1, 1, 1, 1};             // "Tint": multiplies the texture colour
    Resource::Mesh2D* mesh = nullptr;       // "Mesh"; null until the default meshes exist
    Resource::Shader* shader = nullptr;     // "Shader"; null until the built-in shaders exist
    bool receiveLight = true;               // "Receive Light"
    bool visible = true;                    // false keeps the sprite out of the graphics pass
    std::array<float, 2> texOffset{0, 0};   // texture-coordinate offset of the sheet cell shown
    uint64_t frame = 0;                     // index of that cell, left to right, top to bottom
};

} // namespace Varn::ECS
