#include "script/ReferenceParser.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace Varn::Script
{

namespace
{

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// "name[index]" with "[" and a later "]": the name and the index text.
bool SplitIndex(const std::string& text, std::string& name, std::string& index)
{
    const std::size_t open = text.find('[');
    if (open == std::string::npos)
    {
        return false;
    }
    const std::size_t close = text.find(']', open + 1);
    if (close == std::string::npos)
    {
        return false;
    }
    name = text.substr(0, open);
    index = text.substr(open + 1, close - open - 1);
    return true;
}

void PrepareIndex(const std::string& index, bool& lastIndex, std::shared_ptr<const ValueReference>& out,
                  CacheNumbering* numbering)
{
    lastIndex = index == "last";
    if (!lastIndex)
    {
        out = std::make_shared<const ValueReference>(ReferenceParser::PrepareFloat(index, numbering));
    }
}

// Variable readings take the next cache index of the program.
ValueReference& Numbered(ValueReference& reference, CacheNumbering* numbering)
{
    const bool variable = reference.source == VALUE_SOURCE::GLOBAL ||
                          reference.source == VALUE_SOURCE::LOCAL ||
                          (reference.source == VALUE_SOURCE::FIELD && reference.field == FIELD::VARIABLE);
    if (variable && numbering != nullptr)
    {
        reference.cacheIndex = numbering->next++;
        reference.program = numbering->program;
    }
    return reference;
}

// An entity prefix ("#self_", "#col_", ..., "#entname_", "#entname[index]_") and the field path
// after it. False when the text has no such prefix.
bool SplitFieldPrefix(const std::string& text, EntityReference& entity, std::string& path,
                      CacheNumbering* numbering)
{
    static const std::pair<const char*, ENTITY_SOURCE> FIXED[] = {
        {"#self_", ENTITY_SOURCE::SELF},       {"#col_", ENTITY_SOURCE::COLLISION_HIT},
        {"#trg_", ENTITY_SOURCE::TRIGGER_HIT}, {"#ryc_", ENTITY_SOURCE::RAYCAST_HIT},
        {"#player_", ENTITY_SOURCE::PLAYER},   {"#maincam_", ENTITY_SOURCE::MAIN_CAMERA}};
    for (const auto& [prefix, source] : FIXED)
    {
        if (StartsWith(text, prefix))
        {
            const std::string prefixText(prefix);
            entity = EntityReference{};
            entity.source = source;
            entity.text = prefixText.substr(0, prefixText.size() - 1);
            path = text.substr(prefixText.size());
            return true;
        }
    }
    if (!StartsWith(text, "#ent"))
    {
        return false;
    }
    const std::string rest = text.substr(4);
    const std::size_t underscore = rest.find('_');
    const std::size_t open = rest.find('[');
    entity = EntityReference{};
    if (open != std::string::npos && (underscore == std::string::npos || open < underscore))
    {
        const std::size_t close = rest.find(']', open + 1);
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != '_')
        {
            return false;
        }
        entity.source = ENTITY_SOURCE::ARRAY_ELEMENT;
        entity.name = rest.substr(0, open);
        entity.text = "#ent" + rest.substr(0, close + 1);
        PrepareIndex(rest.substr(open + 1, close - open - 1), entity.lastIndex, entity.index, numbering);
        path = rest.substr(close + 2);
        return true;
    }
    if (underscore == std::string::npos)
    {
        return false;
    }
    entity.source = ENTITY_SOURCE::NAMED;
    entity.name = rest.substr(0, underscore);
    entity.text = "#ent" + entity.name;
    path = rest.substr(underscore + 1);
    return true;
}

bool FieldFromTable(const std::string& path, const std::pair<const char*, FIELD>* table, std::size_t count,
                    ValueReference& out)
{
    if (StartsWith(path, "var_"))
    {
        out.field = FIELD::VARIABLE;
        out.name = path.substr(4);
        return true;
    }
    for (std::size_t i = 0; i < count; ++i)
    {
        if (path == table[i].first)
        {
            out.field = table[i].second;
            return true;
        }
    }
    return false;
}

const std::pair<const char*, FIELD> FLOAT_FIELDS[] = {
    {"tag", FIELD::TAG},
    {"id", FIELD::ID},
    {"room", FIELD::ROOM},
    {"layer", FIELD::LAYER},
    {"trans_pos_x", FIELD::POS_X},
    {"trans_pos_y", FIELD::POS_Y},
    {"trans_pos_z", FIELD::POS_Z},
    {"trans_lpos_x", FIELD::LPOS_X},
    {"trans_lpos_y", FIELD::LPOS_Y},
    {"trans_lpos_z", FIELD::LPOS_Z},
    {"trans_scale_x", FIELD::SCALE_X},
    {"trans_scale_y", FIELD::SCALE_Y},
    {"trans_scale_z", FIELD::SCALE_Z},
    {"trans_rot_x", FIELD::ROT_X},
    {"trans_rot_y", FIELD::ROT_Y},
    {"trans_rot_z", FIELD::ROT_Z},
    {"circlecol_radius", FIELD::CIRCLE_RADIUS},
    {"rb_vel_x", FIELD::VEL_X},
    {"rb_vel_y", FIELD::VEL_Y},
    {"rb_mass", FIELD::MASS},
    {"cam_x", FIELD::CAM_X},
    {"cam_y", FIELD::CAM_Y},
    {"cam_zoom", FIELD::CAM_ZOOM},
    {"anim_frame", FIELD::ANIM_FRAME},
};
const std::pair<const char*, FIELD> BOOL_FIELDS[] = {{"active", FIELD::ACTIVE},
                                                     {"trans_flipx", FIELD::FLIP_X},
                                                     {"trans_flipy", FIELD::FLIP_Y},
                                                     {"rb_grounded", FIELD::GROUNDED}};
const std::pair<const char*, FIELD> STRING_FIELDS[] = {{"name", FIELD::NAME},
                                                       {"anim_name", FIELD::ANIM_NAME}};

const std::pair<const char*, ENGINE_VALUE> ENGINE_VALUES[] = {
    {"#mouse_x", ENGINE_VALUE::MOUSE_X},
    {"#mouse_y", ENGINE_VALUE::MOUSE_Y},
    {"#mouse_delta_x", ENGINE_VALUE::MOUSE_DELTA_X},
    {"#mouse_delta_y", ENGINE_VALUE::MOUSE_DELTA_Y},
    {"#mouse_worldx", ENGINE_VALUE::MOUSE_WORLD_X},
    {"#mouse_worldy", ENGINE_VALUE::MOUSE_WORLD_Y},
    {"#time_delta", ENGINE_VALUE::TIME_DELTA},
    {"#time_fixeddelta", ENGINE_VALUE::TIME_FIXED_DELTA},
    {"#time_timescale", ENGINE_VALUE::TIME_SCALE},
    {"#math_random", ENGINE_VALUE::RANDOM},
    {"#load_current", ENGINE_VALUE::LOAD_CURRENT},
    {"#load_total", ENGINE_VALUE::LOAD_TOTAL},
    {"#gamepad_lsx", ENGINE_VALUE::LEFT_STICK_X},
    {"#gamepad_lsy", ENGINE_VALUE::LEFT_STICK_Y},
    {"#gamepad_rsx", ENGINE_VALUE::RIGHT_STICK_X},
    {"#gamepad_rsy", ENGINE_VALUE::RIGHT_STICK_Y},
    {"#gamepad_ltrg", ENGINE_VALUE::LEFT_TRIGGER},
    {"#gamepad_rtrg", ENGINE_VALUE::RIGHT_TRIGGER},
    {"#input_key", ENGINE_VALUE::INPUT_KEY},
};

// "#l_name" or "#l_name[index]"; false for anything else.
bool PrepareLocal(const std::string& text, ValueReference& out, CacheNumbering* numbering)
{
    if (!StartsWith(text, "#l_"))
    {
        return false;
    }
    const std::string rest = text.substr(3);
    std::string name, index;
    if (SplitIndex(rest, name, index))
    {
        out.source = VALUE_SOURCE::ARRAY_ELEMENT;
        out.name = name;
        PrepareIndex(index, out.lastIndex, out.index, numbering);
    }
    else
    {
        out.source = VALUE_SOURCE::LOCAL;
        out.name = rest;
    }
    return true;
}

} // namespace

