// The built-in programs' arithmetic, checked on real pixels of a float render target, and how
// program construction reports broken GLSL.
#include "resource/Shader.h"
#include "resource/BuiltinShaders.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceTestSupport.h"

#include <cmath>
#include <memory>

namespace Varn::Test
{
namespace
{
using System::ResourceManager;

constexpr float IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Row by row, as transforms are stored: scale x and y, then move by (x, y).
std::array<float, 16> RowMajor(float scale, float x, float y)
{
    return {scale, 0, 0, x, 0, scale, 0, y, 0, 0, 1, 0, 0, 0, 0, 1};
}

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

// Any program whose construction failed is 0: checked before each draw.
GLuint ProgramOf(ResourceManager& resources, const char* name)
{
    const Resource::Shader* shader = resources.FindShader(name);
    return shader == nullptr ? 0 : shader->program;
}
} // namespace

// The sprite program drawing the default mesh over an 8 x 8 float target.
class SpriteProgram : public DefaultResourcesTest
{
protected:
    void SetUp() override
    {
        DefaultResourcesTest::SetUp();
        if (HasFatalFailure())
        {
            return;
        }
        program = ProgramOf(*resources, ResourceManager::SPRITE_SHADER);
        ASSERT_NE(program, 0u);
        target = std::make_unique<FloatTarget>(8, 8);
        glUseProgram(program);
        for (const char* matrix : {"projection", "view", "imageScale"})
        {
            glUniformMatrix4fv(At(program, matrix), 1, GL_FALSE, IDENTITY);
        }
        SetModel(RowMajor(2, 0, 0)); // the unit quad grown to fill the target
        glUniform1f(At(program, "opacity"), 1);
        glUniform3f(At(program, "tint"), 1, 1, 1);
        glUniform1i(At(program, "SpriteTexture"), 0);
    }
    void TearDown() override
    {
        target.reset();
        glDeleteTextures(1, &texture);
        DefaultResourcesTest::TearDown();
    }

    void SetModel(const std::array<float, 16>& rows)
    {
        glUniformMatrix4fv(At(program, "model"), 1, GL_FALSE, rows.data());
    }
    void SetTexture(int width, const std::vector<uint8_t>& rgba)
    {
        texture = MakeTexture(width, 1, GL_RGBA, rgba);
    }
    void SetLight(int i, const std::array<float, 3>& position, const std::array<float, 3>& colour,
                  float ambient, float constant, float linear, float quadratic)
    {
        const std::string light = "pointLights[" + std::to_string(i) + "].";
        glUniform3fv(At(program, light + "position"), 1, position.data());
        glUniform3fv(At(program, light + "color"), 1, colour.data());
        glUniform1f(At(program, light + "ambient"), ambient);
        glUniform1f(At(program, light + "constant"), constant);
        glUniform1f(At(program, light + "linear"), linear);
        glUniform1f(At(program, light + "quadratic"), quadratic);
    }
    std::array<float, 4> Draw(const Resource::Mesh2D& mesh, int x, int y)
    {
        target->Clear();
        glBindTexture(GL_TEXTURE_2D, texture);
        glBindVertexArray(mesh.vao);
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
        return target->Pixel(x, y);
    }
    std::array<float, 4> Draw(int x, int y)
    {
        return Draw(*resources->FindMesh(ResourceManager::DEFAULT_MESH), x, y);
    }

