#include "check_content/ContentChecker.h"

#include "core/Engine.h"
#include "core/FilePath.h"
#include "core/Range.h"
#include "core/Scene.h"
#include "core/SceneStack.h"
#include "core/VarnColor.h"
#include "core/Vector4.h"
#include "ecs/Animation.h"
#include "ecs/Animator.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/Camera.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Light.h"
#include "ecs/NamedTimer.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/RaycastComponent.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "ecs/UIText.h"
#include "resource/ResourceManager.h"
#include "resource/Script.h"
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

// Component blocks whose keys name files, and what kind of file each names. The loader does
// not notice a missing font or script by name, so these are checked before loading.
struct FileKey
{
    const char* block;
    const char* key;
    const char* kind;
};

const FileKey FILE_KEYS[] = {
    {"Sprite Renderer", "Texture", "texture"},
    {"UI Image", "Texture", "texture"},
    {"UI Button", "Button Texture Default", "texture"},
    {"UI Button", "Button Texture Hover", "texture"},
    {"UI Button", "Button Texture Down", "texture"},
    {"Particle Emitter", "Particle Texture", "texture"},
    {"UI Text", "Font", "font"},
};

using rapidjson::Value;

// Every block an entity may hold, with a component of its class: its property list gives the
// keys the loader reads and the form each value needs.
template <typename T> std::unique_ptr<ECS::IComponent> Make()
{
    auto component = std::make_unique<T>();
    component->BuildProperties();
    return component;
}

std::vector<std::unique_ptr<ECS::IComponent>> BlockComponents()
{
    std::vector<std::unique_ptr<ECS::IComponent>> blocks;
    blocks.push_back(Make<Component::Camera>());
    blocks.push_back(Make<Component::Transform>());
    blocks.push_back(Make<Component::SpriteRenderer>());
    blocks.push_back(Make<Component::RigidBody>());
    blocks.push_back(Make<Component::CircleCollider2D>());
    blocks.push_back(Make<Component::BoxCollider2D>());
    blocks.push_back(Make<UIComponent::UIImage>());
    blocks.push_back(Make<UIComponent::UIText>());
    blocks.push_back(Make<UIComponent::UIButton>());
    blocks.push_back(Make<Component::RaycastComponent>());
    blocks.push_back(Make<Component::Animator>());
    blocks.push_back(Make<Component::ScriptComponent>());
    blocks.push_back(Make<Component::ParticleEmitter>());
    blocks.push_back(Make<Component::Light>());
    blocks.push_back(Make<Component::BehaviourComponent>());
    return blocks;
}

// Entity members besides the blocks, and the form each needs.
const std::pair<const char*, const char*> ENTITY_MEMBERS[] = {
    {"ID", "a string"},
    {"ID Type", "a whole number"},
    {"Layer", "a whole number"},
    {"Room", "a whole number"},
    {"GameObject Active", "true or false"},
    {"Prefab Owner", "a string"},
    {"Current Parent ID", "a whole number"},
    {"Parent ID", "a whole number"},
};

bool HasNumbers(const Value& value, std::initializer_list<const char*> members)
{
    return value.IsObject() && std::all_of(members.begin(), members.end(),
                                           [&value](const char* member)
                                           { return value.HasMember(member) && value[member].IsNumber(); });
}

bool IsSheetSize(const Value& object, const char* member)
{
    return object.HasMember(member) && object[member].IsNumber() && object[member].GetDouble() >= 1.0;
}

// Range members may be left out; those present need the element's form.
template <typename Element> bool IsRange(const Value& value, bool (*element)(const Value&))
{
    return value.IsObject() && (!value.HasMember("Min") || element(value["Min"])) &&
           (!value.HasMember("Max") || element(value["Max"]));
}

bool IsVector(const Value& value)
{
    return HasNumbers(value, {"X", "Y", "Z", "W"});
}

bool IsColour(const Value& value)
{
    return HasNumbers(value, {"R", "G", "B", "A"});
}

bool IsNumber(const Value& value)
{
    return value.IsNumber();
}

