#include "check_content/EntityChecker.h"

#include "core/FilePath.h"
#include "core/Range.h"
#include "core/VarnColor.h"
#include "core/Vector4.h"
#include "ecs/Animation.h"
#include "ecs/Animator.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/Camera.h"
#include "ecs/CircleCollider2D.h"
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
#include "scene/Engine.h"

#include <algorithm>
#include <set>

namespace Varn::Tools
{

namespace
{

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
    blocks.push_back(Make<ECS::Camera>());
    blocks.push_back(Make<ECS::Transform>());
    blocks.push_back(Make<ECS::SpriteRenderer>());
    blocks.push_back(Make<ECS::RigidBody>());
    blocks.push_back(Make<ECS::CircleCollider2D>());
    blocks.push_back(Make<ECS::BoxCollider2D>());
    blocks.push_back(Make<ECS::UIImage>());
    blocks.push_back(Make<ECS::UIText>());
    blocks.push_back(Make<ECS::UIButton>());
    blocks.push_back(Make<ECS::RaycastComponent>());
    blocks.push_back(Make<ECS::Animator>());
    blocks.push_back(Make<ECS::ScriptComponent>());
    blocks.push_back(Make<ECS::ParticleEmitter>());
    blocks.push_back(Make<ECS::Light>());
    blocks.push_back(Make<ECS::BehaviourComponent>());
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
    const std::string first = std::string(property.key).append(" 0");
    auto listed = [&]() { return value.IsObject() && value.HasMember(first.c_str()); };
    if (property.Is<bool>())
    {
        return value.IsBool() ? nullptr : "true or false";
    }
    if (property.Is<float>())
    {
        return value.IsNumber() ? nullptr : "a number";
    }
    if (property.Is<int32_t>() || property.Is<ECS::RigidBody::RIGIDBODY_MODE>() ||
        property.Is<ECS::BehaviourType>())
    {
        return value.IsInt() ? nullptr : "a whole number";
    }
    if (property.Is<uint32_t>())
    {
        return value.IsUint() ? nullptr : "a whole number, 0 or more";
    }
    if (property.Is<std::string>() || property.Is<Resource::Texture2D*>() ||
        property.Is<Resource::FontSet*>() || property.Is<Resource::Shader*>() ||
        property.Is<ECS::Animation*>())
    {
        return value.IsString() ? nullptr : "a string";
    }
    if (property.Is<Vector4>())
    {
        return IsVector(value) ? nullptr : "{\"X\",\"Y\",\"Z\",\"W\"}, all four numbers";
    }
    if (property.Is<VarnColor>())
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
    if (property.Is<Range<float>>())
    {
        return IsRange<float>(value, IsNumber) ? nullptr : "{\"Min\",\"Max\"} numbers";
    }
    if (property.Is<Range<Vector4>>())
    {
        return IsRange<Vector4>(value, IsVector) ? nullptr : "{\"Min\",\"Max\"} vectors";
    }
    if (property.Is<Range<VarnColor>>())
    {
        return IsRange<VarnColor>(value, IsColour) ? nullptr : "{\"Min\",\"Max\"} colours";
    }
    if (property.Is<std::vector<ECS::Animation>>() || property.Is<std::vector<Resource::Script*>>() ||
        property.Is<std::vector<ECS::RaycastComponent::Ray>>())
    {
        return listed() ? nullptr : "an object whose entries start with the key followed by \" 0\"";
    }
    if (property.Is<ECS::NamedTimer>())
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

// Extensions of the files content names, wherever they are.
const std::string CONTENT_EXTENSIONS[] = {".scene", ".prefab", ".orin", ".dds", ".png",  ".jpg", ".bmp",
                                          ".tga",   ".ogg",    ".wav",  ".mp3", ".flac", ".ttf", ".otf"};

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

EntityChecker::EntityChecker() : blocks(BlockComponents())
{
}

bool EntityChecker::LooksLikeContentFile(const std::string& text)
{
    const std::string path = NativePath(text);
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

void EntityChecker::Check(const rapidjson::Value& entity, std::vector<std::string>& problems,
                          std::vector<NamedFile>& files) const
{
    if (!entity.IsObject())
    {
        return; // the loader reports it
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
            files.push_back({value->value.GetString(), std::string(fileKey.kind) + " (" + name + ", " +
                                                           fileKey.block + " " + Quoted(fileKey.key) + ")"});
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
            Scene::Engine::Instance().resources->FindShader(value->value.GetString()) == nullptr)
        {
            problems.push_back("unknown shader " + Quoted(value->value.GetString()) + " (" + name + ", " +
                               blockName + " " + Quoted(key) + "): it would never be drawn");
        }
    }
    CheckAnimationName(entity, name, problems);
    CheckForms(entity, name, problems);
    auto script = entity.FindMember("Script");
    if (script == entity.MemberEnd() || !script->value.IsObject())
    {
        return;
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
                files.push_back({path.value.GetString(), "script (" + name + ", Script \"File Path\")"});
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
                files.push_back({entry.value.GetString(), "file (" + name + ", Script \"String List\" " +
                                                              Quoted(entry.name.GetString()) + ")"});
            }
        }
    }
}

void EntityChecker::CheckForms(const rapidjson::Value& entity, const std::string& name,
                               std::vector<std::string>& problems) const
{
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
                problems.push_back(Quoted(memberName) + " of " + name + " is not " + plain->second +
                                   (whole ? ", 0 or more" : "") + ": it is ignored");
            }
            continue;
        }
        const auto block = std::find_if(blocks.begin(), blocks.end(),
                                        [&memberName](const auto& component)
                                        { return component->componentName == memberName; });
        if (block == blocks.end())
        {
            problems.push_back("unknown member " + Quoted(memberName) + " of " + name + ": it is ignored");
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
                    problems.push_back("\"Enabled\"" + where + " is not true or false: it reads as false");
                }
                continue;
            }
            const auto& properties = (*block)->properties;
            const auto property = std::find_if(properties.begin(), properties.end(),
                                               [&key](const ECS::Property& p) { return p.key == key; });
            if (property == properties.end())
            {
                problems.push_back("unknown key " + Quoted(key) + where + ": it is ignored");
            }
            else if (const char* form = MissingForm(*property, entry.value))
            {
                problems.push_back(Quoted(key) + where + " is not " + form + ": the default stays");
            }
        }
    }
}

void EntityChecker::CheckAnimationName(const rapidjson::Value& entity, const std::string& name,
                                       std::vector<std::string>& problems)
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
        problems.push_back("unknown animation " + Quoted(current->value.GetString()) + " (" + name +
                           ", Animator Component \"Current Animation\"): the first run plays instead");
    }
}

} // namespace Varn::Tools
