#pragma once
// The game's command line. With no arguments the game starts as it always has: on the logo
// scene, with its content beside it and its save in the player's folder.
#include "core/Logger.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Varn::Game
{

struct GameOptions
{
    static constexpr const char* FIRST_SCENE = "Resources/Scenes/LogoScene.scene";

    std::string scene = FIRST_SCENE; // --scene PATH: start there, skipping the logo
    std::string dataDir;             // --data DIR: the folder holding Resources/
    std::string saveDir;             // --save-dir DIR: where the save goes
    std::optional<uint32_t> seed;    // --seed N: every random draw repeats from run to run
    std::optional<bool> fullscreen;  // --fullscreen, or --windowed; unset keeps gameConfig.ini's
    int windowedWidth = 0;           // --windowed WxH: the window's size; 0 keeps gameConfig.ini's
    int windowedHeight = 0;
    bool watch = false;                    // --watch: reload content files as they change
    bool overlay = false;                  // --overlay: start with the debug overlay showing (F3)
    std::string record;                    // --record FILE: write the run down as it plays
    std::string replay;                    // --replay FILE: play a recorded run again
    Logger::LEVEL logLevel = Logger::INFO; // --log-level: error, warning, info or debug
    bool help = false;                     // --help
    bool version = false;                  // --version
    std::string problem;                   // what is wrong with the command line; empty when nothing

    static GameOptions Parse(int argc, const char* const* argv);
    static const char* Usage();
};

} // namespace Varn::Game
