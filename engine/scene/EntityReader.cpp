#include "scene/EntityReader.h"

#include <rapidjson/encodedstream.h>
#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include "core/Logger.h"
#include "ecs/Animator.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/Camera.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/Light.h"
#include "ecs/LoadProgress.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/RaycastComponent.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "ecs/UIText.h"
#include "resource/ResourceManager.h"
#include "script/ScriptSystem.h"

#include <algorithm>
#include <array>

namespace Varn::Scene
{

namespace
{

// Component blocks in the order they are read, with the label of their failure message.
struct BlockKind
{
    std::string_view member;
    const char* label;
    ECS::IComponent* (*add)(ECS::IEntity&);
};

template <typename T> ECS::IComponent* Add(ECS::IEntity& entity)
{
    return entity.AddComponent<T>();
}

const BlockKind BLOCKS[] = {
    {"Camera", "Camera", Add<ECS::Camera>},
    {"Transform", "Transform", Add<ECS::Transform>},
    {"Sprite Renderer", "Sprite Renderer", Add<ECS::SpriteRenderer>},
    {"Rigidbody", "Rigidbody", Add<ECS::RigidBody>},
    {"Circle Collider", "Circle Collider", Add<ECS::CircleCollider2D>},
    {"Box Collider", "Box Collider", Add<ECS::BoxCollider2D>},
    {"UI Image", "UI Image", Add<ECS::UIImage>},
    {"UI Text", "UI Text", Add<ECS::UIText>},
    {"UI Button", "UI Button", Add<ECS::UIButton>},
    {"Raycast", "Raycast Component", Add<ECS::RaycastComponent>},
    {"Animator Component", "Animator Component", Add<ECS::Animator>},
    {"Script", "Script Component", Add<ECS::ScriptComponent>},
    {"Particle Emitter", "Particle Emitter", Add<ECS::ParticleEmitter>},
    {"Light", "Light", Add<ECS::Light>},
    {"Behaviour", "Behaviour", Add<ECS::BehaviourComponent>},
};

// The members of an entity object that are not component blocks, in the order they are read.
constexpr std::string_view FIELDS[] = {
    "ID", "ID Type", "Layer", "Room", "GameObject Active", "Prefab Owner", "Current Parent ID", "Parent ID"};

// The first pending-link entity whose own link key is `key`, or null.
ECS::IEntity* FindLinked(const std::vector<EntityReader::PendingLink>& links, uint32_t key)
{
    for (const EntityReader::PendingLink& link : links)
    {
        if (link.entity->currentParentId == key)
        {
            return link.entity;
        }
    }
    return nullptr;
}

bool ReadUnsigned(const rapidjson::Value* value, uint32_t& out)
{
    if (value == nullptr || !value->IsInt64())
    {
        return false;
    }
    out = static_cast<uint32_t>(value->GetInt64());
    return true;
}

// Builds a document from the parser's events, as the document itself would, and stops the
// parser past MAX_DEPTH: the parser and every later walk of a document recurse, and the check
// comes before the parser goes a level deeper.
class DepthLimitedBuilder
{
public:
    explicit DepthLimitedBuilder(rapidjson::Document& document) : document(document) {}

    bool tooDeep = false;

    bool Null() { return document.Null(); }
    bool Bool(bool b) { return document.Bool(b); }
    bool Int(int i) { return document.Int(i); }
    bool Uint(unsigned i) { return document.Uint(i); }
    bool Int64(int64_t i) { return document.Int64(i); }
    bool Uint64(uint64_t i) { return document.Uint64(i); }
    bool Double(double d) { return document.Double(d); }
    bool RawNumber(const char* s, rapidjson::SizeType length, bool copy)
    {
        return document.RawNumber(s, length, copy);
    }
    bool String(const char* s, rapidjson::SizeType length, bool copy)
    {
        return document.String(s, length, copy);
    }
    bool Key(const char* s, rapidjson::SizeType length, bool copy) { return document.Key(s, length, copy); }
    bool StartObject() { return Deeper() && document.StartObject(); }
    bool EndObject(rapidjson::SizeType members) { return --depth, document.EndObject(members); }
    bool StartArray() { return Deeper() && document.StartArray(); }
    bool EndArray(rapidjson::SizeType elements) { return --depth, document.EndArray(elements); }

private:
    bool Deeper()
    {
        tooDeep = ++depth > EntityReader::MAX_DEPTH;
        return !tooDeep;
    }

