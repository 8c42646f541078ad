// Runs every test headless: an offscreen OpenGL context, a silent mixer, and a save and config
// folder of its own, whatever the machine's environment says.
#include "enemies/EnemyBuilders.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // SDL would turn SIGTERM into a quit event, and a hung test would outlive `timeout`.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
    unsetenv("APPDATA");
    std::string saveFolder = (std::filesystem::temp_directory_path() / "corvalune-test-XXXXXX").string();
    if (mkdtemp(saveFolder.data()) != nullptr)
    {
        setenv("XDG_DATA_HOME", saveFolder.c_str(), 1);
        setenv("XDG_CONFIG_HOME", saveFolder.c_str(), 1); // no display settings of the machine's own
    }
    // Keep the OpenGL driver mapped after SDL lets go of it, so that the leak checker of
    // sanitizer builds can name (and suppress) the driver's own allocations.
    for (const char* library : {"libEGL_mesa.so.0", "libglapi.so.0", "libLLVM-15.so.1",
                                "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
    {
        dlopen(library, RTLD_LAZY | RTLD_NODELETE);
    }
    // The game's content runs in many tests, and its enemies with it.
    Varn::Game::RegisterEnemies();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(saveFolder, ignored);
    return result;
}
