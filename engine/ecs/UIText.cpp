#include "ecs/UIText.h"

#include "resource/ResourceManager.h"

namespace Varn::ECS
{

using Resource::ResourceManager;

UIText::UIText() : IComponent("UI Text")
{
}

void UIText::UseDefaults(const Services& services)
{
    const ResourceManager& resources = services.resources;
    font = resources.FindFont(ResourceManager::DEFAULT_FONT);
    shader = resources.FindShader(ResourceManager::TEXT_SHADER);
}

void UIText::BuildProperties()
{
    properties = {
        Property::Of("Text", &text),
        Property::Of("Font", &font),
        Property::Of("Shader", &shader),
        Property::Of("Color", &color),
    };
}

std::unique_ptr<IComponent> UIText::Clone() const
{
    auto copy = std::make_unique<UIText>();
    copy->text = text;
    copy->font = font;
    copy->shader = shader;
    copy->color = color;
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
