#pragma once
// A linked OpenGL program. A program whose construction failed keeps program 0.
#include "resource/IResource.h"

#include <cstdint>

namespace Varn::Resource
{

class Shader final : public IResource
{
public:
    // geometrySource may be null.
    Shader(const char* vertexSource, const char* fragmentSource, const char* geometrySource);

    uint32_t program = 0;
};

} // namespace Varn::Resource