    GLuint program = 0, texture = 0;
    std::unique_ptr<FloatTarget> target;
};

TEST_F(SpriteProgram, UnlitColourIsTexelTimesOpacityAndTintWhateverTheLights)
{
    SetTexture(1, {204, 153, 102, 255}); // 0.8, 0.6, 0.4, 1
    glUniform1f(At(program, "opacity"), 0.5f);
    glUniform3f(At(program, "tint"), 0.5f, 1.0f, 0.25f);
    SetLight(0, {0, 0, 0}, {1, 1, 1}, 5, 1, 0, 0);
    glUniform1i(At(program, "lightsInUse"), 1);
    glUniform1i(At(program, "receiveLight"), 0);

    ExpectRgba(Draw(3, 3), 0.4f, 0.6f, 0.1f, 0.5f);
}

TEST_F(SpriteProgram, ModelIsTransposedAndTexOffsetMovesAcrossTheSheet)
{
    SetTexture(2, {255, 0, 0, 255, 0, 0, 255, 255}); // a red cell, then a blue one
    Resource::Mesh2D* sheet = resources->GetMesh("twoCells", 2, 1);
    SetModel(RowMajor(1, 0.5f, 0.5f)); // the upper-right quarter

    ExpectRgba(Draw(*sheet, 6, 6), 1, 0, 0, 1);
    ExpectRgba(target->Pixel(1, 1), 0, 0, 0, 0);
    glUniform2f(At(program, "texOffset"), 0.5f, 0.0f);
    ExpectRgba(Draw(*sheet, 6, 6), 0, 0, 1, 1);
}

TEST_F(SpriteProgram, LightAtDistanceZeroDoublesTheTexelAndFartherLightsAttenuate)
{
    SetTexture(1, {64, 32, 16, 255});
    const float r = 64 / 255.0f, g = 32 / 255.0f, b = 16 / 255.0f;
    glUniform1i(At(program, "receiveLight"), 1);
    glUniform1i(At(program, "lightsInUse"), 1);
    // Pixel (5, 2) of the 8 x 8 target has its centre at (0.375, -0.375).
    SetLight(0, {0.375f, -0.375f, 0}, {1, 1, 1}, 1, 1, 1, 1);
    ExpectRgba(Draw(5, 2), 2 * r, 2 * g, 2 * b, 1);

    // 0.5 away: attenuation 1 / (1 + 1 * 0.5 + 2 * 0.25) = 0.5, times ambient 2 and the colour.
    SetLight(0, {0.675f, 0.025f, 0}, {1, 0.5f, 0}, 2, 1, 1, 2);
    ExpectRgba(Draw(5, 2), 2 * r, 1.5f * g, b, 1);
}

TEST_F(SpriteProgram, LightsInUseAbove128CountsAs128)
{
    SetTexture(1, {64, 64, 64, 255});
    const float t = 64 / 255.0f;
    glUniform1i(At(program, "receiveLight"), 1);
    for (int i = 0; i < 128; ++i)
    {
        SetLight(i, {0, 0, 0}, {1, 1, 1}, 1.0f / 128, 1, 0, 0); // each adds 1/128 of the texel
    }
    glUniform1i(At(program, "lightsInUse"), 64);
    ExpectRgba(Draw(4, 4), 1.5f * t, 1.5f * t, 1.5f * t, 1);
    glUniform1i(At(program, "lightsInUse"), 1000);
    ExpectRgba(Draw(4, 4), 2 * t, 2 * t, 2 * t, 1);
}

// Layer composite, blur, text and particles, each over a float target.
class ScreenPrograms : public DefaultResourcesTest
{
protected:
    void TearDown() override
    {
        target.reset();
        glDeleteTextures(1, &texture);
        glDeleteBuffers(1, &buffer);
        glDeleteVertexArrays(1, &vao);
        DefaultResourcesTest::TearDown();
    }

    // A full-target quad with position and texture coordinate, two floats each.
    void MakeScreenQuad()
    {
        const float corners[6][4] = {{-1, -1, 0, 0}, {1, -1, 1, 0}, {1, 1, 1, 1},
                                     {-1, -1, 0, 0}, {1, 1, 1, 1},  {-1, 1, 0, 1}};
        glGenVertexArrays(1, &vao);
        glGenBuffers(1, &buffer);
        glBindVertexArray(vao);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners, GL_STATIC_DRAW);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, nullptr);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<const void*>(8));
        glEnableVertexAttribArray(0);
        glEnableVertexAttribArray(1);
    }
    GLuint Use(const char* name)
    {
        const GLuint program = ProgramOf(*resources, name);
        glUseProgram(program);
        return program;
    }

    std::unique_ptr<FloatTarget> target;
    GLuint texture = 0, buffer = 0, vao = 0;
};

