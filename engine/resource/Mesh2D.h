#pragma once
// A unit quad centred on the origin whose texture coordinates show the top-left cell of a
// columns x rows sprite sheet. Built without a current OpenGL context it has no buffers (all
// names 0), which the ResourceManager reports as a mesh that could not be created.
#include "resource/IResource.h"

#include <cstdint>

namespace Varn::Resource
{

class Mesh2D final : public IResource
{
public:
    Mesh2D(uint32_t columns, uint32_t rows); // both at least 1
    ~Mesh2D() override;                      // deletes the vertex array and both buffers

    uint32_t vbo = 0, ebo = 0;
    uint32_t columns = 1, rows = 1;
    uint32_t vao = 0;
};

} // namespace Varn::Resource
