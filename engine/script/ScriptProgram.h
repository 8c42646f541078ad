#pragma once
// The compiled form of an entity's ORIN scripts. The ORINCompiler builds it and installs it
// into the entity's ScriptComponent as a whole; a program is shared by every entity that
// lists the same scripts and is never changed after its compile. Parameters are classified
// once, when the statement is compiled, so running a statement does no text parsing.
#include "ecs/ScriptStorage.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::Script
{

class ORINCompiler;
struct ValueReference;

struct ScriptStatement;

// Why a statement failed.
enum FAILURE_CODE : int
{
    FAILED_REFERENCE = 1, // a reference names no entity, variable, field or component
    BAD_OPERATOR = 2,     // a comparison word that is no operator
    BAD_LIST = 3,         // CheckName/CheckTag/CheckID over a list that does not exist
    FAILED_STATEMENT = 4, // the action refused what it was given
    NESTED_TOO_DEEP = 5   // Call, For and Check nested deeper than ORINCompiler::MAX_NESTING
};

// Raised by resolvers and handlers when a reference or operator cannot be served; the script
// system catches it per entity and abandons that entity's scripts for the step. The innermost
// statement running when it was raised is noted on its way out, for the message.
struct ScriptFailure
{
    int code;
    const ScriptStatement* statement = nullptr;
};

// What a failure code means, in words for the log.
const char* FailureCause(int code);

// Where an entity reference ("#self", "#col", "#entBoss", ...) finds its entity.
enum class ENTITY_SOURCE : uint8_t
{
    NONE, // not an entity reference: resolving fails
    SELF,
    COLLISION_HIT,
    TRIGGER_HIT,
    RAYCAST_HIT,
    PLAYER,
    MAIN_CAMERA,
    ARRAY_ELEMENT, // "#entname[index]"
    NAMED,         // "#entname": an ent variable, else the scene entity of that name
    CHILD          // "#child3"
};

struct EntityReference
{
    ENTITY_SOURCE source = ENTITY_SOURCE::NONE;
    std::string text;                            // the reference as written, for messages
    std::string name;                            // array, variable or entity name
    bool lastIndex = false;                      // "[last]"
    std::shared_ptr<const ValueReference> index; // the element index otherwise; may be null
    int child = 0;                               // for CHILD
};

// Where a bool, float or string parameter takes its value from.
enum class VALUE_SOURCE : uint8_t
{
    FAIL, // no form matches: resolving fails
    LITERAL,
    GLOBAL,
    LOCAL,
    ARRAY_ELEMENT,
    COUNT, // "#count_name": number of elements of a local array
    FIELD, // an entity prefix and a field path
    ENGINE // mouse, time, random, load and pad values
};

enum class FIELD : uint8_t
{
    TAG,
    ID,
    ROOM,
    LAYER,
    POS_X,
    POS_Y,
    POS_Z,
    LPOS_X,
    LPOS_Y,
    LPOS_Z,
    SCALE_X,
    SCALE_Y,
    SCALE_Z,
    ROT_X,
    ROT_Y,
    ROT_Z,
    CIRCLE_RADIUS,
    VEL_X,
    VEL_Y,
    MASS,
    CAM_X,
    CAM_Y,
    CAM_ZOOM,
    ANIM_FRAME,
    VARIABLE, // "var_name": a local variable of that entity
    ACTIVE,
    FLIP_X,
    FLIP_Y,
    GROUNDED,
    NAME,
    ANIM_NAME
};

enum class ENGINE_VALUE : uint8_t
{
    MOUSE_X,
    MOUSE_Y,
    MOUSE_DELTA_X,
    MOUSE_DELTA_Y,
    MOUSE_WORLD_X,
    MOUSE_WORLD_Y,
    TIME_DELTA,
    TIME_FIXED_DELTA,
    TIME_SCALE,
    RANDOM,
    LOAD_CURRENT,
    LOAD_TOTAL,
    LEFT_STICK_X,
    LEFT_STICK_Y,
    RIGHT_STICK_X,
    RIGHT_STICK_Y,
    LEFT_TRIGGER,
    RIGHT_TRIGGER,
    INPUT_KEY
};

// Hands out the cache indices of one program's variable references while it is compiled.
struct CacheNumbering
{
    uint64_t program = 0; // ScriptProgram::id
    uint32_t next = 0;
};

// One parameter read as one type. Built by References::Prepare*. What a run reads first
// comes first.
struct ValueReference
{
    static constexpr uint32_t NO_CACHE = 0xFFFFFFFFu;

    VALUE_SOURCE source = VALUE_SOURCE::FAIL;
    FIELD field = FIELD::TAG;
    ENGINE_VALUE engineValue = ENGINE_VALUE::MOUSE_X;
    bool lastIndex = false;                        // "[last]"
    bool boolean = false;                          // LITERAL bool
    float number = 0.0f;                           // LITERAL float
    uint32_t cacheIndex = NO_CACHE;                // for GLOBAL, LOCAL and FIELD variables
    uint64_t program = 0;                          // ScriptProgram::id of the program it belongs to
    std::string name;                              // variable, array or field variable name; LITERAL string
    std::shared_ptr<const ValueReference> index;   // element index (a float reference); may be null
    std::shared_ptr<const EntityReference> entity; // the prefix of a FIELD; null otherwise
};

// A comparison word as a condition reads it: "==", "!=", "<", ">", "<=", ">=".
enum class COMPARISON : uint8_t
{
    NONE, // any other word: a condition that needs an operator fails on it
    EQUAL,
    NOT_EQUAL,
    LESS,
    GREATER,
    LESS_EQUAL,
    GREATER_EQUAL
};

// A statement parameter: its readings, prepared at compile time, and its text.
struct ScriptParam
{
    ValueReference asFloat;
    ValueReference asBool;
    ValueReference asString;
    EntityReference asEntity;
    COMPARISON asComparison = COMPARISON::NONE;
    std::string text;
};

using Params = std::vector<ScriptParam>;
using EventHandler = bool (*)(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
using ConditionHandler = bool (*)(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                                  std::size_t hit);
using ActionHandler = void (*)(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                               std::size_t hit);

// How many parameters a keyword takes: bit n is set when n are accepted.
using ParamCounts = uint32_t;
constexpr ParamCounts Takes(std::initializer_list<unsigned> counts)
{
    ParamCounts accepted = 0;
    for (const unsigned count : counts)
    {
        accepted |= ParamCounts{1} << count;
    }
    return accepted;
}
constexpr ParamCounts TakesAtLeast(unsigned least)
{
    return ~ParamCounts{0} << least;
}
constexpr ParamCounts TAKES_ANY = ~ParamCounts{0};

// A keyword's handler, the parameter counts it takes, and the name that its "Invalid <name>
// parameters" line gives, when that is not the keyword itself.
template <typename Handler> struct Keyword
{
    Handler run = nullptr;
    ParamCounts takes = TAKES_ANY;
    const char* name = nullptr;
};

// Keyword tables, built once per compiler. A word may be in more than one table.
using EventTable = std::unordered_map<std::string, Keyword<EventHandler>>;
using ConditionTable = std::unordered_map<std::string, Keyword<ConditionHandler>>;
using ActionTable = std::unordered_map<std::string, Keyword<ActionHandler>>;

struct ScriptStatement
{
    EventHandler onEvent = nullptr;
    ConditionHandler onCondition = nullptr;
    ActionHandler onAction = nullptr;
    Params params;
    EntityReference target; // "#self" unless the line names another; unused by events
    std::string keyword;
    std::string file; // the script it was compiled from, and its line there: for messages
    uint32_t line = 0;
    // Whether the keyword takes this many parameters, and the name the line that says it does
    // not gives; both set when compiled. Such a statement does nothing but say so when it runs.
    bool countAccepted = true;
    std::string countName;

    // "file:line: the statement as written", for the lines that say where.
    std::string Written() const;
};

struct ScriptBlock
{
    bool isElse = false; // opened by "[Else]": tried only after the previous block failed
    std::vector<ScriptStatement> conditions;
    std::vector<ScriptStatement> actions;
};

struct CompiledEvent
{
    std::vector<ScriptStatement> triggers; // all evaluated; the event fires when one holds
    std::vector<ScriptBlock> blocks;
};

struct ActionGroup
{
    std::vector<ScriptBlock> blocks;
};

struct ConditionGroup
{
    bool isAnd = false; // "[AndGroup]": all must hold; "[OrGroup]": one must hold
    std::vector<ScriptStatement> conditions;
};

// What the compiler makes of one list of scripts. Entities whose ScriptComponents list the
// same scripts share one program; their variables stay their own.
struct ScriptProgram
{
    uint64_t id = ECS::NextStorageVersion(); // never reused, so a reference knows its program
    std::vector<CompiledEvent> events;       // file order, scripts in filePath order
    std::map<std::string, ActionGroup> actionGroups;
    std::map<std::string, ConditionGroup> conditionGroups;
    uint32_t variableReferences = 0; // cacheIndex values handed out: 0 to this, exclusive
};

} // namespace Varn::Script
