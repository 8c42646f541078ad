#pragma once
// GLSL sources of the five built-in programs. Their attribute locations and uniform names are
// the contract with the drawing code, which looks every uniform up by name at draw time.
// Matrices are stored row by row on the CPU: the programs transpose `model` and `imageScale`
// themselves; `view` and `projection` arrive in OpenGL's column order.

namespace Varn::Resource::BuiltinShaders
{

// "basicSpriteShader": sprites lit by up to 128 point lights. A shader stage loaded from a file
// is linked with the other stage of this program, so user shaders keep its interface.
extern const char* const SPRITE_VERTEX;
extern const char* const SPRITE_FRAGMENT;

// "fboShader" and "fboBlurShader": a layer texture composited onto the screen, optionally
// through a diagonal seven-tap blur. Both share the vertex stage.
extern const char* const FBO_VERTEX;
extern const char* const FBO_FRAGMENT;
extern const char* const FBO_BLUR_FRAGMENT;

// "basicTextShader": one glyph quad, coverage taken from the texture's red channel.
extern const char* const TEXT_VERTEX;
extern const char* const TEXT_FRAGMENT;

// "basicParticleShader": instanced particles, colour and row-major model matrix per instance.
extern const char* const PARTICLE_VERTEX;
extern const char* const PARTICLE_FRAGMENT;

} // namespace Varn::Resource::BuiltinShaders
