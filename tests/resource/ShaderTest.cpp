// The built-in programs' arithmetic, checked on real pixels of a float render target.
#include "resource/Shader.h"
#include "resource/BuiltinShaders.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceTestSupport.h"

namespace Varn::Test
{
namespace
{
using Resource::ResourceManager;

constexpr float IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

GLint At(GLuint program, const std::string& name)
{
    return glGetUniformLocation(program, name.c_str());
}

void ExpectRgba(const std::array<float, 4>& actual, float r, float g, float b, float a)
{
    EXPECT_NEAR(actual[0], r, 2e-3f);
    EXPECT_NEAR(actual[1], g, 2e-3f);
    EXPECT_NEAR(actual[2], b, 2e-3f);
    EXPECT_NEAR(actual[3], a, 2e-3f);
}
} // namespace

using SpriteProgram = DefaultResourcesTest;

TEST_F(SpriteProgram, LightAtDistanceZeroDoublesTheTexelAndFartherLightsAttenuate)
{
    const GLuint program = resources->FindShader(ResourceManager::SPRITE_SHADER)->program;
    ASSERT_NE(program, 0u);
    FloatTarget target(8, 8);
    glUseProgram(program);
    for (const char* matrix : {"projection", "view", "imageScale"})
    {
        glUniformMatrix4fv(At(program, matrix), 1, GL_FALSE, IDENTITY);
    }
    const float grown[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // the quad fills the target
    glUniformMatrix4fv(At(program, "model"), 1, GL_FALSE, grown);
    glUniform1f(At(program, "opacity"), 1);
    glUniform3f(At(program, "tint"), 1, 1, 1);
    glUniform1i(At(program, "receiveLight"), 1);
    glUniform1i(At(program, "lightsInUse"), 1);
    GLuint texture = MakeTexture(1, 1, GL_RGBA, {64, 32, 16, 255});
    glBindVertexArray(resources->FindMesh(ResourceManager::DEFAULT_MESH)->vao);
    auto lightAndDraw =
        [&](std::array<float, 3> position, std::array<float, 3> colour, float ambient, float quadratic)
    {
        glUniform3fv(At(program, "pointLights[0].position"), 1, position.data());
        glUniform3fv(At(program, "pointLights[0].color"), 1, colour.data());
        glUniform1f(At(program, "pointLights[0].ambient"), ambient);
        glUniform1f(At(program, "pointLights[0].constant"), 1);
        glUniform1f(At(program, "pointLights[0].linear"), 1);
        glUniform1f(At(program, "pointLights[0].quadratic"), quadratic);
        target.Clear();
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
        return target.Pixel(5, 2);
    };
    const float r = 64 / 255.0f, g = 32 / 255.0f, b = 16 / 255.0f;
    // Pixel (5, 2) of the 8 x 8 target has its centre at (0.375, -0.375).
    ExpectRgba(lightAndDraw({0.375f, -0.375f, 0}, {1, 1, 1}, 1, 1), 2 * r, 2 * g, 2 * b, 1);
    // 0.5 away: attenuation 1 / (1 + 1 * 0.5 + 2 * 0.25) = 0.5, times ambient 2 and the colour.
    ExpectRgba(lightAndDraw({0.675f, 0.025f, 0}, {1, 0.5f, 0}, 2, 2), 2 * r, 1.5f * g, b, 1);
    glDeleteTextures(1, &texture);
}

using BlurProgram = DefaultResourcesTest;

TEST_F(BlurProgram, SpreadsOneTexelAlongTheDiagonalWithTheTapWeights)
{
    FloatTarget target(32, 32);
    std::vector<uint8_t> dark(32 * 32 * 4, 0);
    const std::size_t lit = (16 * 32 + 16) * 4;
    dark[lit] = dark[lit + 1] = dark[lit + 2] = dark[lit + 3] = 255;
    GLuint texture = MakeTexture(32, 32, GL_RGBA, dark);
    // A full-target quad: position and texture coordinate, two floats each.
    const float corners[6][4] = {{-1, -1, 0, 0}, {1, -1, 1, 0}, {1, 1, 1, 1},
                                 {-1, -1, 0, 0}, {1, 1, 1, 1},  {-1, 1, 0, 1}};
    GLuint vao = 0, buffer = 0;
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &buffer);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, nullptr);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<const void*>(8));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    const GLuint program = resources->FindShader(ResourceManager::FBO_BLUR_SHADER)->program;
    ASSERT_NE(program, 0u);
    glUseProgram(program);
    glUniform4f(At(program, "tint"), 1, 0.5f, 1, 1);
    glDrawArrays(GL_TRIANGLES, 0, 6);

    // Taps 1.5 x k texels away (k = 1.41, 3.29, 5.18) land 2, 5 and 8 texels off diagonally.
    const struct
    {
        int offset;
        float weight;
    } taps[] = {{0, 0.1964825502f}, {2, 0.29690696547f}, {5, 0.09447039785f}, {8, 0.0103813624f}};
    for (const auto& tap : taps)
    {
        ExpectRgba(target.Pixel(16 - tap.offset, 16 - tap.offset), tap.weight, tap.weight / 2, tap.weight,
                   tap.weight);
        ExpectRgba(target.Pixel(16 + tap.offset, 16 + tap.offset), tap.weight, tap.weight / 2, tap.weight,
                   tap.weight);
    }
    ExpectRgba(target.Pixel(16, 14), 0, 0, 0, 0);
    ExpectRgba(target.Pixel(14, 18), 0, 0, 0, 0);
    glDeleteTextures(1, &texture);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vao);
}

} // namespace Varn::Test
