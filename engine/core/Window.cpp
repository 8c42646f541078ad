#include "core/Window.h"

#include "core/FilePath.h"
#include "core/Logger.h"

#include <SDL.h>
#include <glbinding/Binding.h>
#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <filesystem>

using namespace gl33core;

namespace Varn
{

namespace
{
constexpr const char* TITLE = "Corvalune";

} // namespace

Window::~Window()
{
    if (glContext != nullptr)
    {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext));
    }
    if (handle != nullptr)
    {
        SDL_DestroyWindow(handle);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER);
    }
}

void Window::EnterContentFolder()
{
    std::error_code error;
    if (std::filesystem::is_directory("Resources", error))
    {
        return;
    }
    char* base = SDL_GetBasePath();
    if (base == nullptr)
    {
        return;
    }
    const std::filesystem::path folder(base);
    SDL_free(base);
    // Beside the executable for a shipped game; share/corvalune beside its bin folder for an
    // installed one; one level up for one run from its build folder.
    const std::filesystem::path prefix = folder.parent_path().parent_path();
    for (const std::filesystem::path& candidate : {folder, prefix / "share" / "corvalune", prefix})
    {
        if (std::filesystem::is_directory(candidate / "Resources", error))
        {
            std::filesystem::current_path(candidate, error);
            return;
        }
    }
}