// The form a value of the property needs, or null when `value` has it.
const char* MissingForm(const ECS::Property& property, const Value& value)
{
    const std::string first = property.key + " 0";
    auto listed = [&]() { return value.IsObject() && value.HasMember(first.c_str()); };
    if (property.Is<bool>())
    {
        return value.IsBool() ? nullptr : "true or false";
    }
    if (property.Is<float>())
    {
        return value.IsNumber() ? nullptr : "a number";
    }
    if (property.Is<int32_t>() || property.Is<Component::RigidBody::RIGIDBODY_MODE>() ||
        property.Is<Component::BehaviourType>())
    {
        return value.IsInt() ? nullptr : "a whole number";
    }
    if (property.Is<uint32_t>())
    {
        return value.IsUint() ? nullptr : "a whole number, 0 or more";
    }
    if (property.Is<std::string>() || property.Is<Resource::Texture2D*>() ||
        property.Is<Resource::FontSet*>() || property.Is<Resource::Shader*>() || property.Is<Animation*>())
    {
        return value.IsString() ? nullptr : "a string";
    }
    if (property.Is<Math::Vector4>())
    {
        return IsVector(value) ? nullptr : "{\"X\",\"Y\",\"Z\",\"W\"}, all four numbers";
    }
    if (property.Is<Helper::VarnColor>())
    {
        return IsColour(value) ? nullptr : "{\"R\",\"G\",\"B\",\"A\"}, all four numbers";
    }
    if (property.Is<Resource::Mesh2D*>())
    {
        return value.IsObject() && value.HasMember("Mesh") && value["Mesh"].IsString() &&
                       IsSheetSize(value, "Mesh X") && IsSheetSize(value, "Mesh Y")
                   ? nullptr
                   : "{\"Mesh\":name,\"Mesh X\":columns,\"Mesh Y\":rows}, columns and rows 1 or more";
    }
    if (property.Is<Math::Range<float>>())
    {
        return IsRange<float>(value, IsNumber) ? nullptr : "{\"Min\",\"Max\"} numbers";
    }
    if (property.Is<Math::Range<Math::Vector4>>())
    {
        return IsRange<Math::Vector4>(value, IsVector) ? nullptr : "{\"Min\",\"Max\"} vectors";
    }
    if (property.Is<Math::Range<Helper::VarnColor>>())
    {
        return IsRange<Helper::VarnColor>(value, IsColour) ? nullptr : "{\"Min\",\"Max\"} colours";
    }
    if (property.Is<std::vector<Animation>>() || property.Is<std::vector<Resource::Script*>>() ||
        property.Is<std::vector<Component::RaycastComponent::Ray>>())
    {
        return listed() ? nullptr : "an object whose entries start with the key followed by \" 0\"";
    }
    if (property.Is<Time::NamedTimer>())
    {
        return value.IsObject() && value.HasMember("Duration") && value["Duration"].IsNumber() &&
                       value.HasMember("Name") && value["Name"].IsString()
                   ? nullptr
                   : "{\"Duration\":seconds,\"Name\":name}";
    }
    return value.IsObject() ? nullptr : "an object"; // the variable and entity lists
}

// Component blocks whose keys name a built-in shader. An unknown name leaves the component
// without one, and it is never drawn.
const std::pair<const char*, const char*> SHADER_KEYS[] = {
    {"Sprite Renderer", "Shader"},
    {"UI Image", "Shader"},
    {"UI Text", "Shader"},
    {"UI Button", "Button Shader"},
    {"Particle Emitter", "Particle Shader"},
};

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

// Extensions of the files content names, wherever they are.
const std::string CONTENT_EXTENSIONS[] = {".scene", ".prefab", ".orin", ".dds", ".png",  ".jpg", ".bmp",
                                          ".tga",   ".ogg",    ".wav",  ".mp3", ".flac", ".ttf", ".otf"};

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
    if (words[0].front() == '[' || System::ORINCompiler::IsTypeWord(words[0]))
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

bool ContentChecker::LooksLikeContentFile(const std::string& text)
{
    const std::string path = Helper::NativePath(text);
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart || dot + 1 == path.size())
    {
        return false;
    }
    const std::string extension = path.substr(dot);
    return path.starts_with("Resources/") ||
           std::find(std::begin(CONTENT_EXTENSIONS), std::end(CONTENT_EXTENSIONS), extension) !=
               std::end(CONTENT_EXTENSIONS);
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
    else if (path.filename() == System::GlobalVariables::FILE_NAME)
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
    using System::ResourceManager;
    const std::pair<const char*, const char*> defaults[] = {
        {ResourceManager::DEFAULT_TEXTURE, "the default sprite texture"},
        {ResourceManager::DEFAULT_PARTICLE_TEXTURE, "the default particle texture"},
        {ResourceManager::DEFAULT_FONT, "the default font"},
        {ResourceManager::DEFAULT_SCRIPT, "the default script"},
        {System::GlobalVariables::DEFAULT_FILE, "the global variables file"},
    };
    for (const auto& [name, what] : defaults)
    {
        std::error_code error;
        const fs::path path = fs::path(Helper::NativePath(name)).lexically_normal();
        if (!fs::is_regular_file(path, error))
        {
            Report(path.generic_string(), std::string("missing: ") + what + " every scene relies on");
        }
    }
}

