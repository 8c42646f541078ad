// Sanitizer builds of the tests check for leaks at exit. Mesa keeps a few blocks for the life
// of the process once SDL has created an EGL display and context; when SDL unloads the driver
// those blocks lose their last reference and would be reported against us. Keeping the
// driver's libraries loaded keeps the blocks reachable.
#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>

#include <initializer_list>

namespace
{
const bool driverPinned = []
{
    for (const char* library :
         {"libEGL_mesa.so.0", "libglapi.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
    {
        dlopen(library, RTLD_LAZY | RTLD_NODELETE); // a library that is missing is not an error
    }
    return true;
}();
} // namespace
#endif
