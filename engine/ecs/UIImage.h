#pragma once
// A screen-space picture placed by the entity's Transform and drawn by the UIGraphicsSystem
// over the world. Content and scripts write the serialised fields; the AnimationSystem writes
// texOffset and frame when the entity has no SpriteRenderer.
#include "core/VarnColor.h"
#include "ecs/IComponent.h"

#include <array>
#include <cstdint>

namespace Varn::Resource
{
class Texture2D;
class Mesh2D;
class Shader;
} // namespace Varn::Resource

namespace Varn::ECS
{

class UIImage final : public IComponent
{
public:
    UIImage();
    void UseDefaults(const Services& services) override;
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    float opacity = 1.0f;                   // "Opacity"
    Resource::Texture2D* texture = nullptr; // "Texture"; the default one once UseDefaults ran
    Resource::Mesh2D* mesh = nullptr;       // "Mesh"; null until the default meshes exist
    Resource::Shader* shader = nullptr;     // "Shader"; null until the built-in shaders exist
    VarnColor tint{1, 1, 1, 1};             // "Tint"
    std::array<float, 2> texOffset{0, 0};   // texture-coordinate offset of the sheet cell shown
    uint64_t frame = 0;                     // index of that cell
};

} // namespace Varn::ECS