void ContentChecker::CheckScene(const std::string& file)
{
    ++scenes;
    std::string text;
    if (!Helper::ReadTextFile(file, text))
    {
        Report(file, "cannot be read");
        return;
    }

    // The header lines as the loader reads them, then the names the entities give.
    std::istringstream lines(text);
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
    if (System::JSONManager::Parse(line, document) && document.IsArray() &&
        std::none_of(document.Begin(), document.End(),
                     [](const Value& entity) {
                         return entity.IsObject() && entity.HasMember("Camera") &&
                                entity["Camera"].IsObject();
                     }))
    {
        Report(file, "no entity with a Camera: nothing of the world would be drawn");
    }

    Engine& engine = Engine::Instance();
    engine.logger.Clear();
    engine.jsonManager->LoadScene(file, false);
    TakeLogErrors(file, "loading logs");
}

void ContentChecker::CheckPrefab(const std::string& file)
{
    ++prefabs;
    std::string text;
    if (!Helper::ReadTextFile(file, text))
    {
        Report(file, "cannot be read");
        return;
    }
    CheckEntityNames(file, text.substr(0, text.find('\n')));

    Engine& engine = Engine::Instance();
    EmptyScene();
    engine.logger.Clear();
    engine.jsonManager->LoadPrefab(file, Math::Vector4{0, 0, 0, 0});
    TakeLogErrors(file, "instancing logs");
    EmptyScene();
}

void ContentChecker::CheckScript(const std::string& file)
{
    ++scripts;
    std::string text;
    if (!Helper::ReadTextFile(file, text))
    {
        Report(file, "cannot be read");
        return;
    }
    CheckStatementFileNames(file, text);

    // Compiled alone, on an entity named after the file, so the compiler's messages name it.
    Engine& engine = Engine::Instance();
    Scene& scene = *engine.scenes->current;
    System::ORINCompiler& compiler = scene.scriptSystem->compiler;
    ECS::IEntity* entity = engine.entities->CreateEntity(fs::path(file).stem().string());
    entity->AddComponent<Component::Transform>();
    auto* script = entity->AddComponent<Component::ScriptComponent>();
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
    if (!Helper::ReadTextFile(file, text))
    {
        Report(file, "cannot be read");
        return;
    }
    System::GlobalVariables globals;
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
    if (!System::JSONManager::Parse(json, document) || !document.IsArray())
    {
        return; // the loader reports it
    }
    for (const rapidjson::Value& entity : document.GetArray())
    {
        if (!entity.IsObject())
        {
            continue;
        }
        std::string name = "entity";
        if (auto id = entity.FindMember("ID"); id != entity.MemberEnd() && id->value.IsString())
        {
            name = Quoted(id->value.GetString());
        }
        for (const FileKey& fileKey : FILE_KEYS)
        {
            auto block = entity.FindMember(fileKey.block);
            if (block == entity.MemberEnd() || !block->value.IsObject())
            {
                continue;
            }
            auto value = block->value.FindMember(fileKey.key);
            if (value != block->value.MemberEnd() && value->value.IsString())
            {
                RequireFile(file, value->value.GetString(),
                            std::string(fileKey.kind) + " (" + name + ", " + fileKey.block + " " +
                                Quoted(fileKey.key) + ")");
            }
        }
        for (const auto& [blockName, key] : SHADER_KEYS)
        {
            auto block = entity.FindMember(blockName);
            if (block == entity.MemberEnd() || !block->value.IsObject())
            {
                continue;
            }
            auto value = block->value.FindMember(key);
            if (value != block->value.MemberEnd() && value->value.IsString() &&
                Engine::Instance().resources->FindShader(value->value.GetString()) == nullptr)
            {
                Report(file, "unknown shader " + Quoted(value->value.GetString()) + " (" + name + ", " +
                                 blockName + " " + Quoted(key) + "): it would never be drawn");
            }
        }
        CheckAnimationName(file, entity, name);
        CheckForms(file, entity, name);
        auto script = entity.FindMember("Script");
        if (script == entity.MemberEnd() || !script->value.IsObject())
        {
            continue;
        }
        // Scripts by their "File Path N" entries; string variables that name content files
        // (a prefab to spawn, a scene to go to) are checked too.
        if (auto paths = script->value.FindMember("File Path");
            paths != script->value.MemberEnd() && paths->value.IsObject())
        {
            for (const auto& path : paths->value.GetObject())
            {
                if (path.value.IsString())
                {
                    RequireFile(file, path.value.GetString(), "script (" + name + ", Script \"File Path\")");
                }
            }
        }
        if (auto strings = script->value.FindMember("String List");
            strings != script->value.MemberEnd() && strings->value.IsObject())
        {
            for (const auto& entry : strings->value.GetObject())
            {
                if (entry.value.IsString() && LooksLikeContentFile(entry.value.GetString()))
                {
                    RequireFile(file, entry.value.GetString(),
                                "file (" + name + ", Script \"String List\" " +
                                    Quoted(entry.name.GetString()) + ")");
                }
            }
        }
    }
}

