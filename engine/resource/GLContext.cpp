#include "resource/GLContext.h"

#include <SDL.h>

namespace Varn::Resource
{

bool HasCurrentGLContext()
{
    return SDL_GL_GetCurrentContext() != nullptr;
}

} // namespace Varn::Resource
