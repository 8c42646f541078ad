#pragma once
// The game window and its OpenGL 3.3 core context (SDL2). Reads the display settings, switches
// between a centred, resizable window at the base resolution and a borderless window over the
// whole display, letter-boxes the picture into either, pumps the platform events and tracks
// focus. The frame loop, the display-mode actions and the renderers read its fields; only the
// Window writes them. What other parts must hear of (input events, focus, a new drawing-area
// size, a dropped file) goes out through the `on...` handlers, which the engine sets when it
// builds the window: the window itself knows no other part.
#include "core/VarnColor.h"
#include "core/WindowConfig.h"

#include <functional>
#include <optional>
#include <string>

struct SDL_Window;
union SDL_Event;

namespace Varn
{
class Logger;

// Where the base picture lands on a screen: uniform scale, centred.
struct LetterBox
{
    float scale;
    int x, y;          // lower-left corner of the picture
    int width, height; // size of the picture
};

// What a file dropped on the window is reloaded as.
enum class DROPPED_FILE
{
    NONE,
    TEXTURE,
    FONT,
    SCRIPT,
    SHADER,
    SOUND
};

// What the command line asks of the display; it wins over "gameConfig.ini".
struct DisplayChoice
{
    std::optional<bool> fullscreen; // --fullscreen or --windowed; unset keeps the file's mode
    int windowedWidth = 0;          // --windowed WxH: the windowed (base) size; 0 keeps the file's
    int windowedHeight = 0;
};

class Window
{
public:
    explicit Window(Logger& logger) : logger(logger) {}
    ~Window(); // releases the context and the window
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Reads "gameConfig.ini" (then `choice` over it), opens the window with its context, binds
    // OpenGL and applies the configured display mode. False (with a log line) when there is no
    // window or no context.
    bool Create();
    void SetWindowed();
    // The size the window takes when windowed (the picture keeps its shape inside it); a
    // window that is windowed now takes it at once.
    void SetWindowedSize(int width, int height);
    void SetFullscreen();
    // Shows or hides the system cursor and records it in `cursorVisible`.
    void SetCursorVisible(bool visible);
    // Moves the system cursor to (x, y) in client coordinates; nothing without a window.
    void WarpCursor(int x, int y) const;

    // Handles every pending platform event; returns when the queue is empty.
    void PumpMessages();
    void HandleEvent(const SDL_Event& event);
    void SetActive(bool focused); // focus gained or lost
    void OnFileDropped(const std::string& path);
    void ApplyClearColour() const;
    // The OpenGL driver's renderer and version ("llvmpipe (LLVM 15.0.6, 256 bits), 4.5 (Core
    // Profile) Mesa 22.3.6"); empty without a context.
    std::string RendererName() const;
    void SwapBuffers() const;

    // Scales the base resolution uniformly to fit the screen and centres it.
    static LetterBox ComputeLetterBox(int baseW, int baseH, int screenW, int screenH);
    // The part of `path` from "Resources" on, and what it is reloaded as (NONE to skip it).
    static DROPPED_FILE ClassifyDroppedFile(const std::string& path, std::string& relative);
    // When the working directory has no "Resources", moves into the first folder that has: the
    // executable's own, ../share/corvalune from it (installed), or the one above (a build folder).
    static void EnterContentFolder();

    SDL_Window* handle = nullptr;              // null until Create succeeds
    void* glContext = nullptr;                 // the SDL_GLContext; null until Create succeeds
    bool running = true;                       // cleared by a quit request; ends the main loop
    int baseWidth = 0, baseHeight = 0;         // render resolution: the windowed size
    int viewportWidth = 0, viewportHeight = 0; // size of the area the game is drawn into
    int screenWidth = 0, screenHeight = 0;     // the primary display
    int viewportX = 0, viewportY = 0;          // lower-left corner of the drawing area
    bool fullscreen = false;
    bool active = false; // the main loop updates and draws only while true
    WindowConfig config;
    DisplayChoice choice;               // set before Create
    float scaleX = 0.0f, scaleY = 0.0f; // picture scale in the window, the same on both axes
    bool cursorVisible = true;
    VarnColor clearColour{1, 1, 1, 1};

    std::function<void(const SDL_Event& event)> onInput; // every event the window does not handle
    std::function<void(bool focused)> onFocusChanged;    // after `active` has changed
    std::function<void(int width, int height)> onResize; // the drawing area's new size
    std::function<void(DROPPED_FILE kind, const std::string& relative)> onFileDropped;

private:
    // Letter-boxes the base picture into the window's real drawable area, in either mode.
    void Fit();
    void Resized() const;

    Logger& logger;
};

} // namespace Varn
