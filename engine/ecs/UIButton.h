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

namespace Varn::UIComponent
{

class UIButton final : public ECS::IComponent
{
public:
    UIButton();
    ~UIButton() override;

    void Register() override;
    void BuildProperties() override;
    std::unique_ptr<ECS::IComponent> Clone() const override;

    float opacity = 1.0f;                                // "Opacity"
    Resource::Texture2D* buttonTextureDefault = nullptr; // "Button Texture Default"; never null once constructed
    Resource::Texture2D* buttonTextureHover = nullptr;   // "Button Texture Hover"; never null once constructed
    Resource::Texture2D* buttonTextureDown = nullptr;    // "Button Texture Down"; never null once constructed
    Resource::Mesh2D* buttonMesh = nullptr;              // "Button Mesh"; null until the default meshes exist
    Resource::Shader* buttonShader = nullptr;            // "Button Shader"; null until the built-in shaders exist
    std::array<float, 2> texOffset{0, 0};                // texture-coordinate offset; buttons show one cell
    Resource::Texture2D* currentTexture = nullptr;       // one of the three above: what is drawn now
    bool isDown = false;                                 // left button held over the button
    bool clicked = false;                                // left button went down over it this step
    bool hovered = false;                                // cursor over it, left button not held
};

} // namespace Varn::UIComponent
