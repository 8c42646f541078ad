#include "resource/FontSet.h"

#include "core/FilePath.h"
#include "core/Logger.h"
#include "resource/GLContext.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace gl33core;

namespace Varn::Resource
{

namespace
{

// OpenGL wants rows top first and tightly packed; FreeType may pad rows or store them bottom
// first (negative pitch). Returns the bitmap itself when it is already in OpenGL's layout.
const unsigned char* TopDownRows(const FT_Bitmap& bitmap, std::vector<unsigned char>& packed)
{
    const std::size_t width = bitmap.width;
    const std::size_t rows = bitmap.rows;
    if (bitmap.pitch == static_cast<int>(width) || width == 0 || rows == 0)
    {
        return bitmap.buffer;
    }
    const std::size_t pitch = static_cast<std::size_t>(std::abs(bitmap.pitch));
    packed.resize(width * rows);
    for (std::size_t row = 0; row < rows; ++row)
    {
        const std::size_t sourceRow = bitmap.pitch > 0 ? row : rows - 1 - row;
        const unsigned char* source = bitmap.buffer + sourceRow * pitch;
        std::copy(source, source + width, packed.begin() + static_cast<std::ptrdiff_t>(row * width));
    }
    return packed.data();
}

// One glyph's texture and metrics. A glyph that fails to load, or comes in a pixel format other
// than 8-bit coverage, gets an empty bitmap instead of whatever the slot held before.
Character RasteriseGlyph(FT_Face face, unsigned code, std::vector<unsigned char>& packed)
{
    Character glyph;
    const unsigned char* rows = nullptr;
    if (FT_Load_Char(face, code, FT_LOAD_RENDER) == 0)
    {
        const FT_GlyphSlot slot = face->glyph;
        glyph.advance = static_cast<uint32_t>(slot->advance.x);
        if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
        {
            glyph.size[0] = static_cast<int32_t>(slot->bitmap.width);
            glyph.size[1] = static_cast<int32_t>(slot->bitmap.rows);
            glyph.bearing[0] = slot->bitmap_left;
            glyph.bearing[1] = slot->bitmap_top;
            rows = TopDownRows(slot->bitmap, packed);
        }
    }
    if (!HasCurrentGLContext())
    {
        return glyph; // metrics only: text can still be measured without a window
    }
    glGenTextures(1, &glyph.textureId);
    glBindTexture(GL_TEXTURE_2D, glyph.textureId);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, glyph.size[0], glyph.size[1], 0, GL_RED, GL_UNSIGNED_BYTE, rows);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return glyph;
}
} // namespace

FontSet::~FontSet()
{
    DeleteGlyphTextures();
}

bool FontSet::Load(const std::string& path)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
    {
        logger.Log("Error: Failed To Create FT Library");
        return false;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, NativePath(path).c_str(), 0, &face) != 0)
    {
        logger.Log("Error: Failed To Create FT Face");
        FT_Done_FreeType(library);
        return false;
    }
    if (FT_Set_Pixel_Sizes(face, 0, PIXEL_HEIGHT) != 0)
    {
        logger.Log("Error: Failed To Create FT Pixel size");
        FT_Done_Face(face);
        FT_Done_FreeType(library);
        return false;
    }

    // Glyph rows are byte-packed. The setting is left at 1 for everything uploaded after.
    const bool hasContext = HasCurrentGLContext();
    if (hasContext)
    {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    std::map<char, Character> glyphs;
    std::vector<unsigned char> packed;
    for (unsigned code = 0; code < GLYPH_COUNT; ++code)
    {
        glyphs.emplace(static_cast<char>(code), RasteriseGlyph(face, code, packed));
    }
    if (hasContext)
    {
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    DeleteGlyphTextures();
    characters = std::move(glyphs);
    return true;
}

void FontSet::DeleteGlyphTextures()
{
    if (!HasCurrentGLContext())
    {
        return;
    }
    for (auto& [code, glyph] : characters)
    {
        if (glyph.textureId != 0)
        {
            glDeleteTextures(1, &glyph.textureId);
            glyph.textureId = 0;
        }
    }
}

} // namespace Varn::Resource
