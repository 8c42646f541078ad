#include "ecs/UIButton.h"

#include "resource/ResourceManager.h"

namespace Varn::ECS
{

using Resource::ResourceManager;

UIButton::UIButton() : IComponent("UI Button")
{
}

void UIButton::UseDefaults(const Services& services)
{
    ResourceManager& resources = services.resources;
    buttonTextureDefault = resources.GetTexture(ResourceManager::DEFAULT_TEXTURE);
    buttonTextureHover = buttonTextureDefault;
    buttonTextureDown = buttonTextureDefault;
    buttonMesh = resources.FindMesh(ResourceManager::DEFAULT_MESH);
    buttonShader = resources.FindShader(ResourceManager::SPRITE_SHADER);
    currentTexture = buttonTextureDefault;
}

void UIButton::BuildProperties()
{
    properties = {
        Property::Of("Opacity", &opacity),
        Property::Of("Button Texture Default", &buttonTextureDefault),
        Property::Of("Button Texture Hover", &buttonTextureHover),
        Property::Of("Button Texture Down", &buttonTextureDown),
        Property::Of("Button Mesh", &buttonMesh),
        Property::Of("Button Shader", &buttonShader),
    };
}

std::unique_ptr<IComponent> UIButton::Clone() const
{
    auto copy = std::make_unique<UIButton>();
    copy->opacity = opacity;
    copy->buttonTextureDefault = buttonTextureDefault;
    copy->buttonTextureHover = buttonTextureHover;
    copy->buttonTextureDown = buttonTextureDown;
    copy->buttonMesh = buttonMesh;
    copy->buttonShader = buttonShader;
    copy->texOffset = texOffset;
    copy->currentTexture = currentTexture;
    copy->isDown = isDown;
    copy->clicked = clicked;
    copy->hovered = hovered;
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