bool Window::Create()
{
    EnterContentFolder();

    std::string problems;
    config = WindowConfig::Load(WindowConfig::FindFile(), &problems);
    if (!problems.empty())
    {
        problems.pop_back();
        logger.Log(problems);
    }
    if (choice.fullscreen)
    {
        config.windowFullscreen = *choice.fullscreen;
    }
    if (choice.windowedWidth > 0 && choice.windowedHeight > 0)
    {
        config.windowedWidth = choice.windowedWidth;
        config.windowedHeight = WindowConfig::ForceAspect(choice.windowedWidth, choice.windowedHeight);
    }

    const int width = config.windowFullscreen ? config.windowWidth : config.windowedWidth;
    const int configuredHeight = config.windowFullscreen ? config.windowHeight : config.windowedHeight;
    viewportWidth = width;
    viewportHeight = WindowConfig::ForceAspect(width, configuredHeight);
    baseWidth = config.windowedWidth;
    baseHeight = config.windowedHeight;

    // The controller subsystem reports pads already plugged in as "added" events.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        logger.Log(std::string("Error: Failed To Create Window: ") + SDL_GetError());
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    {
        logger.Log(std::string("Error: Failed To Open Gamepads: ") + SDL_GetError());
    }
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0)
    {
        screenWidth = desktop.w;
        screenHeight = desktop.h;
    }
    else
    {
        screenWidth = baseWidth;
        screenHeight = baseHeight;
    }
    const LetterBox box = ComputeLetterBox(baseWidth, baseHeight, screenWidth, screenHeight);
    scaleX = scaleY = box.scale;

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);

    handle = SDL_CreateWindow(TITLE, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, viewportWidth,
                              viewportHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    if (handle == nullptr)
    {
        logger.Log(std::string("Error: Failed To Create Window: ") + SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER);
        return false;
    }
    glContext = SDL_GL_CreateContext(handle);
    if (glContext == nullptr)
    {
        logger.Log(std::string("Error: Failed To Create OpenGL Context: ") + SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(handle, static_cast<SDL_GLContext>(glContext));
    glbinding::Binding::initialize();
    // Depth only orders sprites (there is no depth test), so nothing may be clipped away for
    // lying outside the camera's near and far planes.
    glEnable(GL_DEPTH_CLAMP);

    SDL_RaiseWindow(handle);
    // The offscreen driver never reports focus; a headless run must still update.
    if (std::string(SDL_GetCurrentVideoDriver()) == "offscreen" ||
        (SDL_GetWindowFlags(handle) & SDL_WINDOW_INPUT_FOCUS) != 0)
    {
        active = true;
    }

    if (config.windowFullscreen)
    {
        SetFullscreen();
    }
    else
    {
        SetWindowed();
    }
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    return true;
}

LetterBox Window::ComputeLetterBox(int baseW, int baseH, int screenW, int screenH)
{
    if (baseW <= 0 || baseH <= 0)
    {
        return {1.0f, 0, 0, baseW, baseH};
    }
    // Fit the width, unless the screen is wider than 16:9: then fit the height, so that the
    // picture is pillar-boxed instead of cut off at the top and bottom.
    const float byWidth = static_cast<float>(screenW) / static_cast<float>(baseW);
    const float byHeight = static_cast<float>(screenH) / static_cast<float>(baseH);
    const float scale = std::min(byWidth, byHeight);
    LetterBox box{scale, 0, 0, static_cast<int>(static_cast<float>(baseW) * scale),
                  static_cast<int>(static_cast<float>(baseH) * scale)};
    box.x = (screenW - box.width) / 2;
    box.y = (screenH - box.height) / 2;
    return box;
}

void Window::SetWindowed()
{
    fullscreen = false;
    if (handle != nullptr)
    {
        SDL_SetWindowFullscreen(handle, 0);
        SDL_SetWindowBordered(handle, SDL_TRUE);
        SDL_SetWindowSize(handle, baseWidth, baseHeight);
        SDL_SetWindowPosition(handle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    Fit();
}

void Window::SetWindowedSize(int width, int height)
{
    baseWidth = width;
    baseHeight = height;
    if (!fullscreen)
    {
        SetWindowed();
    }
}

void Window::SetCursorVisible(bool visible)
{
    cursorVisible = visible;
    if (handle != nullptr)
    {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
}

void Window::WarpCursor(int x, int y) const
{
    if (handle != nullptr)
    {
        SDL_WarpMouseInWindow(handle, x, y);
    }
}

void Window::SetFullscreen()
{
    fullscreen = true;
    if (handle != nullptr)
    {
        const int display = std::max(0, SDL_GetWindowDisplayIndex(handle));
        SDL_Rect bounds{0, 0, screenWidth, screenHeight};
        if (SDL_GetDisplayBounds(display, &bounds) == 0)
        {
            screenWidth = bounds.w;
            screenHeight = bounds.h;
        }
        // Borderless over the whole display by hand: the desktop full-screen flag alone needs a
        // window manager that honours it, and without one the window keeps its size and place.
        SDL_SetWindowBordered(handle, SDL_FALSE);
        SDL_SetWindowPosition(handle, bounds.x, bounds.y);
        SDL_SetWindowSize(handle, bounds.w, bounds.h);
        SDL_SetWindowFullscreen(handle, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    Fit();
}

void Window::Fit()
{
    int width = fullscreen ? screenWidth : baseWidth, height = fullscreen ? screenHeight : baseHeight;
    if (handle != nullptr)
    {
        SDL_GL_GetDrawableSize(handle, &width, &height);
    }
    const LetterBox box = ComputeLetterBox(baseWidth, baseHeight, width, height);
    scaleX = scaleY = box.scale;
    viewportX = box.x;
    viewportY = box.y;
    viewportWidth = box.width;
    viewportHeight = box.height;
    Resized();
    if (glContext != nullptr)
    {
        glViewport(viewportX, viewportY, viewportWidth, viewportHeight);
    }
}

void Window::Resized() const
{
    if (onResize)
    {
        onResize(viewportWidth, viewportHeight);
    }
}

void Window::PumpMessages()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0)
    {
        HandleEvent(event);
    }
}

void Window::HandleEvent(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_QUIT:
        running = false;
        break;
    case SDL_WINDOWEVENT:
        // Only this window's: a window destroyed before it may have left events in the queue,
        // and a stale "focus lost" would leave this one paused for good.
        if (handle == nullptr || event.window.windowID != SDL_GetWindowID(handle))
        {
            break;
        }
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
        {
            SetActive(true);
        }
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
        {
            SetActive(false);
        }
        else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        {
            Fit(); // the player resized the window, or the window manager made it full screen
        }
        break;
    case SDL_DROPFILE:
        if (event.drop.file != nullptr)
        {
            OnFileDropped(event.drop.file);
            SDL_free(event.drop.file);
        }
        break;
    default:
        if (onInput)
        {
            onInput(event);
        }
        break;
    }
}

void Window::SetActive(bool focused)
{
    active = focused;
    if (onFocusChanged)
    {
        onFocusChanged(focused);
    }
}

DROPPED_FILE Window::ClassifyDroppedFile(const std::string& path, std::string& relative)
{
    const std::size_t cut = path.find("Resources");
    if (cut == std::string::npos)
    {
        relative.clear();
        return DROPPED_FILE::NONE;
    }
    relative = path.substr(cut);
    // The first listed extension found anywhere in the path decides, as content expects.
    static const std::pair<const char*, DROPPED_FILE> kinds[] = {
        {".dds", DROPPED_FILE::TEXTURE}, {".ttf", DROPPED_FILE::FONT},    {".orin", DROPPED_FILE::SCRIPT},
        {".vert", DROPPED_FILE::SHADER}, {".frag", DROPPED_FILE::SHADER}, {".ogg", DROPPED_FILE::SOUND}};
    for (const auto& [extension, kind] : kinds)
    {
        if (relative.find(extension) != std::string::npos)
        {
            return kind;
        }
    }
    return DROPPED_FILE::NONE;
}

void Window::OnFileDropped(const std::string& path)
{
    std::string relative;
    const DROPPED_FILE kind = ClassifyDroppedFile(path, relative);
    if (kind != DROPPED_FILE::NONE && onFileDropped)
    {
        onFileDropped(kind, relative);
    }
}

void Window::ApplyClearColour() const
{
    if (glContext == nullptr)
    {
        return;
    }
    glClearColor(clearColour.r, clearColour.g, clearColour.b, clearColour.a);
}

std::string Window::RendererName() const
{
    if (glContext == nullptr)
    {
        return "";
    }
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return std::string(renderer != nullptr ? renderer : "?") + ", " + (version != nullptr ? version : "?");
}

void Window::SwapBuffers() const
{
    if (handle != nullptr)
    {
        SDL_GL_SwapWindow(handle);
    }
}

} // namespace Varn