    rapidjson::Document& document;
    int depth = 0;
};

template <unsigned flags, typename Stream>
bool ParseLimited(Stream& stream, rapidjson::Document& document, EntityReader::ParseError* error)
{
    document.SetNull(); // a failed parse leaves no part of an earlier document
    DepthLimitedBuilder builder(document);
    rapidjson::ParseResult result;
    auto parse = [&](rapidjson::Document&)
    {
        rapidjson::Reader reader;
        result = reader.Parse<flags>(stream, builder);
        return !result.IsError();
    };
    document.Populate(parse);
    if (result.IsError() && error != nullptr)
    {
        // Past the limit the parser stops just after the bracket, whose column that is.
        *error =
            builder.tooDeep
                ? EntityReader::ParseError{result.Offset(),
                                           "nested deeper than " + std::to_string(EntityReader::MAX_DEPTH)}
                : EntityReader::ParseError{result.Offset() + 1, rapidjson::GetParseError_En(result.Code())};
    }
    return !result.IsError();
}

} // namespace

bool EntityReader::Parse(std::string_view text, rapidjson::Document& document, ParseError* error)
{
    rapidjson::MemoryStream memory(text.data(), text.size());
    rapidjson::EncodedInputStream<rapidjson::UTF8<>, rapidjson::MemoryStream> stream(memory);
    return ParseLimited<rapidjson::kParseDefaultFlags>(stream, document, error);
}

bool EntityReader::ParseInPlace(char* text, std::size_t length, rapidjson::Document& document,
                                ParseError* error)
{
    // A NUL ends the text for both parsers alike, so one put at the end changes nothing.
    text[length] = '\0';
    rapidjson::InsituStringStream stream(text);
    return ParseLimited<rapidjson::kParseInsituFlag>(stream, document, error);
}

ECS::IEntity* EntityReader::ReadEntity(const rapidjson::Value& document, rapidjson::SizeType index,
                                       std::vector<PendingLink>& links,
                                       std::vector<ECS::PendingEntityReference>& references,
                                       UnknownKeyReport* unknown)
{
    const Services& engine = services;
    ECS::IEntity* entity = engine.entities.CreateEntity();
    const rapidjson::Value& object = document[index];
    progress.label = "Entity";
    if (!object.IsObject())
    {
        progress.detail = entity->name;
        engine.logger.Log("Error: Load Failed. Entity is Invalid");
        return nullptr; // no component was added: the entity is still free
    }

    // One pass over the members finds the fields and every block (the first of a repeated name,
    // as a lookup would), and the members nothing reads; blocks are then read in the kinds'
    // order, whatever the file's order.
    std::array<const rapidjson::Value*, std::size(FIELDS)> fields{};
    std::array<const rapidjson::Value*, std::size(BLOCKS)> blocks{};
    std::vector<std::string_view> unread;
    auto keepFirst = [](const rapidjson::Value*& slot, const rapidjson::Value& value)
    { slot = slot != nullptr ? slot : &value; };
    for (const auto& member : object.GetObject())
    {
        const std::string_view name(member.name.GetString(), member.name.GetStringLength());
        const auto kindNamed = [name](const BlockKind& k) { return name == k.member; };
        if (const auto* field = std::find(std::begin(FIELDS), std::end(FIELDS), name);
            field != std::end(FIELDS))
        {
            keepFirst(fields[static_cast<std::size_t>(field - std::begin(FIELDS))], member.value);
        }
        else if (const auto* kind = std::find_if(std::begin(BLOCKS), std::end(BLOCKS), kindNamed);
                 kind != std::end(BLOCKS))
        {
            keepFirst(blocks[static_cast<std::size_t>(kind - std::begin(BLOCKS))], member.value);
        }
        else if (unknown != nullptr)
        {
            unread.push_back(name);
        }
    }

    const auto [id, idType, layer, room, active, owner, currentParent, parent] = fields;
    if (id != nullptr && idType != nullptr && id->IsString() && idType->IsInt64())
    {
        entity->name = id->GetString();
        entity->tags = static_cast<uint64_t>(idType->GetInt64());
    }
    ReadUnsigned(layer, entity->layer);
    ReadUnsigned(room, entity->room);
    if (active != nullptr)
    {
        entity->gameObjectActive = active->IsBool() && active->GetBool();
    }
    if (owner != nullptr && owner->IsString())
    {
        entity->prefabOwner = owner->GetString();
    }
    if (ReadUnsigned(currentParent, entity->currentParentId))
    {
        PendingLink link{entity, NO_PARENT};
        ReadUnsigned(parent, link.parentKey);
        links.push_back(link);
    }

    // The detail names the entity and the block being read. Nothing can look at it before this
    // entity is done, so it is written once, as it stands at the end, not once per block.
    const BlockKind* lastKind = nullptr;
    const auto tellDetail = [&]
    {
        progress.detail.assign(entity->name); // keeps its buffer
        if (lastKind != nullptr)
        {
            progress.detail.append(" ").append(lastKind->label);
        }
    };
    const ECS::ComponentReader reader(engine.resources);
    std::vector<std::string> unknownKeys; // of the block just read
    for (std::size_t k = 0; k < blocks.size(); ++k)
    {
        const BlockKind& kind = BLOCKS[k];
        const rapidjson::Value* block = blocks[k];
        if (block == nullptr)
        {
            continue;
        }
        lastKind = &kind;
        if (!block->IsObject())
        {
            tellDetail();
            engine.logger.Log(std::string("Error: Load Failed. ") + kind.label + " Failed to Load");
            // Not in any scene, so nothing is registered: stripping the components returns the
            // entity to the pool instead of leaving it in use for ever.
            std::erase_if(links, [entity](const PendingLink& l) { return l.entity == entity; });
            std::erase_if(references, [entity](const ECS::PendingEntityReference& r)
                          { return r.component->owner == entity; });
            entity->RemoveAllComponents();
            return nullptr;
        }
        ECS::IComponent* component = kind.add(*entity);
        component->UseDefaults(services);
        unknownKeys.clear();
        reader.Read(*component, *block, &references, unknown != nullptr ? &unknownKeys : nullptr);
        for (const std::string& key : unknownKeys)
        {
            Say(*unknown, "unknown key \"" + key + "\" in " + std::string(kind.member) + " of \"" +
                              entity->name + "\"");
        }
    }
    for (const std::string_view name : unread)
    {
        Say(*unknown, "unknown member \"" + std::string(name) + "\" of \"" + entity->name + "\"");
    }
    tellDetail();
    if (entity->components.empty())
    {
        // Without a component the entity is free in the pool: the next entity read would be
        // handed the same object, and the scene would list it twice.
        engine.logger.Log("Error: Load Failed. Entity is Invalid");
        std::erase_if(links, [entity](const PendingLink& l) { return l.entity == entity; });
        return nullptr;
    }

    engine.scenes.current->scriptSystem->CompileEntity(entity);
    return entity;
}

void EntityReader::Say(UnknownKeyReport& unknown, const std::string& what) const
{
    const std::string line = unknown.file + ": " + what;
    if (unknown.said.insert(line).second)
    {
        services.logger.Log(line, Logger::WARNING);
    }
}

void EntityReader::LinkParents(const std::vector<PendingLink>& links)
{
    for (const PendingLink& link : links)
    {
        if (link.parentKey == NO_PARENT)
        {
            continue;
        }
        ECS::IEntity* parent = FindLinked(links, link.parentKey);
        if (parent == nullptr)
        {
            continue;
        }
        // A child that is already an ancestor of its parent would make every walk up the
        // hierarchy endless; the link is refused and the child stays a root.
        bool cycle = false;
        for (const ECS::IEntity* up = parent; up != nullptr && up->parent != up && !cycle; up = up->parent)
        {
            cycle = up == link.entity;
        }
        if (cycle)
        {
            services.logger.Log("Error: Load Failed. " + link.entity->name +
                                " would be its own ancestor; it stays unparented");
            continue;
        }
        link.entity->parent = parent;
        progress.label = "a link between parents and children";
        progress.detail = link.entity->name + " links";
    }
}

void EntityReader::ResolveReferences(const std::vector<PendingLink>& links,
                                     const std::vector<ECS::PendingEntityReference>& references)
{
    for (const ECS::PendingEntityReference& reference : references)
    {
        if (ECS::IEntity* target = FindLinked(links, reference.linkKey))
        {
            reference.Resolve(target);
        }
    }
}

} // namespace Varn::Scene
