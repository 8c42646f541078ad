#include "ecs/ComponentReader.h"

#include "core/Range.h"
#include "core/VarnColor.h"
#include "core/Vector4.h"
#include "ecs/Animation.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/IComponent.h"
#include "ecs/NamedTimer.h"
#include "ecs/Property.h"
#include "ecs/RaycastComponent.h"
#include "ecs/RigidBody.h"
#include "resource/ResourceManager.h"

#include <algorithm>
#include <cassert>
#include <string_view>
#include <type_traits>

namespace Varn::ECS
{

namespace
{

using rapidjson::Value;
using Resource::FontSet;
using Resource::Mesh2D;
using Resource::Script;
using Resource::Shader;
using Resource::Texture2D;
using Ray = RaycastComponent::Ray;

// What a decoder may need besides the value and the field.
struct Context
{
    Resource::ResourceManager& resources;
    IComponent& component;
    std::string_view key;
    std::vector<PendingEntityReference>* references; // may be null
};

// Keys are a few letters long and mostly differ in the first: a call to memcmp would cost more
// than the comparison.
bool SameCharacters(const char* key, std::string_view name)
{
    for (std::size_t i = 0; i < name.size(); ++i)
    {
        if (key[i] != name[i])
        {
            return false;
        }
    }
    return true;
}

// The member `name` of an object, or null when absent or when `object` is not an object.
const Value* Member(const Value& object, std::string_view name)
{
    if (!object.IsObject())
    {
        return nullptr;
    }
    // Every property of every component loaded is looked for here, mostly in vain: the length
    // and the first letter settle nearly every key.
    for (const auto& member : object.GetObject())
    {
        if (member.name.GetStringLength() == name.size() && SameCharacters(member.name.GetString(), name))
        {
            return &member.value;
        }
    }
    return nullptr;
}

bool NumberMember(const Value& object, std::string_view name, float& out)
{
    const Value* value = Member(object, name);
    if (value == nullptr || !value->IsNumber())
    {
        return false;
    }
    out = static_cast<float>(value->GetDouble());
    return true;
}

// Sheet sizes must be whole cells: a mesh of zero columns or rows would divide by zero in the
// animation system, so those count as malformed.
bool SheetSizeMember(const Value& object, std::string_view name, uint32_t& out)
{
    const Value* value = Member(object, name);
    if (value == nullptr || !value->IsNumber())
    {
        return false;
    }
    const double size = value->GetDouble();
    if (!(size >= 1.0 && size <= 4294967295.0))
    {
        return false;
    }
    out = static_cast<uint32_t>(size);
    return true;
}

bool StringMember(const Value& object, std::string_view name, std::string& out)
{
    const Value* value = Member(object, name);
    if (value == nullptr || !value->IsString())
    {
        return false;
    }
    out.assign(value->GetString(), value->GetStringLength());
    return true;
}

// The list forms ("Animation List", "File Path", "Rays") only count when the object holds the
// member named after the key with " 0" appended.
bool HasFirstEntry(const Value& value, std::string_view key)
{
    return Member(value, std::string(key).append(" 0")) != nullptr;
}

// The property of type T in the same component, or null.
template <typename T> T* Sibling(const IComponent& component)
{
    for (const Property& property : component.properties)
    {
        if (T* field = property.As<T>())
        {
            return field;
        }
    }
    return nullptr;
}

// ---- Decoders: one overload per value form. Each leaves the field alone on a wrong form. ----

void Decode(const Value& value, bool& field, const Context&)
{
    field = value.IsTrue(); // only `true` is true; any other value reads as false
}

void Decode(const Value& value, float& field, const Context&)
{
    if (value.IsNumber())
    {
        field = static_cast<float>(value.GetDouble());
    }
}

void Decode(const Value& value, int32_t& field, const Context&)
{
    if (value.IsInt())
    {
        field = value.GetInt();
    }
}

// Negative values are refused: a count of -1 would become four billion.
void Decode(const Value& value, uint32_t& field, const Context&)
{
    if (value.IsUint())
    {
        field = value.GetUint();
    }
}

template <typename E>
requires std::is_enum_v<E>
void Decode(const Value& value, E& field, const Context&)
{
    if (value.IsInt())
    {
        field = static_cast<E>(value.GetInt());
    }
}

void Decode(const Value& value, std::string& field, const Context&)
{
    if (value.IsString())
    {
        field.assign(value.GetString(), value.GetStringLength());
    }
}

void Decode(const Value& value, Vector4& field, const Context&)
{
    Vector4 v;
    if (NumberMember(value, "X", v.x) && NumberMember(value, "Y", v.y) && NumberMember(value, "Z", v.z) &&
        NumberMember(value, "W", v.w))
    {
        field = v;
    }
}

void Decode(const Value& value, VarnColor& field, const Context&)
{
    VarnColor c;
    if (NumberMember(value, "R", c.r) && NumberMember(value, "G", c.g) && NumberMember(value, "B", c.b) &&
        NumberMember(value, "A", c.a))
    {
        field = c;
    }
}

void Decode(const Value& value, Texture2D*& field, const Context& context)
{
    if (value.IsString())
    {
        field = context.resources.GetTexture(value.GetString());
    }
}

void Decode(const Value& value, Mesh2D*& field, const Context& context)
{
    std::string name;
    uint32_t columns = 0;
    uint32_t rows = 0;
    if (StringMember(value, "Mesh", name) && SheetSizeMember(value, "Mesh X", columns) &&
        SheetSizeMember(value, "Mesh Y", rows))
    {
        field = context.resources.GetMesh(name, columns, rows);
    }
}

void Decode(const Value& value, Shader*& field, const Context& context)
{
    if (value.IsString())
    {
        field = context.resources.FindShader(value.GetString());
    }
}

void Decode(const Value& value, FontSet*& field, const Context& context)
{
    if (value.IsString())
    {
        field = context.resources.LoadFont(value.GetString());
    }
}

template <typename T> void Decode(const Value& value, Range<T>& field, const Context& context)
{
    if (const Value* min = Member(value, "Min"))
    {
        Decode(*min, field.min, context);
    }
    if (const Value* max = Member(value, "Max"))
    {
        Decode(*max, field.max, context);
    }
}

// A read list replaces the whole list, which would leave the component's selection pointing
// into freed memory: the selection moves to the run of the same name, else to the first run.
// A list with no well-formed run is refused, since an empty list leaves nothing to select.
void Decode(const Value& value, std::vector<Animation>& field, const Context& context)
{
    if (!HasFirstEntry(value, context.key))
    {
        return;
    }
    std::vector<Animation> read;
    for (const auto& member : value.GetObject())
    {
        const Value& entry = member.value;
        const Value* start = Member(entry, "Start Frame");
        const Value* end = Member(entry, "End Frame");
        const Value* looping = Member(entry, "Looping");
        std::string name;
        if (start == nullptr || !start->IsInt() || end == nullptr || !end->IsInt() || looping == nullptr ||
            !looping->IsBool() || !StringMember(entry, "Name", name))
        {
            continue;
        }
        Animation& animation = read.emplace_back(start->GetInt(), end->GetInt(), name, looping->GetBool());
        const Value* reverse = Member(entry, "Reverse");
        animation.reverse = reverse != nullptr && reverse->IsTrue();
    }
    if (read.empty())
    {
        return;
    }

    Animation** selection = Sibling<Animation*>(context.component);
    const std::string selected = selection != nullptr && *selection != nullptr ? (*selection)->name : "";
    field = std::move(read);
    if (selection != nullptr)
    {
        *selection = &field.front();
        for (Animation& animation : field)
        {
            if (animation.name == selected)
            {
                *selection = &animation;
                break;
            }
        }
    }
}

// A selection names a run of the component's own list; an unknown name changes nothing.
void Decode(const Value& value, Animation*& field, const Context& context)
{
    std::vector<Animation>* list = Sibling<std::vector<Animation>>(context.component);
    if (!value.IsString() || list == nullptr)
    {
        return;
    }
    for (Animation& animation : *list)
    {
        if (animation.name == value.GetString())
        {
            field = &animation;
            return;
        }
    }
}

// Entries are taken by index ("File Path 0", "File Path 1", ...) up to the member count, so
// member order does not matter and members with other names are skipped.
void Decode(const Value& value, std::vector<Script*>& field, const Context& context)
{
    if (!HasFirstEntry(value, context.key))
    {
        return;
    }
    const rapidjson::SizeType count = value.MemberCount();
    for (rapidjson::SizeType i = 0; i < count; ++i)
    {
        const Value* path = Member(value, std::string(context.key).append(" ").append(std::to_string(i)));
        if (path == nullptr || !path->IsString())
        {
            continue;
        }
        if (Script* script = context.resources.LoadScript(path->GetString()))
        {
            field.push_back(script);
        }
    }
}

void Decode(const Value& value, std::map<std::string, bool>& field, const Context&)
{
    if (!value.IsObject())
    {
        return;
    }
    for (const auto& member : value.GetObject())
    {
        field[member.name.GetString()] = member.value.IsTrue();
    }
}

void Decode(const Value& value, std::map<std::string, float>& field, const Context&)
{
    if (!value.IsObject())
    {
        return;
    }
    for (const auto& member : value.GetObject())
    {
        if (member.value.IsNumber())
        {
            field[member.name.GetString()] = static_cast<float>(member.value.GetDouble());
        }
    }
}

void Decode(const Value& value, std::map<std::string, std::string>& field, const Context&)
{
    if (!value.IsObject())
    {
        return;
    }
    for (const auto& member : value.GetObject())
    {
        if (member.value.IsString())
        {
            field[member.name.GetString()].assign(member.value.GetString(), member.value.GetStringLength());
        }
    }
}

// The entities named may not exist yet: record each entry for the scene loader to resolve.
void Decode(const Value& value, std::map<std::string, EntityHandle>& field, const Context& context)
{
    if (!value.IsObject() || context.references == nullptr)
    {
        return;
    }
    for (const auto& member : value.GetObject())
    {
        const Value& key = member.value;
        if (!key.IsUint() && !key.IsInt())
        {
            continue;
        }
        // Link keys are 32-bit; -1 is the all-bits key that marks "no parent" elsewhere.
        const uint32_t linkKey = key.IsUint() ? key.GetUint() : static_cast<uint32_t>(key.GetInt());
        context.references->push_back({&context.component, &field, member.name.GetString(), linkKey});
    }
}

// Like an animation list, a read ray list replaces the old one, and one without a single
// well-formed ray is refused.
void Decode(const Value& value, std::vector<Ray>& field, const Context& context)
{
    if (!HasFirstEntry(value, context.key))
    {
        return;
    }
    std::vector<Ray> read;
    for (const auto& member : value.GetObject())
    {
        Vector4 direction;
        if (NumberMember(member.value, "X", direction.x) && NumberMember(member.value, "Y", direction.y) &&
            NumberMember(member.value, "Z", direction.z) && NumberMember(member.value, "W", direction.w))
        {
            read.emplace_back(direction);
        }
    }
    if (!read.empty())
    {
        field = std::move(read);
    }
}

void Decode(const Value& value, NamedTimer& field, const Context&)
{
    NamedTimer timer;
    if (NumberMember(value, "Duration", timer.duration) && StringMember(value, "Name", timer.name))
    {
        field = std::move(timer);
    }
}

// ---- Dispatch on the property's recorded type. ----

template <typename... T> struct TypeList
{
};

// Every field type a property may have. A new type needs a row here and a Decode overload.
using ReadableTypes = TypeList<bool, float, int32_t, uint32_t, std::string, //
                               Vector4, VarnColor,                          //
                               Texture2D*, Mesh2D*, Shader*, FontSet*,      //
                               Range<float>, Range<Vector4>,                //
                               Range<VarnColor>,                            //
                               std::vector<Animation>, Animation*,          //
                               std::vector<Script*>,                        //
                               std::map<std::string, bool>,                 //
                               std::map<std::string, float>,                //
                               std::map<std::string, std::string>,          //
                               std::map<std::string, EntityHandle>,         //
                               std::vector<Ray>, NamedTimer,                //
                               RigidBody::RIGIDBODY_MODE, BehaviourType>;

template <typename T> bool DecodeAs(const Property& property, const Value& value, const Context& context)
{
    T* field = property.As<T>();
    if (field == nullptr)
    {
        return false;
    }
    Decode(value, *field, context);
    return true;
}

template <typename... T>
bool DecodeAny(TypeList<T...>, const Property& property, const Value& value, const Context& context)
{
    // A field's type name is nearly always the same string as its type's own name: match by
    // address first, and compare characters only when no address matches.
    const auto same = [&property](const char* name) { return property.typeName == name; };
    bool decoded = false;
    ((same(typeid(T).name()) && (decoded = DecodeAs<T>(property, value, context))) || ...);
    return decoded || (DecodeAs<T>(property, value, context) || ...);
}

template <typename... T> bool IsAny(TypeList<T...>, const Property& property)
{
    return (property.Is<T>() || ...);
}

} // namespace

bool ComponentReader::Read(IComponent& component, const rapidjson::Value& block,
                           std::vector<PendingEntityReference>* references,
                           std::vector<std::string>* unknownKeys) const
{
    if (!block.IsObject())
    {
        return false;
    }
    rapidjson::SizeType used = 0;
    if (const Value* enabled = Member(block, "Enabled"))
    {
        component.enabled = enabled->IsTrue();
        ++used;
    }
    for (const Property& property : component.properties)
    {
        const Value* value = Member(block, property.key);
        if (value == nullptr)
        {
            continue;
        }
        ++used;
        const Context context{resources, component, property.key, references};
        [[maybe_unused]] const bool decoded = DecodeAny(ReadableTypes{}, property, *value, context);
        assert(decoded && "component property of a type the reader cannot decode");
    }
    // Each key read was a different member, so when all were read none is unknown; only a
    // block with a stray (or repeated) key pays for the search.
    if (unknownKeys != nullptr && used != block.MemberCount())
    {
        for (const auto& member : block.GetObject())
        {
            const std::string_view key(member.name.GetString(), member.name.GetStringLength());
            if (key != "Enabled" &&
                std::none_of(component.properties.begin(), component.properties.end(),
                             [key](const Property& property) { return property.key == key; }))
            {
                unknownKeys->emplace_back(key);
            }
        }
    }
    return true;
}

bool ComponentReader::CanRead(const Property& property)
{
    return IsAny(ReadableTypes{}, property);
}

} // namespace Varn::ECS