void ContentChecker::CheckForms(const std::string& file, const rapidjson::Value& entity,
                                const std::string& name)
{
    if (blocks.empty())
    {
        blocks = BlockComponents();
    }
    for (const auto& member : entity.GetObject())
    {
        const std::string memberName = member.name.GetString();
        const Value& value = member.value;
        const auto plain = std::find_if(std::begin(ENTITY_MEMBERS), std::end(ENTITY_MEMBERS),
                                        [&memberName](const auto& m) { return memberName == m.first; });
        if (plain != std::end(ENTITY_MEMBERS))
        {
            const bool whole = std::string(plain->second) == "a whole number";
            if (whole ? !value.IsInt64() || value.GetInt64() < 0
                      : (plain->first == std::string("GameObject Active") ? !value.IsBool()
                                                                          : !value.IsString()))
            {
                Report(file, Quoted(memberName) + " of " + name + " is not " + plain->second +
                                 (whole ? ", 0 or more" : "") + ": it is ignored");
            }
            continue;
        }
        const auto block = std::find_if(blocks.begin(), blocks.end(),
                                        [&memberName](const auto& component)
                                        { return component->componentName == memberName; });
        if (block == blocks.end())
        {
            Report(file, "unknown member " + Quoted(memberName) + " of " + name + ": it is ignored");
            continue;
        }
        if (!value.IsObject())
        {
            continue; // the loader reports it and drops the entity
        }
        for (const auto& entry : value.GetObject())
        {
            const std::string key = entry.name.GetString();
            const std::string where = " in " + memberName + " of " + name;
            if (key == "Enabled")
            {
                if (!entry.value.IsBool())
                {
                    Report(file, "\"Enabled\"" + where + " is not true or false: it reads as false");
                }
                continue;
            }
            const auto& properties = (*block)->properties;
            const auto property = std::find_if(properties.begin(), properties.end(),
                                               [&key](const ECS::Property& p) { return p.key == key; });
            if (property == properties.end())
            {
                Report(file, "unknown key " + Quoted(key) + where + ": it is ignored");
            }
            else if (const char* form = MissingForm(*property, entry.value))
            {
                Report(file, Quoted(key) + where + " is not " + form + ": the default stays");
            }
        }
    }
}

void ContentChecker::CheckAnimationName(const std::string& file, const rapidjson::Value& entity,
                                        const std::string& name)
{
    auto block = entity.FindMember("Animator Component");
    if (block == entity.MemberEnd() || !block->value.IsObject())
    {
        return;
    }
    auto current = block->value.FindMember("Current Animation");
    if (current == block->value.MemberEnd() || !current->value.IsString())
    {
        return;
    }
    // The runs the loader keeps: complete entries of a list that has its "Animation List 0".
    std::set<std::string> runs{"Default"};
    auto list = block->value.FindMember("Animation List");
    if (list != block->value.MemberEnd() && list->value.IsObject() &&
        list->value.HasMember("Animation List 0"))
    {
        std::set<std::string> read;
        for (const auto& entry : list->value.GetObject())
        {
            const rapidjson::Value& run = entry.value;
            if (run.IsObject() && run.HasMember("Start Frame") && run["Start Frame"].IsInt() &&
                run.HasMember("End Frame") && run["End Frame"].IsInt() && run.HasMember("Looping") &&
                run["Looping"].IsBool() && run.HasMember("Name") && run["Name"].IsString())
            {
                read.insert(run["Name"].GetString());
            }
        }
        if (!read.empty())
        {
            runs = read;
        }
    }
    if (!runs.contains(current->value.GetString()))
    {
        Report(file, "unknown animation " + Quoted(current->value.GetString()) + " (" + name +
                         ", Animator Component \"Current Animation\"): the first run plays instead");
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
            if (!checked.contains(i) && LooksLikeContentFile(statement.words[i]))
            {
                RequireFile(file, statement.words[i], "file" + where);
            }
        }
    }
}

void ContentChecker::RequireFile(const std::string& file, const std::string& name, const std::string& what)
{
    std::error_code error;
    if (name.empty() || !fs::is_regular_file(Helper::NativePath(name), error))
    {
        Report(file, "missing " + what + ": " + Quoted(name));
        missing.emplace_back(file, name);
    }
}

void ContentChecker::TakeLogErrors(const std::string& file, const std::string& context)
{
    Debug::Logger& logger = Engine::Instance().logger;
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
    problems.push_back({file, problem});
}

void ContentChecker::EmptyScene()
{
    Scene& scene = *Engine::Instance().scenes->current;
    while (!scene.entities.empty())
    {
        scene.RemoveEntity(scene.entities.front(), false);
    }
    scene.mainCamera = nullptr;
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
