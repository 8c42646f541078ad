#pragma once
// The work of each fuzz target as a plain function, shared by the libFuzzer mains and by the
// regression test of the normal suite, so a replayed input takes exactly the fuzzer's path.
// Each call builds an Engine without a window of its own (a hidden OpenGL context is current
// instead) over the repository's Resources, feeds it one input and tears it down; inputs and
// the save folder live in a private temporary folder of the process, never in the player's.
// Main thread only, and never while another Engine is alive.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Varn::Fuzz
{

// What one input left behind.
struct Outcome
{
    std::vector<std::string> log; // the engine's log lines of the run (the log itself is emptied)
    bool consistent = true;       // false when a check of the entry failed; the fuzzer stops there
};

// One fuzz target: its name (also its regression folder, fuzz/regressions/<name>) and its entry.
struct Target
{
    const char* name;
    Outcome (*run)(const uint8_t* data, std::size_t size);
};

// The bytes as a scene file through the scene loader, then a few engine steps.
Outcome LoadSceneText(const uint8_t* data, std::size_t size);
// The bytes as a prefab file instantiated into an empty scene, then a few engine steps.
Outcome LoadPrefabText(const uint8_t* data, std::size_t size);
// The bytes as the one ORIN script of an entity: compiled as the scene loader does, then a few
// engine steps.
Outcome RunScriptText(const uint8_t* data, std::size_t size);
// The bytes as the player's global-variables file: read, written back and read again; the
// second reading must give what was written.
Outcome ReadGlobalsText(const uint8_t* data, std::size_t size);
// The bytes as an image file named with `extension` (".png"), decoded by Texture2D::Load.
Outcome DecodeImage(const uint8_t* data, std::size_t size, const std::string& extension);
// DecodeImage under each extension the game's content uses.
Outcome DecodeImageEveryFormat(const uint8_t* data, std::size_t size);
// The bytes as "gameConfig.ini", read as the Window reads it.
Outcome ReadConfigText(const uint8_t* data, std::size_t size);

// For a process that only fuzzes: opens the sound output and an OpenGL context once and keeps
// them until the process ends. Runs then share them instead of opening and closing their own,
// which waits for the audio thread (a tenth of a second a run) and leaks a little inside the
// driver each time. Runs take the same path either way. Not for test processes: tests choose
// and open devices of their own.
void HoldDevicesForProcess();

// Every target, in a fixed order.
const std::vector<Target>& Targets();
// The target of that name; null when there is none.
const Target* FindTarget(const std::string& name);

// The extensions DecodeImageEveryFormat writes, in order.
const std::vector<std::string>& ImageExtensions();

} // namespace Varn::Fuzz