TEST_F(ScreenPrograms, CompositeIsTexelTimesTintShiftedByOffset)
{
    target = std::make_unique<FloatTarget>(8, 8);
    texture = MakeTexture(2, 1, GL_RGBA, {255, 0, 0, 255, 0, 255, 0, 255});
    MakeScreenQuad();
    const GLuint program = Use(ResourceManager::FBO_SHADER);
    ASSERT_NE(program, 0u);
    glUniform2f(At(program, "offset"), 1, 0); // one unit to the left: the right half of the layer
    glUniform4f(At(program, "tint"), 0.5f, 0.5f, 1, 0.25f);
    glDrawArrays(GL_TRIANGLES, 0, 6);

    ExpectRgba(target->Pixel(1, 4), 0, 0.5f, 0, 0.25f);
    ExpectRgba(target->Pixel(6, 4), 0, 0, 0, 0);
}

TEST_F(ScreenPrograms, BlurSpreadsOneTexelAlongTheDiagonalWithTheTapWeights)
{
    target = std::make_unique<FloatTarget>(32, 32);
    std::vector<uint8_t> dark(32 * 32 * 4, 0);
    const std::size_t lit = (16 * 32 + 16) * 4;
    dark[lit] = dark[lit + 1] = dark[lit + 2] = dark[lit + 3] = 255;
    texture = MakeTexture(32, 32, GL_RGBA, dark);
    MakeScreenQuad();
    const GLuint program = Use(ResourceManager::FBO_BLUR_SHADER);
    ASSERT_NE(program, 0u);
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
        ExpectRgba(target->Pixel(16 - tap.offset, 16 - tap.offset), tap.weight, tap.weight / 2, tap.weight,
                   tap.weight);
        ExpectRgba(target->Pixel(16 + tap.offset, 16 + tap.offset), tap.weight, tap.weight / 2, tap.weight,
                   tap.weight);
    }
    ExpectRgba(target->Pixel(16, 14), 0, 0, 0, 0);
    ExpectRgba(target->Pixel(14, 18), 0, 0, 0, 0);
}

TEST_F(ScreenPrograms, TextColourTakesItsAlphaFromTheRedChannelThroughTheSharedQuad)
{
    target = std::make_unique<FloatTarget>(4, 4);
    texture = MakeTexture(1, 1, GL_RED, {51});
    const GLuint program = Use(ResourceManager::TEXT_SHADER);
    ASSERT_NE(program, 0u);
    glUniformMatrix4fv(At(program, "projection"), 1, GL_FALSE, IDENTITY);
    glUniformMatrix4fv(At(program, "view"), 1, GL_FALSE, IDENTITY);
    glUniform3f(At(program, "textColor"), 1, 0.5f, 0.25f);
    const float glyph[6][4] = {{-1, -1, 0, 0}, {1, -1, 1, 0}, {1, 1, 1, 1},
                               {-1, -1, 0, 0}, {1, 1, 1, 1},  {-1, 1, 0, 1}};
    glBindVertexArray(resources->textVao);
    glBindBuffer(GL_ARRAY_BUFFER, resources->textVbo);
    glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(glyph), glyph);
    glDrawArrays(GL_TRIANGLES, 0, 6);

    ExpectRgba(target->Pixel(2, 2), 1, 0.5f, 0.25f, 0.2f);
}

