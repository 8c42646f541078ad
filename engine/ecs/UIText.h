#pragma once
// A line of screen-space text placed by the entity's Transform and drawn glyph by glyph by the
// UITextSystem. Content and scripts write every field.
#include "core/VarnColor.h"
#include "ecs/IComponent.h"

#include <string>

namespace Varn::Resource
{
class FontSet;
class Shader;
} // namespace Varn::Resource

namespace Varn::ECS
{

class UIText final : public IComponent
{
public:
    UIText();
    void UseDefaults(const Services& services) override;
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    std::string text;                   // "Text"
    Resource::FontSet* font = nullptr;  // "Font"; null until the default font is loaded
    Resource::Shader* shader = nullptr; // "Shader"; null until the built-in shaders exist
    VarnColor color{1, 1, 1, 1};        // "Color"
};

} // namespace Varn::ECS
