#include "resource/Mesh2D.h"

#include "resource/GLContext.h"

#include <glbinding/gl33core/gl.h>

#include <cassert>

using namespace gl33core;

namespace Varn::Resource
{

Mesh2D::Mesh2D(uint32_t columns, uint32_t rows) : columns(columns), rows(rows)
{
    assert(columns >= 1 && rows >= 1);
    const float u = 1.0f / static_cast<float>(columns);
    const float v = 1.0f / static_cast<float>(rows);
    // x, y, z, u, v. Texture v = 0 is the first image row, so the quad shows the top-left cell.
    const float vertices[4 * 5] = {
        -0.5f, -0.5f, 0.0f, 0.0f, v,    //
        0.5f,  -0.5f, 0.0f, u,    v,    //
        0.5f,  0.5f,  0.0f, u,    0.0f, //
        -0.5f, 0.5f,  0.0f, 0.0f, 0.0f, //
    };
    const uint32_t indices[6] = {0, 1, 3, 2, 3, 1};
    if (!HasCurrentGLContext())
    {
        return; // no buffers: the manager reports the mesh as not created
    }

    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glGenBuffers(1, &ebo);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(indices), indices, GL_STATIC_DRAW);
    const GLsizei stride = 5 * sizeof(float);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(3 * sizeof(float)));
    glEnableVertexAttribArray(1);
    // The element buffer binding belongs to the vertex array, so it is unbound only after it.
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

Mesh2D::~Mesh2D()
{
    if (!HasCurrentGLContext())
    {
        return;
    }
    if (vao != 0)
    {
        glDeleteVertexArrays(1, &vao);
    }
    if (vbo != 0)
    {
        glDeleteBuffers(1, &vbo);
    }
    if (ebo != 0)
    {
        glDeleteBuffers(1, &ebo);
    }
}

} // namespace Varn::Resource
