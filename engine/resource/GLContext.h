#pragma once
// OpenGL may be called only while a context is current (the function binding aborts before one
// exists). A manager used without a window, as in logic tests or after a failed start, still
// creates and destroys resources: each OpenGL-backed step checks here first and is skipped.

namespace Varn::Resource
{

bool HasCurrentGLContext();

} // namespace Varn::Resource
