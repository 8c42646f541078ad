#include "graphics/SpriteBatch.h"

#include "ecs/Camera.h"
#include "ecs/IEntity.h"
#include "ecs/Light.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "resource/BuiltinShaders.h"
#include "resource/Mesh2D.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <cstring>

using namespace gl33core;

namespace Varn::Graphics
{

namespace
{
// std140 sizes of the batched program's blocks.
constexpr std::size_t LIGHT_SIZE = 48; // vec3, vec3 + float, 3 floats
constexpr std::size_t LIGHT_COUNT_OFFSET = SpriteBatch::MAX_LIGHTS * LIGHT_SIZE;
constexpr std::size_t LIGHT_BLOCK_SIZE = LIGHT_COUNT_OFFSET + 16; // the count, padded
constexpr std::size_t FRAME_BLOCK_SIZE = 2 * 64 + 16;             // two matrices and the eye

void Put(std::byte* at, std::size_t offset, const float* values, std::size_t count)
{
    std::memcpy(at + offset, values, count * sizeof(float));
}
} // namespace

SpriteBatch::SpriteBatch()
{
    glGenBuffers(1, &instanceVbo);
    glGenBuffers(1, &frameUbo);
    glGenBuffers(1, &lightsUbo);
    // Locations 2 to 8 advance once per instance; Draw points them at its run.
    glBindVertexArray(quad.vao);
    for (GLuint location = 2; location <= 8; ++location)
    {
        glEnableVertexAttribArray(location);
        glVertexAttribDivisor(location, 1);
    }
    glBindVertexArray(0);

    GLint alignment = 256;
    glGetIntegerv(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT, &alignment);
    const std::size_t align = static_cast<std::size_t>(std::max(alignment, 1));
    lightStride = (LIGHT_BLOCK_SIZE + align - 1) / align * align;
}

SpriteBatch::~SpriteBatch()
{
    const GLuint buffers[] = {instanceVbo, frameUbo, lightsUbo};
    glDeleteBuffers(3, buffers);
}

void SpriteBatch::Clear()
{
    instances.clear();
    runs.clear();
    lightBlocks.clear();
    cut = true;
}

std::size_t SpriteBatch::Add(const ECS::SpriteRenderer& sprite, const ECS::Transform& transform)
{
    // The single-sprite path's arithmetic, so both give the same numbers.
    const float w =
        static_cast<float>(sprite.texture->width) / static_cast<float>(std::max(1u, sprite.mesh->columns));
    const float h =
        static_cast<float>(sprite.texture->height) / static_cast<float>(std::max(1u, sprite.mesh->rows));
    return Add({transform.worldMatrix, w, h, sprite.texOffset, *sprite.mesh, *sprite.texture, sprite.tint,
                sprite.opacity, sprite.receiveLight});
}

std::size_t SpriteBatch::Add(const Quad& quad)
{
    Instance& i = instances.emplace_back();
    std::memcpy(i.modelRows, &quad.model.m[0][0], sizeof(i.modelRows));
    i.scaleAndOffset[0] = quad.scaleX;
    i.scaleAndOffset[1] = quad.scaleY;
    i.scaleAndOffset[2] = quad.texOffset[0];
    i.scaleAndOffset[3] = quad.texOffset[1];
    i.cellAndLight[0] = 1.0f / static_cast<float>(quad.mesh.columns);
    i.cellAndLight[1] = 1.0f / static_cast<float>(quad.mesh.rows);
    i.cellAndLight[2] = quad.receiveLight ? 1.0f : 0.0f;
    i.cellAndLight[3] = 0.0f;
    i.tintAndOpacity[0] = quad.tint.r;
    i.tintAndOpacity[1] = quad.tint.g;
    i.tintAndOpacity[2] = quad.tint.b;
    i.tintAndOpacity[3] = quad.opacity;

    const auto index = static_cast<uint32_t>(instances.size() - 1);
    if (cut || runs.back().texture != quad.texture.textureId)
    {
        runs.push_back({quad.texture.textureId, index, 0});
        cut = false;
    }
    ++runs.back().count;
    return runs.size() - 1;
}

std::size_t SpriteBatch::AddLights(const std::vector<ECS::IEntity*>& lights, bool lit)
{
    const std::size_t block = lightBlocks.size() / lightStride;
    lightBlocks.resize(lightBlocks.size() + lightStride);
    std::byte* at = lightBlocks.data() + block * lightStride;
    const int32_t inUse = lit ? static_cast<int32_t>(lights.size()) : 0;
    std::memcpy(at + LIGHT_COUNT_OFFSET, &inUse, sizeof(inUse));
    for (std::size_t n = 0; lit && n < lights.size() && n < MAX_LIGHTS; ++n)
    {
        const auto* light = lights[n]->GetComponent<ECS::Light>();
        const auto& m = lights[n]->GetComponent<ECS::Transform>()->worldMatrix.m;
        const float colour[3] = {light->lightColor.r, light->lightColor.g, light->lightColor.b};
        const float place[4] = {m[0][3], m[1][3], m[2][3], light->ambient};
        const float falloff[3] = {light->constant, light->linear, light->quadratic};
        std::byte* slot = at + n * LIGHT_SIZE;
        Put(slot, 0, colour, 3);
        Put(slot, 16, place, 4);
        Put(slot, 32, falloff, 3);
    }
    return block;
}

void SpriteBatch::Upload(const ECS::Camera& camera, const Vector4& eye)
{
    Upload(camera.projection, camera.view, eye);
}

void SpriteBatch::Upload(const std::array<float, 16>& projection, const std::array<float, 16>& view,
                         const Vector4& eye)
{
    std::byte frame[FRAME_BLOCK_SIZE] = {};
    const float eyeXyz[4] = {eye.x, eye.y, eye.z, 0.0f};
    Put(frame, 0, projection.data(), 16);
    Put(frame, 64, view.data(), 16);
    Put(frame, 128, eyeXyz, 4);
    glBindBuffer(GL_UNIFORM_BUFFER, frameUbo);
    glBufferData(GL_UNIFORM_BUFFER, FRAME_BLOCK_SIZE, frame, GL_STREAM_DRAW);
    glBindBuffer(GL_UNIFORM_BUFFER, lightsUbo);
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(lightBlocks.size()), lightBlocks.data(),
                 GL_STREAM_DRAW);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
    glBindBufferBase(GL_UNIFORM_BUFFER, Resource::BuiltinShaders::SPRITE_FRAME_BINDING, frameUbo);

