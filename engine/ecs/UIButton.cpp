#include "ecs/UIButton.h"

#include "core/Engine.h"
#include "core/Scene.h"
#include "ecs/IEntity.h"
#include "ecs/UIImage.h"
#include "graphics/UIButtonSystem.h"
#include "graphics/UIGraphicsSystem.h"
#include "resource/ResourceManager.h"

namespace Varn::UIComponent
{

using System::ResourceManager;

UIButton::UIButton() : IComponent("UI Button")
{
    ResourceManager& resources = *Engine::Instance().resources;
    buttonTextureDefault = resources.GetTexture(ResourceManager::DEFAULT_TEXTURE);
    buttonTextureHover = buttonTextureDefault;
    buttonTextureDown = buttonTextureDefault;
    buttonMesh = resources.FindMesh(ResourceManager::DEFAULT_MESH);
    buttonShader = resources.FindShader(ResourceManager::SPRITE_SHADER);
    currentTexture = buttonTextureDefault;
}

UIButton::~UIButton()
{
    if (owner == nullptr || owner->scene == nullptr)
    {
        return;
    }
    owner->scene->uiButtonSystem->RemoveEntity(owner);
    // An image keeps the entity in the UI drawing pass.
    if (!owner->HasAnyComponent<UIImage>())
    {
        owner->scene->uiGraphicsSystem->RemoveEntity(owner);
    }
}

void UIButton::Register()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        // A button joins its scene showing its own default texture, which its block may have
        // replaced after construction; the first hit test sizes the button from it.
        currentTexture = buttonTextureDefault;
        owner->scene->uiGraphicsSystem->AddEntity(owner);
        owner->scene->uiButtonSystem->AddEntity(owner);
    }
}

void UIButton::BuildProperties()
{
    properties.clear();
    properties.push_back(ECS::Property::Of("Opacity", &opacity));
    properties.push_back(ECS::Property::Of("Button Texture Default", &buttonTextureDefault));
    properties.push_back(ECS::Property::Of("Button Texture Hover", &buttonTextureHover));
    properties.push_back(ECS::Property::Of("Button Texture Down", &buttonTextureDown));
    properties.push_back(ECS::Property::Of("Button Mesh", &buttonMesh));
    properties.push_back(ECS::Property::Of("Button Shader", &buttonShader));
}

std::unique_ptr<ECS::IComponent> UIButton::Clone() const
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

} // namespace Varn::UIComponent
