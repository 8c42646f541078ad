#include "resource/Shader.h"

#include "core/Logger.h"
#include "resource/GLContext.h"

#include <glbinding/gl33core/gl.h>

#include <cassert>
#include <string>
#include <vector>

using namespace gl33core;

namespace Varn::Resource
{

namespace
{
struct Stage
{
    GLenum type;
    const char* source;        // null: the stage is not part of the program
    const char* createFailure; // logged when the driver gives no shader object
    const char* label;         // names the stage in compile errors
};

// The driver's log ends in a line break; the Logger adds its own.
std::string TrimTrailingSpace(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    {
        text.pop_back();
    }
    return text;
}

// Why a stage did not compile or a program did not link, as the driver words it.
std::string InfoLog(GLuint object, bool isProgram)
{
    GLint length = 0;
    if (isProgram)
    {
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    }
    else
    {
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    }
    if (length <= 0)
    {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    GLsizei written = 0;
    if (isProgram)
    {
        glGetProgramInfoLog(object, length, &written, text.data());
    }
    else
    {
        glGetShaderInfoLog(object, length, &written, text.data());
    }
    text.resize(static_cast<std::size_t>(written));
    return TrimTrailingSpace(text);
}
} // namespace

Shader::Shader(Logger& logger, const char* vertexSource, const char* fragmentSource,
               const char* geometrySource)
{
    assert(vertexSource != nullptr && fragmentSource != nullptr);
    const Stage stages[] = {
        {GL_VERTEX_SHADER, vertexSource, "Error: Vertex Shader Failed to Create", "Vertex"},
        {GL_FRAGMENT_SHADER, fragmentSource, "Error: Fragment Shader Failed to Create", "Fragment"},
        {GL_GEOMETRY_SHADER, geometrySource, "Error: Geometry Shader Failed to Create", "Geometry"},
    };
    // Without a context no stage object can be made, exactly as when the driver refuses one.
    if (!HasCurrentGLContext())
    {
        logger.Log(stages[0].createFailure);
        return;
    }
    std::vector<GLuint> objects;
    const auto deleteObjects = [&objects]()
    {
        for (const GLuint object : objects)
        {
            glDeleteShader(object);
        }
    };

    // Compile every stage, so that one message names each broken one; a stage whose object
    // cannot even be created stops construction at once.
    bool compiled = true;
    for (const Stage& stage : stages)
    {
        if (stage.source == nullptr)
        {
            continue;
        }
        const GLuint object = glCreateShader(stage.type);
        if (object == 0)
        {
            logger.Log(stage.createFailure);
            deleteObjects();
            return;
        }
        objects.push_back(object);
        glShaderSource(object, 1, &stage.source, nullptr);
        glCompileShader(object);
        GLint status = 0;
        glGetShaderiv(object, GL_COMPILE_STATUS, &status);
        if (status == 0)
        {
            logger.Log(std::string("Error: Failed To Compile ") + stage.label +
                       " Shader: " + InfoLog(object, false));
            compiled = false;
        }
    }
    if (!compiled)
    {
        deleteObjects();
        return;
    }

    const GLuint linked = glCreateProgram();
    if (linked == 0)
    {
        logger.Log("Error: Shader Program Failed to Create");
        deleteObjects();
        return;
    }
    for (const GLuint object : objects)
    {
        glAttachShader(linked, object);
    }
    glLinkProgram(linked);
    for (const GLuint object : objects)
    {
        glDetachShader(linked, object);
    }
    deleteObjects();

    // A program that failed to link cannot be used at all; keeping 0 makes that visible.
    GLint status = 0;
    glGetProgramiv(linked, GL_LINK_STATUS, &status);
    if (status == 0)
    {
        logger.Log("Error: Failed To Link Shader Program: " + InfoLog(linked, true));
        glDeleteProgram(linked);
        return;
    }
    program = linked;
}

int32_t Shader::Location(const char* name) const
{
    for (const auto& [known, location] : locations)
    {
        if (known == name)
        {
            return location;
        }
    }
    const GLint location = program != 0 ? glGetUniformLocation(program, name) : -1;
    locations.emplace_back(name, location);
    return location;
}

Shader::~Shader()
{
    if (program != 0 && HasCurrentGLContext())
    {
        glDeleteProgram(program);
    }
}

} // namespace Varn::Resource
