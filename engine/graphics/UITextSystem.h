#pragma once
// Draws UI text over the composited world, once per displayed frame: each byte of a text is
// one glyph quad written into the resource manager's shared text buffer and drawn on its own.
// Placement follows the same UI view and factor as the UI images. There is no line breaking;
// a byte the font has no glyph for draws nothing and takes no room. Texts without a font
// (theirs failed to load) are skipped. Reads components only.
#include "core/ISystem.h"

#include <string>

namespace Varn::Resource
{
class FontSet;
}

namespace Varn::Graphics
{

class UITextSystem : public ISystem
{
public:
    UITextSystem(ECS::Scene* scene, const Services& services);
    void Update(const float& dt) override; // dt unused

    // Draws one line of `text` with the pen starting at (x, y) on the baseline, glyphs scaled
    // by (sx, sy), through `textVbo`. The text program, its matrices and colour, and the text
    // vertex array must be bound.
    static void DrawString(const Resource::FontSet& font, const std::string& text, float x, float y, float sx,
                           float sy, unsigned textVbo);
};

} // namespace Varn::Graphics