ScriptParam ReferenceParser::Prepare(const std::string& text, CacheNumbering* numbering)
{
    ScriptParam param;
    param.text = text;
    param.asBool = PrepareBool(text, numbering);
    param.asFloat = PrepareFloat(text, numbering);
    param.asString = PrepareString(text, numbering);
    param.asEntity = PrepareEntity(text, numbering);
    static const std::pair<const char*, COMPARISON> OPERATORS[] = {
        {"==", COMPARISON::EQUAL},  {"!=", COMPARISON::NOT_EQUAL},  {"<", COMPARISON::LESS},
        {">", COMPARISON::GREATER}, {"<=", COMPARISON::LESS_EQUAL}, {">=", COMPARISON::GREATER_EQUAL}};
    for (const auto& [word, comparison] : OPERATORS)
    {
        if (text == word)
        {
            param.asComparison = comparison;
        }
    }
    return param;
}

EntityReference ReferenceParser::PrepareEntity(const std::string& text, CacheNumbering* numbering)
{
    EntityReference reference;
    reference.text = text;
    static const std::pair<const char*, ENTITY_SOURCE> FIXED[] = {
        {"#self", ENTITY_SOURCE::SELF},       {"#col", ENTITY_SOURCE::COLLISION_HIT},
        {"#trg", ENTITY_SOURCE::TRIGGER_HIT}, {"#ryc", ENTITY_SOURCE::RAYCAST_HIT},
        {"#player", ENTITY_SOURCE::PLAYER},   {"#maincam", ENTITY_SOURCE::MAIN_CAMERA}};
    for (const auto& [word, source] : FIXED)
    {
        if (text == word)
        {
            reference.source = source;
            return reference;
        }
    }
    if (StartsWith(text, "#ent"))
    {
        const std::string rest = text.substr(4);
        std::string name, index;
        if (SplitIndex(rest, name, index))
        {
            reference.source = ENTITY_SOURCE::ARRAY_ELEMENT;
            reference.name = name;
            PrepareIndex(index, reference.lastIndex, reference.index, numbering);
        }
        else
        {
            reference.source = ENTITY_SOURCE::NAMED;
            reference.name = rest;
        }
        return reference;
    }
    if (StartsWith(text, "#child"))
    {
        const char* begin = text.c_str() + 6;
        char* end = nullptr;
        errno = 0;
        const long child = std::strtol(begin, &end, 10);
        if (end != begin && errno != ERANGE && child >= 0 && child <= INT32_MAX)
        {
            reference.source = ENTITY_SOURCE::CHILD;
            reference.child = static_cast<int>(child);
        }
    }
    return reference;
}