    glBindBuffer(GL_ARRAY_BUFFER, instanceVbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(instances.size() * sizeof(Instance)),
                 instances.data(), GL_STREAM_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void SpriteBatch::UseLights(std::size_t block) const
{
    glBindBufferRange(GL_UNIFORM_BUFFER, Resource::BuiltinShaders::SPRITE_LIGHTS_BINDING, lightsUbo,
                      static_cast<GLintptr>(block * lightStride), static_cast<GLsizeiptr>(LIGHT_BLOCK_SIZE));
}

void SpriteBatch::Draw(const Resource::Shader& program, std::size_t run) const
{
    const Run& r = runs[run];
    glUseProgram(program.program);
    if (boundProgram != program.program)
    {
        using Resource::BuiltinShaders::SPRITE_FRAME_BINDING;
        using Resource::BuiltinShaders::SPRITE_LIGHTS_BINDING;
        // The unlit program has no light block.
        const GLuint frame = glGetUniformBlockIndex(program.program, "Frame");
        const GLuint lights = glGetUniformBlockIndex(program.program, "Lights");
        if (frame != GL_INVALID_INDEX)
        {
            glUniformBlockBinding(program.program, frame, SPRITE_FRAME_BINDING);
        }
        if (lights != GL_INVALID_INDEX)
        {
            glUniformBlockBinding(program.program, lights, SPRITE_LIGHTS_BINDING);
        }
        boundProgram = program.program;
    }
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, r.texture);
    glBindVertexArray(quad.vao);
    glBindBuffer(GL_ARRAY_BUFFER, instanceVbo);
    const GLsizei stride = sizeof(Instance);
    const std::size_t base = static_cast<std::size_t>(r.first) * sizeof(Instance);
    for (GLuint row = 0; row < 4; ++row)
    {
        glVertexAttribPointer(2 + row, 4, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(base + row * 4 * sizeof(float)));
    }
    glVertexAttribPointer(6, 4, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(base + offsetof(Instance, scaleAndOffset)));
    glVertexAttribPointer(7, 4, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(base + offsetof(Instance, cellAndLight)));
    glVertexAttribPointer(8, 4, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(base + offsetof(Instance, tintAndOpacity)));
    glDrawElementsInstanced(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr, static_cast<GLsizei>(r.count));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

} // namespace Varn::Graphics
