#pragma once
// Turns the ORIN scripts of an entity into the program stored in its ScriptComponent, and
// runs block lists of such programs. Owns the keyword tables (built once, here), the global
// variables and the resolvers with their scratch slots and cached entities. Lives inside the
// ScriptSystem; main thread only.
//
// A compile either installs a whole new program or, after any error, leaves the component
// exactly as it was. Errors are logged as "ORINCompiler: [ERROR]" + message + entity name.
#include "core/Services.h"
#include "script/GlobalVariables.h"
#include "script/References.h"
#include "script/ScriptProgram.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Varn::ECS
{
class IEntity;
}
namespace Varn::Resource
{
class Script;
}

namespace Varn::Script
{

class ScriptSystem;

class ORINCompiler
{
public:
    static constexpr const char* ERROR_PREFIX = "ORINCompiler: [ERROR]";
    // Statements run inside statements (action groups by Call and For, condition groups by
    // Check); one that would run deeper than this fails instead. Far deeper than any script
    // needs, and a group that runs itself without end would otherwise overflow the stack.
    static constexpr int MAX_NESTING = 64;

    // Reads the global variables, then builds the keyword tables.
    ORINCompiler(ScriptSystem& system, const Services& services);
    ORINCompiler(const ORINCompiler&) = delete;
    ORINCompiler& operator=(const ORINCompiler&) = delete;

    // Compiles the entity's scripts; false when a pass failed (the old program stays). With
    // `summary` a failure also logs "<name>'s scripts failed to compile!". Entities without a
    // ScriptComponent are left alone and count as compiled. Entities listing the same scripts
    // with the same text share the program compiled first.
    bool Compile(ECS::IEntity* entity, bool summary);
    // Drops the programs kept for sharing; entities keep theirs.
    void ForgetPrograms() { programs.clear(); }

    // Comments become line ends or vanish: "//" to the end of the line, "/*" to "*/".
    // Drops comments, keeping line ends; `lines`, when given, is the line of each token and is
    // kept in step.
    static std::vector<std::string> StripComments(const std::vector<std::string>& tokens,
                                                  std::vector<uint32_t>* lines = nullptr);
    static bool IsTypeWord(const std::string& token);

    // Runs blocks as an event's repetition does: else-chains, conditions, then actions.
    void RunBlocks(const std::vector<ScriptBlock>& blocks, ECS::IEntity* entity, std::size_t hit);
    // Resolves the statement's target relative to `entity` and calls its handler.
    bool RunCondition(const ScriptStatement& condition, ECS::IEntity* entity, std::size_t hit);
    void RunAction(const ScriptStatement& action, ECS::IEntity* entity, std::size_t hit);

    ScriptSystem& system;
    const Services& services; // what the keywords work on: scenes, window, audio, resources...
    GlobalVariables globals;
    References references;
    EventTable eventTable;
    ConditionTable conditionTable;
    ActionTable actionTable;
    bool success = true; // of the compile in progress
    int nesting = 0;     // statements running now, each inside the one before

private:
    using Declarations = std::vector<std::pair<std::string, std::string>>; // type word, alias
    // A program as compiled from a list of scripts, with the text it was compiled from.
    struct SharedProgram
    {
        std::vector<std::vector<std::string>> tokens;
        Declarations declarations;
        std::shared_ptr<const ScriptProgram> program;
    };
    // A statement line from tokens[i]; `i` ends on the line's last token.
    struct Line
    {
        std::string target = "#self";
        std::string keyword;
        std::vector<std::string> params;
        std::string file;
        uint32_t number = 0;
        bool afterBlank = false; // begins after two spaces inside a line, which ended the statement before
    };
    // Reads from the file being parsed (`parsing`), whose lines it notes.
    Line ReadLine(const std::vector<std::string>& tokens, std::size_t& i, bool withTarget) const;
    static ScriptStatement MakeStatement(const Line& line, CacheNumbering& numbering);
    // Variables from the declarations, keeping the values the component holds; then the program.
    static void Install(ECS::ScriptComponent& script, const Declarations& declarations,
                        const std::shared_ptr<const ScriptProgram>& program);

    void ReportError(const std::string& message, const ECS::IEntity* entity);
    // The keyword's handler for `statement`, whose parameter count it checks against the table
    // (a line says when the count is not taken).
    template <typename Handler> Handler Bind(ScriptStatement& statement, const Keyword<Handler>& keyword);
    void ScanDeclarations(const std::vector<const Resource::Script*>& scripts, const ECS::IEntity* entity,
                          Declarations& declarations);
    void ParseEvents(const std::vector<const Resource::Script*>& scripts, const ECS::IEntity* entity,
                     std::vector<CompiledEvent>& events, CacheNumbering& numbering);
    void ParseActionGroups(const std::vector<const Resource::Script*>& scripts, const ECS::IEntity* entity,
                           std::map<std::string, ActionGroup>& groups, CacheNumbering& numbering);
    void ParseConditionGroups(const std::vector<const Resource::Script*>& scripts, const ECS::IEntity* entity,
                              std::map<std::string, ConditionGroup>& groups, CacheNumbering& numbering);
    // Reads a "[Condition]" or "[Action]" line into `block`; false after an unknown keyword.
    bool ReadBlockStatement(const std::vector<std::string>& tokens, std::size_t& i, bool inConditions,
                            ScriptBlock& block, const ECS::IEntity* entity, CacheNumbering& numbering);

    std::map<std::vector<const Resource::Script*>, SharedProgram> programs; // by script list
    const Resource::Script* parsing = nullptr; // the file the parse passes are reading
};

} // namespace Varn::Script
