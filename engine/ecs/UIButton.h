#pragma once
// A clickable screen-space element. The UIButtonSystem hit-tests it against the mouse each
// step, sets the state flags and picks currentTexture from the three textures; the
// UIGraphicsSystem draws currentTexture. Scripts read the flags and may set them.
#include "ecs/IComponent.h"

#include <array>

namespace Varn::Resource
{
class Texture2D;
class Mesh2D;
class Shader;
} // namespace Varn::Resource

namespace Varn::ECS
{

class UIButton final : public IComponent
{
public:
    UIButton();
    void UseDefaults(const Services& services) override;
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    // Null until UseDefaults points them at the defaults (mesh and shader stay null until
    // start-up has made those).
    float opacity = 1.0f;                                // "Opacity"
    Resource::Texture2D* buttonTextureDefault = nullptr; // "Button Texture Default"
    Resource::Texture2D* buttonTextureHover = nullptr;   // "Button Texture Hover"
    Resource::Texture2D* buttonTextureDown = nullptr;    // "Button Texture Down"
    Resource::Mesh2D* buttonMesh = nullptr;              // "Button Mesh"
    Resource::Shader* buttonShader = nullptr;            // "Button Shader"
    std::array<float, 2> texOffset{0, 0};                // texture-coordinate offset; one cell
    Resource::Texture2D* currentTexture = nullptr;       // one of the three above: drawn now
    bool isDown = false;                                 // left button held over the button
    bool clicked = false;                                // left button went down over it this step
    bool hovered = false;                                // cursor over it, left button not held
};

} // namespace Varn::ECS