ValueReference ReferenceParser::PrepareFloat(const std::string& text, CacheNumbering* numbering)
{
    ValueReference reference;
    if (StartsWith(text, "#g_"))
    {
        reference.source = VALUE_SOURCE::GLOBAL;
        reference.name = text.substr(3);
        return Numbered(reference, numbering);
    }
    if (PrepareLocal(text, reference, numbering))
    {
        return Numbered(reference, numbering);
    }
    if (StartsWith(text, "#count_"))
    {
        reference.source = VALUE_SOURCE::COUNT;
        reference.name = text.substr(7);
        return reference;
    }
    std::string path;
    EntityReference prefix;
    if (SplitFieldPrefix(text, prefix, path, numbering) &&
        FieldFromTable(path, FLOAT_FIELDS, std::size(FLOAT_FIELDS), reference))
    {
        reference.source = VALUE_SOURCE::FIELD;
        reference.entity = std::make_shared<const EntityReference>(std::move(prefix));
        return Numbered(reference, numbering);
    }
    reference = ValueReference{};
    for (const auto& [word, value] : ENGINE_VALUES)
    {
        if (text == word)
        {
            reference.source = VALUE_SOURCE::ENGINE;
            reference.engineValue = value;
            return reference;
        }
    }
    // As much of the text as reads as a number; nothing readable, or out of range, fails.
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const float number = std::strtof(begin, &end);
    if (end != begin && errno != ERANGE)
    {
        reference.source = VALUE_SOURCE::LITERAL;
        reference.number = number;
    }
    return reference;
}

ValueReference ReferenceParser::PrepareBool(const std::string& text, CacheNumbering* numbering)
{
    ValueReference reference;
    if (text == "0" || text == "false" || text == "1" || text == "true")
    {
        reference.source = VALUE_SOURCE::LITERAL;
        reference.boolean = text == "1" || text == "true";
        return reference;
    }
    if (StartsWith(text, "#g_"))
    {
        reference.source = VALUE_SOURCE::GLOBAL;
        reference.name = text.substr(3);
        return Numbered(reference, numbering);
    }
    if (PrepareLocal(text, reference, numbering))
    {
        return Numbered(reference, numbering);
    }
    std::string path;
    EntityReference prefix;
    if (SplitFieldPrefix(text, prefix, path, numbering) &&
        FieldFromTable(path, BOOL_FIELDS, std::size(BOOL_FIELDS), reference))
    {
        reference.source = VALUE_SOURCE::FIELD;
        reference.entity = std::make_shared<const EntityReference>(std::move(prefix));
        return Numbered(reference, numbering);
    }
    return ValueReference{};
}

ValueReference ReferenceParser::PrepareString(const std::string& text, CacheNumbering* numbering)
{
    ValueReference reference;
    if (StartsWith(text, "#g_"))
    {
        reference.source = VALUE_SOURCE::GLOBAL;
        reference.name = text.substr(3);
        return Numbered(reference, numbering);
    }
    std::string path;
    EntityReference prefix;
    if (SplitFieldPrefix(text, prefix, path, numbering) &&
        FieldFromTable(path, STRING_FIELDS, std::size(STRING_FIELDS), reference))
    {
        reference.source = VALUE_SOURCE::FIELD;
        reference.entity = std::make_shared<const EntityReference>(std::move(prefix));
        return Numbered(reference, numbering);
    }
    reference = ValueReference{};
    if (text == "#load_current" || text == "#load_total")
    {
        reference.source = VALUE_SOURCE::ENGINE;
        reference.engineValue =
            text == "#load_current" ? ENGINE_VALUE::LOAD_CURRENT : ENGINE_VALUE::LOAD_TOTAL;
        return reference;
    }
    if (PrepareLocal(text, reference, numbering))
    {
        return Numbered(reference, numbering);
    }
    reference.source = VALUE_SOURCE::LITERAL;
    reference.name = text;
    return reference;
}

} // namespace Varn::Script