TEST_F(ScreenPrograms, ParticlesTakeColourAndRowMajorMatrixPerInstanceAndGlowToneMaps)
{
    target = std::make_unique<FloatTarget>(8, 8);
    texture = MakeTexture(1, 1, GL_RGBA, {128, 128, 128, 128});
    const GLuint program = Use(ResourceManager::PARTICLE_SHADER);
    ASSERT_NE(program, 0u);
    glUniformMatrix4fv(At(program, "projection"), 1, GL_FALSE, IDENTITY);
    glUniformMatrix4fv(At(program, "view"), 1, GL_FALSE, IDENTITY);

    // Per instance: colour, then the model matrix one row per attribute (lower-left, upper-right).
    const float instances[2][20] = {{1, 0, 0, 1, 1, 0, 0, -0.5f, 0, 1, 0, -0.5f, 0, 0, 1, 0, 0, 0, 0, 1},
                                    {0, 0.5f, 1, 0.5f, 1, 0, 0, 0.5f, 0, 1, 0, 0.5f, 0, 0, 1, 0, 0, 0, 0, 1}};
    glBindVertexArray(resources->FindMesh(ResourceManager::DEFAULT_MESH)->vao);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(instances), instances, GL_STATIC_DRAW);
    for (GLuint location = 2; location <= 6; ++location)
    {
        const std::size_t offset = (location - 2) * 4 * sizeof(float);
        glVertexAttribPointer(location, 4, GL_FLOAT, GL_FALSE, 20 * sizeof(float),
                              reinterpret_cast<const void*>(offset));
        glVertexAttribDivisor(location, 1);
        glEnableVertexAttribArray(location);
    }
    const float texel = 128 / 255.0f;

    glDrawElementsInstanced(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr, 2);
    ExpectRgba(target->Pixel(2, 2), texel, 0, 0, texel);
    ExpectRgba(target->Pixel(6, 6), 0, texel / 2, texel, texel / 2);
    ExpectRgba(target->Pixel(2, 6), 0, 0, 0, 0);

    // A flat texture blurs to itself, so glow sees texel + texel.
    glUniform1i(At(program, "glow"), 1);
    target->Clear();
    glDrawElementsInstanced(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr, 2);
    const float glow = std::pow(1.0f - std::exp(-2.0f * texel), 1.0f / 2.2f);
    ExpectRgba(target->Pixel(2, 2), glow, 0, 0, glow);
}

using ShaderBuilding = WindowedEngineTest;

TEST_F(ShaderBuilding, CompileAndLinkErrorsLogTheDriversReasonAndLeaveProgramZero)
{
    using namespace Resource::BuiltinShaders;
    auto& resources = *engine->resources;
    const Resource::Shader* broken = resources.CreateShader(
        "#version 330 core\nvoid main() { undeclared = 1; }\n", FBO_FRAGMENT, nullptr, "broken");
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(broken->program, 0u);
    EXPECT_EQ(resources.FindShader("broken"), broken);
    ASSERT_EQ(engine->logger.Lines().size(), 1u);
    const std::string compile = "Error: Failed To Compile Vertex Shader: ";
    EXPECT_EQ(engine->logger.Lines()[0].rfind(compile, 0), 0u);
    EXPECT_GT(engine->logger.Lines()[0].size(), compile.size());

    // Both stages compile, but the fragment stage has no main function.
    engine->logger.Clear();
    const char* noMain = "#version 330 core\nout vec4 c;\nvoid helper() { c = vec4(1.0); }\n";
    EXPECT_EQ(resources.CreateShader(TEXT_VERTEX, noMain, nullptr, "unlinked")->program, 0u);
    ASSERT_EQ(engine->logger.Lines().size(), 1u);
    EXPECT_EQ(engine->logger.Lines()[0].rfind("Error: Failed To Link Shader Program: ", 0), 0u);
}

using ShaderWithoutContext = EngineTest;

TEST_F(ShaderWithoutContext, VertexStageFailsToCreateAndNothingElseIsTried)
{
    const Resource::Shader* shader = engine->resources->CreateShader(
        Resource::BuiltinShaders::FBO_VERTEX, Resource::BuiltinShaders::FBO_FRAGMENT, nullptr, "headless");
    EXPECT_EQ(shader->program, 0u);
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Vertex Shader Failed to Create"});
}

} // namespace Varn::Test
