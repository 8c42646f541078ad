#pragma once
// A linked OpenGL program. A program whose construction failed keeps program 0; the reason
// (stage not created, GLSL compile or link error with the driver's log) is in the Logger.
#include "resource/IResource.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Varn
{
class Logger;
}

namespace Varn::Resource
{

class Shader final : public IResource
{
public:
    // geometrySource may be null.
    // Compile failures are told to `logger`.
    Shader(Logger& logger, const char* vertexSource, const char* fragmentSource, const char* geometrySource);
    ~Shader() override; // deletes the program

    // The location of a uniform, asked of the driver once per name and program: drawing code
    // calls this per draw, and the driver's lookup is a string search of its own. -1 when the
    // program has no such active uniform, which glUniform* ignores.
    int32_t Location(const char* name) const;

    uint32_t program = 0;

private:
    mutable std::vector<std::pair<std::string, int32_t>> locations; // few names per program
};

} // namespace Varn::Resource
