// Runs every test headless: an offscreen OpenGL context, a silent mixer and a save folder of
// its own, whatever the machine's environment says.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("APPDATA");
    std::string saveFolder = (std::filesystem::temp_directory_path() / "corvalune-test-XXXXXX").string();
    if (mkdtemp(saveFolder.data()) != nullptr)
    {
        setenv("XDG_DATA_HOME", saveFolder.c_str(), 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(saveFolder, ignored);
    return result;
}
