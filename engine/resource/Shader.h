#pragma once
// A linked OpenGL program. A program whose construction failed keeps program 0; the reason
// (stage not created, GLSL compile or link error with the driver's log) is in the Logger.
#include "resource/IResource.h"

#include <cstdint>

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

    uint32_t program = 0;
};

} // namespace Varn::Resource
