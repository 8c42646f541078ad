#pragma once
// GLSL sources of the six built-in programs. Their attribute locations, uniform names and
// uniform blocks are the contract with the drawing code.
// Matrices are stored row by row on the CPU: the programs transpose `model` and `imageScale`
// themselves; `view` and `projection` arrive in OpenGL's column order.

namespace Varn::Resource::BuiltinShaders
{

// "basicSpriteShader": sprites lit by up to 128 point lights. A shader stage loaded from a file
// is linked with the other stage of this program, so user shaders keep its interface.
extern const char* const SPRITE_VERTEX;
extern const char* const SPRITE_FRAGMENT;

// "batchedSpriteShader": the same picture as "basicSpriteShader" for many sprites in one
// instanced draw. Per sprite: the model matrix's rows, the image scale, the sheet cell and
// offset, tint, opacity and whether light reaches it. Per frame, in the block "Frame" (binding
// SPRITE_FRAME_BINDING): projection, view, eye. Per layer, in the block "Lights" (binding
// SPRITE_LIGHTS_BINDING): the lights that reach the layer and their count, std140.
extern const char* const SPRITE_BATCH_VERTEX;
extern const char* const SPRITE_BATCH_FRAGMENT;
extern const char* const SPRITE_BATCH_UNLIT_FRAGMENT; // for runs that no light reaches
constexpr unsigned SPRITE_FRAME_BINDING = 0;
constexpr unsigned SPRITE_LIGHTS_BINDING = 1;

// "fboShader" and "fboBlurShader": a layer texture composited onto the screen, optionally
// through a diagonal seven-tap blur. Both share the vertex stage.
extern const char* const FBO_VERTEX;
extern const char* const FBO_FRAGMENT;
extern const char* const FBO_BLUR_FRAGMENT;

// "basicTextShader": one glyph quad, coverage taken from the texture's red channel.
extern const char* const TEXT_VERTEX;
extern const char* const TEXT_FRAGMENT;
// Plain coloured lines in world units: the debug overlay's outlines and rays.
extern const char* const LINE_VERTEX;
extern const char* const LINE_FRAGMENT;

// "basicParticleShader": instanced particles, colour and row-major model matrix per instance.
extern const char* const PARTICLE_VERTEX;
extern const char* const PARTICLE_FRAGMENT;

} // namespace Varn::Resource::BuiltinShaders
