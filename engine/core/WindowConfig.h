#pragma once
// The display settings of "gameConfig.ini", section "Game Settings".
#include <string>

namespace Varn
{

struct WindowConfig
{
    static constexpr float ASPECT = 1.7777778f; // 16:9, forced on both sizes
    // Every layer framebuffer is a texture at the window's size, and desktop drivers are only
    // sure to accept textures up to this size; a bigger window could not be drawn into.
    static constexpr int MAX_SIZE = 16384; // pixels, on either axis

    int windowWidth = 1920;       // "Window_Width": full-screen width before letter-boxing
    int windowHeight = 1080;      // "Window_Height"
    int windowedWidth = 1280;     // "Windowed_Width": the base resolution
    int windowedHeight = 720;     // "Windowed_Height"
    bool windowFullscreen = true; // "Window_Fullscreen": any non-zero value

    // Reads the file; a missing file or key keeps the default, and heights more than one pixel
    // off 16:9 are replaced. A width whose 16:9 size is empty or past MAX_SIZE puts that mode
    // back to its default size. `problems` receives one line per value that could not be used.
    static WindowConfig Load(const std::string& path, std::string* problems = nullptr);
    // The file to read: the player's own "gameConfig.ini" in "$XDG_CONFIG_HOME/Corvalune/"
    // (else "$HOME/.config/Corvalune/") when there is one, since an installed game's folder
    // cannot be written; else the one in the content folder, the working directory.
    static std::string FindFile();
    // Replaces `height` by width / 16:9 (truncated) when it is more than 1 away from it.
    static int ForceAspect(int width, int height);
};

} // namespace Varn
