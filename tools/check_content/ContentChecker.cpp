#include "check_content/ContentChecker.h"

#include "core/FilePath.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/ScriptComponent.h"
#include "ecs/Transform.h"
#include "resource/ResourceManager.h"
#include "resource/Script.h"
#include "resource/Texture2D.h"
#include "scene/Engine.h"
#include "scene/JSONManager.h"
#include "script/GlobalVariables.h"
#include "script/ORINCompiler.h"
#include "script/ScriptSystem.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace Varn::Tools
{

namespace
{

namespace fs = std::filesystem;
using rapidjson::Value;

// Statements whose parameter at `index` names a file.
struct FileParameter
{
    const char* keyword;
    std::size_t index;
    const char* kind;
};

const FileParameter FILE_PARAMETERS[] = {
    {"PlaySound", 0, "sound"},    {"CreatePrefab", 0, "prefab"},    {"CreateParticle", 0, "prefab"},
    {"LoadScene", 0, "scene"},    {"LoadSceneSynchro", 0, "scene"}, {"SetSprite", 0, "texture"},
    {"SetUIImage", 0, "texture"}, {"SetButtonImage", 1, "texture"},
};

// Lines of a log that report broken content. Each is the start of a message the engine writes
// ("Error: Load Failed. Scene is Invalid", "Invalid SetBool parameters in X.", "Missing array
// a in X.", "Something is wrong with X"); the script compiler and the reference resolver mark
// theirs with "[ERROR]" instead.
const char* const ERROR_STARTS[] = {"Error",     "Missing", "Invalid", "Something is wrong",
                                    "Could not", "Failed"};
const char* const ERROR_PARTS[] = {"Failed to Load", "[ERROR]"};

// One statement of an ORIN file: its words, comments removed, and the line it is on.
struct Statement
{
    std::size_t line = 0;
    std::vector<std::string> words;
};

// Cuts the text as the compiler does (words at single spaces; a comment, an empty word or a
// line end closes the statement), keeping the line numbers the compiler forgets.
std::vector<Statement> Statements(const std::string& text)
{
    std::vector<Statement> statements;
    std::istringstream lines(text);
    std::string line;
    Statement current;
    bool lineComment = false;
    bool blockComment = false;
    for (std::size_t number = 1; std::getline(lines, line); ++number)
    {
        auto close = [&]()
        {
            if (!current.words.empty())
            {
                statements.push_back(current);
            }
            current.words.clear();
        };
        current.line = number;
        for (const std::string& token : Resource::Script::Tokenise(line))
        {
            const std::string start = token.substr(0, 2);
            if (start == "//")
            {
                close();
                lineComment = true;
            }
            else if (start == "/*")
            {
                close();
                blockComment = true;
            }
            else if (start == "*/")
            {
                close();
                blockComment = false;
            }
            else if (token.empty())
            {
                close();
                lineComment = false;
            }
            else if (!lineComment && !blockComment)
            {
                current.words.push_back(token);
            }
        }
        close();
    }
    return statements;
}

// The keyword of a statement and the index of its first parameter; section headers and
// declarations have none. "[Event] True" carries its trigger on the header's line.
bool KeywordOf(const Statement& statement, std::size_t& keyword)
{
    const std::vector<std::string>& words = statement.words;
    if (words[0] == "[Event]")
    {
        keyword = 1;
        return words.size() > 1;
    }
    if (words[0].front() == '[' || Script::ORINCompiler::IsTypeWord(words[0]))
    {
        return false;
    }
    keyword = words[0].front() == '#' ? 1 : 0;
    return keyword < words.size();
}

// The names of a header line, each ended by a comma, as the scene loader reads them; `rest`
// receives what follows the last comma, which the loader ignores.
std::vector<std::string> HeaderNames(const std::string& line, std::string& rest)
{
    std::vector<std::string> names;
    std::size_t start = line.find(':') + 1;
    for (std::size_t comma = line.find(',', start); comma != std::string::npos; comma = line.find(',', start))
    {
        names.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    rest = line.substr(start);
    std::erase_if(rest, [](char c) { return c == ' ' || c == '\r' || c == '\t'; });
    return names;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

bool ContentChecker::IsErrorLine(const std::string& line)
{
    return std::any_of(std::begin(ERROR_STARTS), std::end(ERROR_STARTS),
                       [&line](const char* start) { return line.starts_with(start); }) ||
           std::any_of(std::begin(ERROR_PARTS), std::end(ERROR_PARTS),
                       [&line](const char* part) { return line.find(part) != std::string::npos; });
}

const std::vector<ContentProblem>& ContentChecker::Run()
{
    CheckDefaults();
    std::error_code error;
    if (!fs::is_directory("Resources", error))
    {
        Report("Resources", "no such folder in " + fs::current_path(error).string());
        return problems;
    }
    std::vector<fs::path> files;
    for (auto entry = fs::recursive_directory_iterator(
             "Resources", fs::directory_options::follow_directory_symlink, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error))
    {
        const std::string extension = entry->path().extension().string();
        if (entry->is_regular_file(error) &&
            (extension == ".scene" || extension == ".prefab" || extension == ".orin"))
        {
            files.push_back(entry->path());
        }
    }
    if (error)
    {
        Report("Resources", "cannot be walked: " + error.message());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
    {
        CheckFile(file);
    }
    return problems;
}

void ContentChecker::CheckFile(const fs::path& path)
{
    const std::string file = path.generic_string();
    const std::string extension = path.extension().string();
    if (extension == ".scene")
    {
        CheckScene(file);
    }
    else if (extension == ".prefab")
    {
        CheckPrefab(file);
    }
    else if (path.filename() == Script::GlobalVariables::FILE_NAME)
    {
        CheckGlobals(file);
    }
    else if (extension == ".orin")
    {
        CheckScript(file);
    }
    else
    {
        Report(file, "not a scene, prefab or script");
    }
}

void ContentChecker::CheckDefaults()
{
    using Resource::ResourceManager;
    const std::pair<const char*, const char*> defaults[] = {
        {ResourceManager::DEFAULT_TEXTURE, "the default sprite texture"},
        {ResourceManager::DEFAULT_PARTICLE_TEXTURE, "the default particle texture"},
        {ResourceManager::DEFAULT_FONT, "the default font"},
        {ResourceManager::DEFAULT_SCRIPT, "the default script"},
        {Script::GlobalVariables::DEFAULT_FILE, "the global variables file"},
    };
    for (const auto& [name, what] : defaults)
    {
        std::error_code error;
        const fs::path path = fs::path(NativePath(name)).lexically_normal();
        if (!fs::is_regular_file(path, error))
        {
            Report(path.generic_string(), std::string("missing: ") + what + " every scene relies on");
        }
    }
}

void ContentChecker::CheckScene(const std::string& file)
{
    ++scenes;
    // The checker's copies of the file and its parsed document go before the loader makes its
    // own: held across the load they would double the memory a large scene takes.
    {
        std::string text;
        if (!ReadTextFile(file, text))
        {
            Report(file, "cannot be read");
            return;
        }

        // The header lines as the loader reads them, then the names the entities give.
        std::istringstream lines(std::move(text));
        std::string line;
        std::getline(lines, line);
        for (const char* header : {"Tags:", "Audio:"})
        {
            if (line.find(header) == std::string::npos)
            {
                continue;
            }
            std::string rest;
            const std::vector<std::string> names = HeaderNames(line, rest);
            if (!rest.empty())
            {
                Report(file, std::string("the ") + header + " line ends in " + Quoted(rest) +
                                 ", which is ignored: every name needs a comma after it");
            }
            if (std::string(header) == "Audio:")
            {
                for (const std::string& sound : names)
                {
                    RequireFile(file, sound, "sound (Audio: line)");
                }
            }
            line.clear();
            std::getline(lines, line);
        }
        CheckEntityNames(file, line);
        rapidjson::Document document;
        if (Scene::EntityReader::Parse(line, document) && document.IsArray() &&
            std::none_of(document.Begin(), document.End(),
                         [](const Value& entity) {
                             return entity.IsObject() && entity.HasMember("Camera") &&
                                    entity["Camera"].IsObject();
                         }))
        {
            Report(file, "no entity with a Camera: nothing of the world would be drawn");
        }
    }

    Scene::Engine& engine = Scene::Engine::Instance();
    engine.logger.Clear();
    engine.jsonManager->LoadScene(file, false);
    TakeLogErrors(file, "loading logs");
    EmptyScene();
}

void ContentChecker::CheckPrefab(const std::string& file)
{
    ++prefabs;
    std::string text;
    if (!ReadTextFile(file, text))
    {
        Report(file, "cannot be read");
        return;
    }
    CheckEntityNames(file, text.substr(0, text.find('\n')));

    Scene::Engine& engine = Scene::Engine::Instance();
    EmptyScene();
    engine.logger.Clear();
    engine.jsonManager->LoadPrefab(file, Vector4{0, 0, 0, 0});
    TakeLogErrors(file, "instancing logs");
    EmptyScene();
}

void ContentChecker::CheckScript(const std::string& file)
{
    ++scripts;
    std::string text;
    if (!ReadTextFile(file, text))
    {
        Report(file, "cannot be read");
        return;
    }
    CheckStatementFileNames(file, text);

    // Compiled alone, on an entity named after the file, so the compiler's messages name it.
    Scene::Engine& engine = Scene::Engine::Instance();
    ECS::Scene& scene = *engine.scenes->current;
    Script::ORINCompiler& compiler = scene.scriptSystem->compiler;
    ECS::IEntity* entity = engine.entities->CreateEntity(fs::path(file).stem().string());
    entity->AddComponent<ECS::Transform>();
    auto* script = entity->AddComponent<ECS::ScriptComponent>();
    engine.logger.Clear();
    if (Resource::Script* resource = engine.resources->LoadScript(file))
    {
        script->filePath.push_back(resource);
    }
    scene.AddEntity(entity);
    const bool compiled = compiler.Compile(entity, false);
    TakeLogErrors(file, "does not compile");
    scene.RemoveEntity(entity, false);
    if (compiled)
    {
        return;
    }

    // The compiler names the section, not the statement: point at the words it cannot read.
    for (const Statement& statement : Statements(text))
    {
        std::size_t keyword = 0;
        if (!KeywordOf(statement, keyword))
        {
            continue;
        }
        const std::string& word = statement.words[keyword];
        if (!compiler.actionTable.contains(word) && !compiler.conditionTable.contains(word) &&
            !compiler.eventTable.contains(word))
        {
            Report(file, "line " + std::to_string(statement.line) + ": unknown keyword " + Quoted(word));
        }
    }
}

void ContentChecker::CheckGlobals(const std::string& file)
{
    std::string text;
    if (!ReadTextFile(file, text))
    {
        Report(file, "cannot be read");
        return;
    }
    Script::GlobalVariables globals{Scene::Engine::Instance().logger};
    std::istringstream lines(text);
    std::string line;
    for (std::size_t number = 1; std::getline(lines, line); ++number)
    {
        if (!line.empty() && line.back() == '\r')
        {
            line.pop_back();
        }
        if (!line.empty() && !line.starts_with("//") && !globals.ReadLine(line))
        {
            Report(file, "line " + std::to_string(number) +
                             " is not \"Bool|Float|String name value\": " + Quoted(line));
        }
    }
}

void ContentChecker::CheckEntityNames(const std::string& file, const std::string& json)
{
    rapidjson::Document document;
    if (!Scene::EntityReader::Parse(json, document) || !document.IsArray())
    {
        return; // the loader reports it
    }
    if (!entityChecker)
    {
        entityChecker = std::make_unique<EntityChecker>();
    }
    for (const rapidjson::Value& entity : document.GetArray())
    {
        std::vector<std::string> found;
        std::vector<EntityChecker::NamedFile> files;
        entityChecker->Check(entity, found, files);
        for (const std::string& problem : found)
        {
            Report(file, problem);
        }
        for (const EntityChecker::NamedFile& named : files)
        {
            RequireFile(file, named.name, named.what);
        }
    }
}

void ContentChecker::CheckStatementFileNames(const std::string& file, const std::string& text)
{
    for (const Statement& statement : Statements(text))
    {
        std::size_t keyword = 0;
        if (!KeywordOf(statement, keyword))
        {
            continue;
        }
        const std::string& word = statement.words[keyword];
        const std::string where = " (" + word + ", line " + std::to_string(statement.line) + ")";
        std::set<std::size_t> checked;
        for (const FileParameter& parameter : FILE_PARAMETERS)
        {
            const std::size_t index = keyword + 1 + parameter.index;
            if (word != parameter.keyword || index >= statement.words.size())
            {
                continue;
            }
            checked.insert(index);
            // A reference ("#l_next", "#g_NextLevel") is only known while the game runs.
            if (!statement.words[index].starts_with("#"))
            {
                RequireFile(file, statement.words[index], parameter.kind + where);
            }
        }
        for (std::size_t i = keyword + 1; i < statement.words.size(); ++i)
        {
            if (!checked.contains(i) && EntityChecker::LooksLikeContentFile(statement.words[i]))
            {
                RequireFile(file, statement.words[i], "file" + where);
            }
        }
    }
}

void ContentChecker::RequireFile(const std::string& file, const std::string& name, const std::string& what)
{
    std::error_code error;
    if (name.empty() || !fs::is_regular_file(NativePath(name), error))
    {
        Report(file, "missing " + what + ": " + Quoted(name));
        missing.emplace_back(file, name);
    }
}

void ContentChecker::TakeLogErrors(const std::string& file, const std::string& context)
{
    Logger& logger = Scene::Engine::Instance().logger;
    // The loader's own line about a file already reported missing says nothing new.
    auto known = [this, &file](const std::string& line)
    {
        return std::any_of(missing.begin(), missing.end(),
                           [&](const auto& entry) {
                               return entry.first == file && !entry.second.empty() &&
                                      line.find(entry.second) != std::string::npos;
                           });
    };
    for (const std::string& line : logger.Lines())
    {
        if (IsErrorLine(line) && !known(line))
        {
            Report(file, context + ": " + line);
        }
    }
    logger.Clear();
}

void ContentChecker::Report(const std::string& file, const std::string& problem)
{
    // The compiler meets one broken script in several passes; once per file says enough.
    const bool known =
        std::any_of(problems.begin(), problems.end(),
                    [&](const ContentProblem& p) { return p.file == file && p.problem == problem; });
    if (!known)
    {
        problems.push_back({file, problem});
    }
}

void ContentChecker::EmptyScene()
{
    Scene::Engine& engine = Scene::Engine::Instance();
    ECS::Scene& scene = *engine.scenes->current;
    while (!scene.entities.empty())
    {
        scene.RemoveEntity(scene.entities.front(), false);
    }
    scene.mainCamera = nullptr;
    // Every load decodes each registered texture that has no pixels yet, so a texture that
    // failed would be tried, and reported, again under the next file.
    std::erase_if(engine.resources->textures, [](const auto& entry)
                  { return entry.second->textureId == 0 && entry.second->pixels == nullptr; });
}

std::vector<std::string> ContentChecker::Lines() const
{
    std::vector<std::string> lines;
    for (const ContentProblem& problem : problems)
    {
        lines.push_back(problem.file + ": " + problem.problem);
    }
    return lines;
}

std::string ContentChecker::Summary() const
{
    std::set<std::string> files;
    for (const ContentProblem& problem : problems)
    {
        files.insert(problem.file);
    }
    std::string summary = "Checked " + std::to_string(scenes) + " scenes, " + std::to_string(prefabs) +
                          " prefabs and " + std::to_string(scripts) + " scripts: ";
    if (problems.empty())
    {
        return summary + "no problems";
    }
    return summary + std::to_string(problems.size()) +
           (problems.size() == 1 ? " problem in " : " problems in ") + std::to_string(files.size()) +
           (files.size() == 1 ? " file" : " files");
}

} // namespace Varn::Tools
