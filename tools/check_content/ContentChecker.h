#pragma once
// Reads every scene, prefab and script under Resources/ the way the game reads them and
// collects what is wrong: load errors the engine logs, scripts that do not compile, and file
// names that content gives but that do not exist. Needs an open Engine (a window with an
// OpenGL context, a current scene, the default resources loaded) whose working directory is
// the folder holding Resources/, because content names its files relative to that folder.
// Loading replaces the current scene's entities; the checker owns only its problem list.
#include "check_content/EntityChecker.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Varn::Tools
{

struct ContentProblem
{
    std::string file;    // as walked ("Resources/Scenes/Level1.scene") or as given to CheckFile
    std::string problem; // one line, no trailing full stop
};

class ContentChecker
{
public:
    // Every .scene, .prefab and .orin file under Resources/ (the global variables file is
    // checked as such, not compiled), in path order, plus the engine's default files.
    // Returns all problems found so far.
    const std::vector<ContentProblem>& Run();
    // One .scene, .prefab or .orin file (by its extension); any other file is a problem.
    void CheckFile(const std::filesystem::path& file);

    // Whether a log line reports broken content, by the engine's own message texts.
    static bool IsErrorLine(const std::string& line);

    // "<file>: <problem>" lines, one per problem.
    std::vector<std::string> Lines() const;
    // The last line of the report: how much was checked and how many problems were found.
    std::string Summary() const;

    std::vector<ContentProblem> problems;
    std::size_t scenes = 0; // files checked, by kind
    std::size_t prefabs = 0;
    std::size_t scripts = 0;

private:
    void CheckDefaults();
    void CheckScene(const std::string& file);
    void CheckPrefab(const std::string& file);
    void CheckScript(const std::string& file);
    void CheckGlobals(const std::string& file);

    // Names inside one line of scene or prefab JSON that the loader takes without a word:
    // files, shaders, the current animation. `file` is the content file.
    void CheckEntityNames(const std::string& file, const std::string& json);
    // File names given by literal parameters of the statements of an ORIN file's text.
    void CheckStatementFileNames(const std::string& file, const std::string& text);
    // `name` as content writes it (back slashes allowed) must be an existing file.
    void RequireFile(const std::string& file, const std::string& name, const std::string& what);
    // Moves the logger's error lines into problems of `file`, dropping the other lines.
    void TakeLogErrors(const std::string& file, const std::string& context);
    void Report(const std::string& file, const std::string& problem);
    // Returns the current scene's entities to the pool, main camera included, and forgets the
    // textures that failed to load.
    static void EmptyScene();

    std::vector<std::pair<std::string, std::string>> missing; // content file, file name it gives
    std::unique_ptr<EntityChecker> entityChecker;             // built on first use: needs the engine
};

} // namespace Varn::Tools
