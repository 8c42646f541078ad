#include "ecs/UIText.h"

#include "core/Engine.h"
#include "core/Scene.h"
#include "ecs/IEntity.h"
#include "graphics/UITextSystem.h"
#include "resource/ResourceManager.h"

namespace Varn::UIComponent
{

using System::ResourceManager;

UIText::UIText() : IComponent("UI Text")
{
    const ResourceManager& resources = *Engine::Instance().resources;
    font = resources.FindFont(ResourceManager::DEFAULT_FONT);
    shader = resources.FindShader(ResourceManager::TEXT_SHADER);
}

UIText::~UIText()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->uiTextSystem->RemoveEntity(owner);
    }
}

void UIText::Register()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->uiTextSystem->AddEntity(owner);
    }
}

void UIText::BuildProperties()
{
    properties.clear();
    properties.push_back(ECS::Property::Of("Text", &text));
    properties.push_back(ECS::Property::Of("Font", &font));
    properties.push_back(ECS::Property::Of("Shader", &shader));
    properties.push_back(ECS::Property::Of("Color", &color));
}

std::unique_ptr<ECS::IComponent> UIText::Clone() const
{
    auto copy = std::make_unique<UIText>();
    copy->text = text;
    copy->font = font;
    copy->shader = shader;
    copy->color = color;
    return FinishClone(std::move(copy));
}

} // namespace Varn::UIComponent
