// The sprite-sheet quad: its buffers hold exactly the cell's geometry.
#include "resource/Mesh2D.h"
#include "resource/ResourceTestSupport.h"

namespace Varn::Test
{

using SheetMesh = WindowedEngineTest;

TEST_F(SheetMesh, QuadShowsTheTopLeftCellOfAFourByTwoSheet)
{
    const Resource::Mesh2D* mesh = engine->resources->GetMesh("sheet", 4, 2);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->name, "sheet");
    glBindVertexArray(mesh->vao);

    float vertices[20] = {};
    glBindBuffer(GL_ARRAY_BUFFER, mesh->vbo);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
    const float expected[20] = {-0.5f, -0.5f, 0, 0,     0.5f, 0.5f,  -0.5f, 0, 0.25f, 0.5f,
                                0.5f,  0.5f,  0, 0.25f, 0,    -0.5f, 0.5f,  0, 0,     0};
    for (int i = 0; i < 20; ++i)
    {
        EXPECT_FLOAT_EQ(vertices[i], expected[i]) << "float " << i;
    }
    GLint indexBuffer = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &indexBuffer); // recorded by the vertex array
    EXPECT_EQ(GLuint(indexBuffer), mesh->ebo);
    uint32_t indices[6] = {};
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof(indices), indices);
    EXPECT_EQ(std::vector<uint32_t>(indices, indices + 6), (std::vector<uint32_t>{0, 1, 3, 2, 3, 1}));

    GLint size = 0, stride = 0;
    void* offset = nullptr;
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_SIZE, &size);
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
    glGetVertexAttribPointerv(1, GL_VERTEX_ATTRIB_ARRAY_POINTER, &offset);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(stride, 20);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(offset), 12u);
    glBindVertexArray(0);
}

TEST_F(SheetMesh, GetMeshIsGetOrCreateByNameAndRefusesEmptySheets)
{
    auto& resources = *engine->resources;
    Resource::Mesh2D* first = resources.GetMesh("walk", 8, 1);
    EXPECT_EQ(resources.GetMesh("walk", 2, 2), first);
    EXPECT_EQ(first->columns, 8u);

    EXPECT_EQ(resources.GetMesh("empty", 0, 3), nullptr);
    EXPECT_EQ(resources.FindMesh("empty"), nullptr);
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Failed to Create Mesh"});
}

} // namespace Varn::Test
