#include "graphics/LayerFramebuffer.h"

#include "resource/ResourceManager.h"
#include "resource/Shader.h"

#include <glbinding/gl33core/gl.h>

using namespace gl33core;

namespace Varn::Graphics
{

LayerFramebuffer::LayerFramebuffer(Resource::ResourceManager& resources_, int width_, int height_)
    : shader(resources_.FindShader(Resource::ResourceManager::FBO_SHADER)), resources(resources_)
{
    glGenFramebuffers(1, &fbo);
    glGenTextures(1, &colorTexture);
    Resize(width_, height_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

LayerFramebuffer::~LayerFramebuffer()
{
    glDeleteFramebuffers(1, &fbo);
    glDeleteTextures(1, &colorTexture);
}

void LayerFramebuffer::Resize(int newWidth, int newHeight)
{
    width = newWidth;
    height = newHeight;
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void LayerFramebuffer::ApplyEffect(LAYER_EFFECT effect)
{
    switch (effect)
    {
    case LAYER_EFFECT::BLUR:
        shader = resources.FindShader(Resource::ResourceManager::FBO_BLUR_SHADER);
        tint = {1.0f, 1.0f, 1.0f, 0.5f};
        break;
    case LAYER_EFFECT::DIM:
        tint = {0.6f, 0.6f, 0.6f, 1.0f};
        break;
    case LAYER_EFFECT::RESET:
        shader = resources.FindShader(Resource::ResourceManager::FBO_SHADER);
        tint = {1.0f, 1.0f, 1.0f, 1.0f};
        break;
    }
}

void LayerFramebuffer::Draw(uint32_t screenQuadVao) const
{
    if (shader == nullptr)
    {
        return;
    }
    const GLuint program = shader->program;
    glUseProgram(program);
    glUniform4f(shader->Location("tint"), tint.r, tint.g, tint.b, tint.a);
    // The layer was drawn from its framebuffer's corner, so the quad is not shifted.
    glUniform2f(shader->Location("offset"), 0.0f, 0.0f);
    glBindVertexArray(screenQuadVao);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glBindVertexArray(0);
}

bool LayerFramebuffer::Plain() const
{
    return shader != nullptr && shader == resources.FindShader(Resource::ResourceManager::FBO_SHADER) &&
           tint.r == 1.0f && tint.g == 1.0f && tint.b == 1.0f && tint.a == 1.0f;
}

} // namespace Varn::Graphics
