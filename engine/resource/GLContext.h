#pragma once
// Resources outlive nothing that owns OpenGL state, but a manager built without a window (logic
// tests, a failed start) still destroys its resources: OpenGL objects are deleted only while a
// context is current on this thread.

namespace Varn::Resource
{

bool HasCurrentGLContext();

} // namespace Varn::Resource
