// Runs a scene for a number of displayed frames and prints where the time went: the whole
// frame, its simulation and drawing halves, and each system's own recorded duration. With
// --steps N it runs exactly N fixed simulation steps instead, back to back with no pacing and
// no drawing, and prints the step and each simulation system per step: frames so fast that the
// real-time step seldom runs cannot hide the scripts' cost then.
//   build/tools/corvalune_profile [--save-dir DIR] SCENE [FRAMES]
//   build/tools/corvalune_profile [--save-dir DIR] --steps N SCENE
// Run it from the folder that holds Resources/. Without a display it uses SDL's offscreen
// driver, whose software rasteriser makes drawing far slower than on a GPU. The run's save
// goes to DIR, or to a temporary folder, never to the player's. Exits 1 when the scene does
// not load, 2 on a wrong command line.
#include "common/ToolArguments.h"
#include "common/ToolSaveFolder.h"
#include "core/Window.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "enemies/EnemyBuilders.h"
#include "scene/Engine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

struct Series
{
    std::string name;
    double total = 0.0, worst = 0.0;
    void Add(double seconds)
    {
        total += seconds;
        worst = std::max(worst, seconds);
    }
};

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Adds a sample to the series at `at`, which the first sample makes, named `name`.
void Add(std::vector<Series>& series, std::size_t at, const char* name, double seconds)
{
    if (series.size() == at)
    {
        series.push_back({name});
    }
    series[at].Add(seconds);
}

constexpr const char* USAGE = "usage: corvalune_profile [--save-dir DIR] SCENE [FRAMES]\n"
                              "       corvalune_profile [--save-dir DIR] --steps N SCENE\n";

void Print(const std::vector<Series>& series, int count)
{
    std::printf("%-12s %10s %10s\n", "", "mean ms", "worst ms");
    for (const Series& s : series)
    {
        std::printf("%-12s %10.3f %10.3f\n", s.name.c_str(), 1000.0 * s.total / count, 1000.0 * s.worst);
    }
}

// Exactly `count` steps of the fixed length, one after another.
int ProfileSteps(Varn::Scene::Engine& engine, const std::string& scenePath, int count)
{
    std::vector<Series> series;
    int run = 0;
    for (; run < count; ++run)
    {
        const auto start = std::chrono::steady_clock::now();
        const bool finished = engine.Step(static_cast<float>(Varn::Scene::Engine::STEP));
        const double step = Since(start);
        engine.logger.Flush();
        if (!finished)
        {
            std::printf("step %d began a scene load; the profile stops there\n", run + 1);
            ++run;
            break;
        }
        std::size_t at = 0;
        Add(series, at++, "step", step);
        for (const Varn::SystemTime& system : engine.SystemTimes())
        {
            if (!system.draws)
            {
                Add(series, at++, system.name, system.seconds);
            }
        }
    }
    std::printf("%s: %d steps, %zu entities\n", scenePath.c_str(), run,
                engine.scenes->current->entities.size());
    Print(series, std::max(1, run));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const Varn::Tools::ToolArguments arguments = Varn::Tools::ToolArguments::Parse(argc, argv);
    if (arguments.help)
    {
        std::fputs(USAGE, stdout);
        return 0;
    }
    const std::vector<std::string>& given = arguments.positional;
    if (!arguments.problem.empty() || (given.size() != 1 && given.size() != 2) ||
        (arguments.steps != 0 && given.size() != 1))
    {
        std::fprintf(stderr, "%s%s", arguments.problem.empty() ? "" : (arguments.problem + "\n").c_str(),
                     USAGE);
        return 2;
    }
    const std::string& scenePath = given[0];
    const int frames = given.size() == 2 ? std::max(1, std::atoi(given[1].c_str())) : 600;
    Varn::Tools::ToolSaveFolder save(arguments.saveDir);
    if (!save.ok)
    {
        std::fprintf(stderr, "cannot make the save folder %s\n", save.path.c_str());
        return 2;
    }
    Varn::Game::RegisterEnemies();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    Varn::Scene::Engine& engine = Varn::Scene::Engine::Instance();
    const bool started = engine.Start(scenePath);
    if (!started || engine.scenes->current->name != scenePath)
    {
        engine.logger.Flush();
        std::fprintf(stderr, "%s: %s\n", scenePath.c_str(), started ? "the scene did not load" : "no window");
        Varn::Scene::Engine::Shutdown();
        return 1;
    }
    if (arguments.steps != 0)
    {
        const int status = ProfileSteps(engine, scenePath, arguments.steps);
        Varn::Scene::Engine::Shutdown();
        return status;
    }
    std::vector<Series> series;
    int steps = 0;
    for (int i = 0; i < frames; ++i)
    {
        const auto frameStart = std::chrono::steady_clock::now();
        engine.Update();
        const double simulation = Since(frameStart);
        const auto drawStart = std::chrono::steady_clock::now();
        engine.window->ApplyClearColour();
        engine.Render();
        engine.window->SwapBuffers();
        const double drawing = Since(drawStart);
        engine.logger.Flush();
        steps += engine.stepsLastFrame;

        std::size_t at = 0;
        Add(series, at++, "frame", Since(frameStart));
        Add(series, at++, "simulation", simulation);
        Add(series, at++, "drawing", drawing);
        for (const Varn::SystemTime& system : engine.SystemTimes())
        {
            Add(series, at++, system.name, system.seconds);
        }
    }
    std::printf("%s: %d frames, %d steps, %zu entities\n", scenePath.c_str(), frames, steps,
                engine.scenes->current->entities.size());
    Print(series, frames);
    Varn::Scene::Engine::Shutdown();
    return 0;
}
