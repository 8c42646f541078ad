#pragma once
// Reads every scene, prefab and script under Resources/ the way the game reads them and
// collects what is wrong: load errors the engine logs, scripts that do not compile, and file
// names that content gives but that do not exist. Needs an open Engine (a window with an
// OpenGL context, a current scene, the default resources loaded) whose working directory is
// the folder holding Resources/, because content names its files relative to that folder.
// Loading replaces the current scene's entities; the checker owns only its problem list.
#include "ecs/IComponent.h"

#include <rapidjson/document.h>

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
    // Whether a literal names a file: "Resources/" first and an extension on its last part, or
    // the extension of a kind of file content uses. Names without one are built at run time.
    static bool LooksLikeContentFile(const std::string& text);

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
    void CheckAnimationName(const std::string& file, const rapidjson::Value& entity, const std::string& name);
    // Members and block keys the loader does not know, and values without the form they need:
    // the loader skips both without a word.
    void CheckForms(const std::string& file, const rapidjson::Value& entity, const std::string& name);
    // File names given by literal parameters of the statements of an ORIN file's text.
    void CheckStatementFileNames(const std::string& file, const std::string& text);
    // `name` as content writes it (back slashes allowed) must be an existing file.
    void RequireFile(const std::string& file, const std::string& name, const std::string& what);
    // Moves the logger's error lines into problems of `file`, dropping the other lines.
    void TakeLogErrors(const std::string& file, const std::string& context);
    void Report(const std::string& file, const std::string& problem);
    // Returns the current scene's entities to the pool, main camera included.
    static void EmptyScene();

    std::vector<std::pair<std::string, std::string>> missing; // content file, file name it gives
    std::vector<std::unique_ptr<ECS::IComponent>> blocks;     // one of each class, for its key list
};

} // namespace Varn::Tools
