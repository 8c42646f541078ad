#include "script/ORINCompiler.h"

#include "core/Logger.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/ScriptComponent.h"
#include "resource/Script.h"
#include "script/Actions.h"
#include "script/Conditions.h"
#include "script/Events.h"
#include "script/ReferenceParser.h"
#include "script/ScriptSystem.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <utility>

namespace Varn::Script
{

namespace
{

// Counts one statement as running for as long as it runs; past MAX_NESTING the statement
// fails, which stops the entity's scripts for the step.
class Nesting
{
public:
    explicit Nesting(int& depth_) : depth(depth_)
    {
        if (depth == ORINCompiler::MAX_NESTING)
        {
            throw ScriptFailure{NESTED_TOO_DEEP};
        }
        ++depth;
    }
    ~Nesting() { --depth; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    int& depth;
};

const std::string& TokenAt(const std::vector<std::string>& tokens, std::size_t i)
{
    static const std::string lineEnd;
    return i < tokens.size() ? tokens[i] : lineEnd;
}

// The scripts of a component that exist, in order.
std::vector<const Resource::Script*> Scripts(const ECS::ScriptComponent& script)
{
    std::vector<const Resource::Script*> scripts;
    for (const Resource::Script* file : script.filePath)
    {
        if (file != nullptr)
        {
            scripts.push_back(file);
        }
    }
    return scripts;
}

// Declarations are not statements: section passes step over the type word and its alias.
bool SkipDeclaration(const std::vector<std::string>& tokens, std::size_t& i)
{
    if (!ORINCompiler::IsTypeWord(tokens[i]))
    {
        return false;
    }
    if (!TokenAt(tokens, i + 1).empty())
    {
        ++i;
    }
    return true;
}

} // namespace

ORINCompiler::ORINCompiler(ScriptSystem& system_, const Services& services_)
    : system(system_), services(services_), globals(services_.logger),
      references(globals, system_.timeStep, services_)
{
    globals.Load();
    Events::Register(eventTable);
    Conditions::Register(conditionTable);
    Actions::Register(actionTable);
}

bool ORINCompiler::IsTypeWord(const std::string& token)
{
    return token == "float" || token == "bool" || token == "string" || token == "ent" || token == "bool[]" ||
           token == "float[]" || token == "string[]" || token == "ent[]";
}

std::vector<std::string> ORINCompiler::StripComments(const std::vector<std::string>& tokens,
                                                     std::vector<uint32_t>* lines)
{
    std::vector<std::string> kept;
    std::vector<uint32_t> keptLines;
    kept.reserve(tokens.size());
    bool lineComment = false;
    bool blockComment = false;
    for (std::size_t t = 0; t < tokens.size(); ++t)
    {
        const std::string& token = tokens[t];
        const std::size_t before = kept.size();
        const std::string start = token.substr(0, 2);
        if (start == "//")
        {
            kept.emplace_back();
            lineComment = true;
        }
        else if (start == "/*")
        {
            kept.emplace_back();
            blockComment = true;
        }
        else if (start == "*/")
        {
            kept.emplace_back();
            blockComment = false;
        }
        else if (token.empty())
        {
            kept.emplace_back();
            lineComment = false;
        }
        else if (!lineComment && !blockComment)
        {
            kept.push_back(token);
        }
        if (lines != nullptr && kept.size() > before)
        {
            keptLines.push_back(t < lines->size() ? (*lines)[t] : 0);
        }
    }
    if (lines != nullptr)
    {
        *lines = std::move(keptLines);
    }
    return kept;
}

void ORINCompiler::ReportError(const std::string& message, const ECS::IEntity* entity)
{
    services.logger.Log(std::string(ERROR_PREFIX) + message + entity->name);
    success = false;
}

ORINCompiler::Line ORINCompiler::ReadLine(const std::vector<std::string>& tokens, std::size_t& i,
                                          bool withTarget) const
{
    Line line;
    if (parsing != nullptr)
    {
        line.file = parsing->name;
        line.number = i < parsing->lines.size() ? parsing->lines[i] : 0;
        // An empty word numbered with this line is no line end (that is numbered with the line
        // it ends): two spaces stood here.
        line.afterBlank = i > 0 && i < parsing->lines.size() && tokens[i - 1].empty() &&
                          parsing->lines[i - 1] == parsing->lines[i];
    }
    if (withTarget && tokens[i][0] == '#')
    {
        line.target = tokens[i];
        ++i;
    }
    line.keyword = TokenAt(tokens, i);
    while (!TokenAt(tokens, i).empty() && !TokenAt(tokens, i + 1).empty())
    {
        ++i;
        line.params.push_back(tokens[i]);
    }
    return line;
}

ScriptStatement ORINCompiler::MakeStatement(const Line& line, CacheNumbering& numbering)
{
    ScriptStatement statement;
    statement.keyword = line.keyword;
    statement.file = line.file;
    statement.line = line.number;
    statement.target = ReferenceParser::PrepareEntity(line.target, &numbering);
    statement.params.reserve(line.params.size());
    for (const std::string& param : line.params)
    {
        statement.params.push_back(ReferenceParser::Prepare(param, &numbering));
    }
    return statement;
}

bool ORINCompiler::Compile(ECS::IEntity* entity, bool summary)
{
    auto* script = entity->GetComponent<ECS::ScriptComponent>();
    if (script == nullptr)
    {
        return true;
    }
    script->initialized = false;
    success = true;

    // The stripped list replaces the shared resource's own; stripping twice changes nothing.
    for (Resource::Script* file : script->filePath)
    {
        if (file != nullptr)
        {
            file->tokens = StripComments(file->tokens, &file->lines);
        }
    }
    const std::vector<const Resource::Script*> scripts = Scripts(*script);
    std::vector<std::vector<std::string>> tokens;
    for (const Resource::Script* file : scripts)
    {
        tokens.push_back(file->tokens);
    }
    if (const auto known = programs.find(scripts); known != programs.end() && known->second.tokens == tokens)
    {
        Install(*script, known->second.declarations, known->second.program);
        return true;
    }

    // Every pass runs, so one compile reports at most one error per pass.
    Declarations declarations;
    auto program = std::make_shared<ScriptProgram>();
    CacheNumbering numbering{program->id, 0};
    ScanDeclarations(scripts, entity, declarations);
    ParseEvents(scripts, entity, program->events, numbering);
    ParseActionGroups(scripts, entity, program->actionGroups, numbering);
    ParseConditionGroups(scripts, entity, program->conditionGroups, numbering);
    program->variableReferences = numbering.next;

    if (!success)
    {
        if (summary)
        {
            services.logger.Log(std::string(ERROR_PREFIX) + entity->name + "'s scripts failed to compile!");
        }
        return false;
    }
    SharedProgram& shared = programs[scripts];
    shared = SharedProgram{std::move(tokens), std::move(declarations), std::move(program)};
    Install(*script, shared.declarations, shared.program);
    return true;
}

void ORINCompiler::Install(ECS::ScriptComponent& script, const Declarations& declarations,
                           const std::shared_ptr<const ScriptProgram>& program)
{
    // A scalar keeps the value the component already holds (scene file or previous compile).
    std::map<std::string, bool> bools;
    std::map<std::string, float> floats;
    std::map<std::string, std::string> strings;
    std::map<std::string, ECS::EntityHandle> entities;
    auto keep = [](auto& fresh, const auto& old, const std::string& alias, auto initial)
    {
        const auto found = old.find(alias);
        fresh.emplace(alias, found != old.end() ? found->second : initial);
    };
    script.boolArrays.clear();
    script.floatArrays.clear();
    script.stringArrays.clear();
    script.entityArrays.clear();
    for (const auto& [type, alias] : declarations)
    {
        if (type == "float")
        {
            keep(floats, script.floatList, alias, 0.0f);
        }
        else if (type == "bool")
        {
            keep(bools, script.boolList, alias, false);
        }
        else if (type == "string")
        {
            keep(strings, script.stringList, alias, std::string());
        }
        else if (type == "ent")
        {
            keep(entities, script.entityList, alias, ECS::EntityHandle());
        }
        else if (type == "bool[]")
        {
            script.boolArrays[alias];
        }
        else if (type == "float[]")
        {
            script.floatArrays[alias];
        }
        else if (type == "string[]")
        {
            script.stringArrays[alias];
        }
        else
        {
            script.entityArrays[alias];
        }
    }
    script.variablesVersion = ECS::NextStorageVersion();
    script.boolList = std::move(bools);
    script.floatList = std::move(floats);
    script.stringList = std::move(strings);
    script.entityList = std::move(entities);
    script.program = program;
    script.programId = program->id;
    script.referenceCache.assign(program->variableReferences, ECS::StorageCache{});
}

void ORINCompiler::ScanDeclarations(const std::vector<const Resource::Script*>& scripts,
                                    const ECS::IEntity* entity, Declarations& declarations)
{
    std::set<std::string> bools, floats, strings, entities, arrays; // an array alias is unique across kinds
    for (const Resource::Script* file : scripts)
    {
        const std::vector<std::string>& tokens = file->tokens;
        for (std::size_t i = 0; i < tokens.size(); ++i)
        {
            const std::string& type = tokens[i];
            if (!IsTypeWord(type))
            {
                continue;
            }
            const std::string& alias = TokenAt(tokens, i + 1);
            if (alias.empty())
            {
                ReportError("Variables declared without aliases in ", entity);
                return;
            }
            std::set<std::string>& names = type == "float"    ? floats
                                           : type == "bool"   ? bools
                                           : type == "string" ? strings
                                           : type == "ent"    ? entities
                                                              : arrays;
            if (!names.insert(alias).second)
            {
                ReportError("Duplicate variable aliases in ", entity);
                return;
            }
            declarations.emplace_back(type, alias);
            ++i; // scanning goes on after the alias
        }
    }
}

namespace
{

// "2 or 3 parameters", "1, 3 or 4 parameters", "at least 2 parameters", "no parameter".
std::string CountsText(ParamCounts takes)
{
    std::vector<std::string> counts;
    unsigned open = 32; // from this count on, every count is taken
    while (open > 0 && (takes >> (open - 1) & 1) != 0)
    {
        --open;
    }
    for (unsigned n = 0; n < open; ++n)
    {
        if ((takes >> n & 1) != 0)
        {
            counts.push_back(std::to_string(n));
        }
    }
    if (open < 32)
    {
        counts.push_back("at least " + std::to_string(open));
    }
    if (counts.size() == 1 && counts[0] == "0")
    {
        return "no parameter";
    }
    std::string text;
    for (std::size_t i = 0; i < counts.size(); ++i)
    {
        text += (i == 0 ? "" : i + 1 == counts.size() ? " or " : ", ") + counts[i];
    }
    return text + (counts.size() == 1 && counts[0] == "1" ? " parameter" : " parameters");
}

// Edits (insertions, deletions, changes) between two words, ignoring case.
std::size_t EditDistance(const std::string& a, const std::string& b)
{
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
    {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i)
    {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j)
        {
            const std::size_t above = row[j];
            row[j] = std::min(
                {row[j] + 1, row[j - 1] + 1, diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The line that follows an unknown keyword's error: where it is, and the keyword of the table
// it most likely meant, if one is two edits away or less.
template <typename Table>
std::string UnknownKeyword(const ScriptStatement& statement, bool afterBlank, const char* kind,
                           const Table& table)
{
    std::string best;
    std::size_t bestDistance = 3;
    for (const auto& [name, keyword] : table)
    {
        const std::size_t distance = EditDistance(statement.keyword, name);
        if (distance < bestDistance)
        {
            best = name;
            bestDistance = distance;
        }
    }
    std::string line = "ORIN: " + statement.file + ":" + std::to_string(statement.line) + ": unknown " +
                       kind + " \"" + statement.keyword + "\"";
    if (!best.empty())
    {
        line += "; did you mean " + best + "?";
    }
    // Words are parted by single spaces only: the usual slips with blanks, told as such.
    if (afterBlank)
    {
        line += " (two spaces end a statement, so the rest of the line was read as a new one)";
    }
    if (statement.keyword.find('\t') != std::string::npos)
    {
        line += " (a tab does not part words: use one space)";
    }
    return line;
}

} // namespace

std::string ScriptStatement::Written() const
{
    std::string text = file + ":" + std::to_string(line) + ": ";
    if (!target.text.empty() && target.source != ENTITY_SOURCE::SELF)
    {
        text += target.text + " ";
    }
    text += keyword;
    for (const ScriptParam& param : params)
    {
        text += " " + param.text;
    }
    return text;
}

template <typename Handler>
Handler ORINCompiler::Bind(ScriptStatement& statement, const Keyword<Handler>& keyword)
{
    const std::size_t count = statement.params.size();
    statement.countAccepted = count < 32 && (keyword.takes >> count & 1) != 0;
    if (!statement.countAccepted)
    {
        statement.countName = keyword.name != nullptr ? keyword.name : statement.keyword;
        services.logger.Log("ORIN: " + statement.Written() + ": " + statement.keyword + " takes " +
                                CountsText(keyword.takes) + ", not " + std::to_string(count),
                            Logger::ERROR);
    }
    return keyword.run;
}

bool ORINCompiler::ReadBlockStatement(const std::vector<std::string>& tokens, std::size_t& i,
                                      bool inConditions, ScriptBlock& block, const ECS::IEntity* entity,
                                      CacheNumbering& numbering)
{
    const Line line = ReadLine(tokens, i, true);
    ScriptStatement statement = MakeStatement(line, numbering);
    if (inConditions)
    {
        const auto found = conditionTable.find(statement.keyword);
        if (found == conditionTable.end())
        {
            ReportError("Invalid Condition in ", entity);
            services.logger.Log(UnknownKeyword(statement, line.afterBlank, "condition", conditionTable),
                                Logger::ERROR);
            return false;
        }
        statement.onCondition = Bind(statement, found->second);
        block.conditions.push_back(std::move(statement));
        return true;
    }
    const auto found = actionTable.find(statement.keyword);
    if (found == actionTable.end())
    {
        ReportError("Invalid Action in ", entity);
        services.logger.Log(UnknownKeyword(statement, line.afterBlank, "action", actionTable), Logger::ERROR);
        return false;
    }
    statement.onAction = Bind(statement, found->second);
    block.actions.push_back(std::move(statement));
    return true;
}

namespace
{
// The body of an event or action group: blocks of conditions and actions. Both passes read
// "[Condition]", "[Else]", "[Action]" and "[End]" the same way.
struct BlockReader
{
    bool inConditions = false;
    bool inActions = false;
    bool justOpened = false; // right after the header: triggers, no block yet
    ScriptBlock block;

    // After a header; the open block carries on (a repeated "[Event]" merges into it).
    void Open()
    {
        justOpened = true;
        inConditions = inActions = false;
    }
    // "[Condition]", "[Else]" or "[Action]"; false for any other token.
    bool Keyword(const std::string& token, std::vector<ScriptBlock>& blocks)
    {
        if (token == "[Condition]" || token == "[Else]")
        {
            if (!justOpened)
            {
                blocks.push_back(std::move(block));
                block = ScriptBlock{};
            }
            inConditions = true;
            inActions = justOpened = false;
            block.isElse = token == "[Else]";
            return true;
        }
        if (token == "[Action]")
        {
            inActions = true;
            inConditions = justOpened = false;
            return true;
        }
        return false;
    }
    // "[End]": the open block joins the list and everything starts afresh.
    void Close(std::vector<ScriptBlock>& blocks)
    {
        blocks.push_back(std::move(block));
        block = ScriptBlock{};
        inConditions = inActions = justOpened = false;
    }
    bool InBlock() const { return inConditions || inActions; }
};
} // namespace

void ORINCompiler::ParseEvents(const std::vector<const Resource::Script*>& scripts,
                               const ECS::IEntity* entity, std::vector<CompiledEvent>& events,
                               CacheNumbering& numbering)
{
    for (const Resource::Script* file : scripts)
    {
        parsing = file;
        const std::vector<std::string>& tokens = file->tokens;
        bool inSection = false;
        BlockReader body;
        CompiledEvent event;
        for (std::size_t i = 0; i < tokens.size(); ++i)
        {
            const std::string& token = tokens[i];
            if (token.empty())
            {
                continue;
            }
            if (token == "[Event]")
            {
                // A second "[Event]" before "[End]" merges into the open event.
                inSection = true;
                body.Open();
                continue;
            }
            if (!inSection || body.Keyword(token, event.blocks))
            {
                continue;
            }
            if (token == "[End]")
            {
                body.Close(event.blocks);
                events.push_back(std::move(event));
                event = CompiledEvent{};
                inSection = false;
            }
            else if (SkipDeclaration(tokens, i))
            {
                continue;
            }
            else if (body.justOpened)
            {
                const Line line = ReadLine(tokens, i, false);
                ScriptStatement trigger = MakeStatement(line, numbering);
                const auto found = eventTable.find(trigger.keyword);
                if (found == eventTable.end())
                {
                    ReportError("Invalid Event in ", entity);
                    services.logger.Log(UnknownKeyword(trigger, line.afterBlank, "event", eventTable),
                                        Logger::ERROR);
                    return;
                }
                trigger.onEvent = Bind(trigger, found->second);
                event.triggers.push_back(std::move(trigger));
            }
            else if (body.InBlock() &&
                     !ReadBlockStatement(tokens, i, body.inConditions, body.block, entity, numbering))
            {
                return;
            }
        }
        // Statements after the last "[End]" of a file are dropped.
    }
}

void ORINCompiler::ParseActionGroups(const std::vector<const Resource::Script*>& scripts,
                                     const ECS::IEntity* entity, std::map<std::string, ActionGroup>& groups,
                                     CacheNumbering& numbering)
{
    for (const Resource::Script* file : scripts)
    {
        parsing = file;
        const std::vector<std::string>& tokens = file->tokens;
        bool inGroup = false;
        std::string name;
        BlockReader body;
        ActionGroup group;
        for (std::size_t i = 0; i < tokens.size(); ++i)
        {
            const std::string& token = tokens[i];
            if (token.empty())
            {
                continue;
            }
            if (token == "[ActionGroup]")
            {
                name = TokenAt(tokens, i + 1);
                if (name.empty())
                {
                    ReportError("Missing ActionGroup name in ", entity);
                    return;
                }
                if (groups.count(name) != 0)
                {
                    ReportError("Duplicate ActionGroup in ", entity);
                    return;
                }
                ++i;
                inGroup = true;
                body.Open();
                body.block = ScriptBlock{}; // unlike events, a group header starts afresh
                group = ActionGroup{};
                continue;
            }
            if (!inGroup || body.Keyword(token, group.blocks))
            {
                continue;
            }
            if (token == "[End]")
            {
                body.Close(group.blocks);
                groups[name] = std::move(group);
                group = ActionGroup{};
                inGroup = false;
            }
            else if (SkipDeclaration(tokens, i))
            {
                continue;
            }
            else if (body.InBlock())
            {
                if (!ReadBlockStatement(tokens, i, body.inConditions, body.block, entity, numbering))
                {
                    return;
                }
            }
            else
            {
                ReadLine(tokens, i, true); // a group has no triggers: the line is ignored
            }
        }
    }
}

void ORINCompiler::ParseConditionGroups(const std::vector<const Resource::Script*>& scripts,
                                        const ECS::IEntity* entity,
                                        std::map<std::string, ConditionGroup>& groups,
                                        CacheNumbering& numbering)
{
    for (const Resource::Script* file : scripts)
    {
        parsing = file;
        const std::vector<std::string>& tokens = file->tokens;
        bool inGroup = false;
        std::string name;
        ConditionGroup group;
        for (std::size_t i = 0; i < tokens.size(); ++i)
        {
            const std::string& token = tokens[i];
            if (token.empty())
            {
                continue;
            }
            if (token == "[AndGroup]" || token == "[OrGroup]")
            {
                name = TokenAt(tokens, i + 1);
                if (name.empty())
                {
                    ReportError("Missing ConditionGroup name in ", entity);
                    return;
                }
                if (groups.count(name) != 0)
                {
                    ReportError("Duplicate ConditionGroup in ", entity);
                    return;
                }
                ++i;
                inGroup = true;
                group = ConditionGroup{};
                group.isAnd = token == "[AndGroup]";
                continue;
            }
            if (!inGroup)
            {
                continue;
            }
            if (token == "[End]")
            {
                groups[name] = std::move(group);
                group = ConditionGroup{};
                inGroup = false;
            }
            else if (!SkipDeclaration(tokens, i))
            {
                ScriptBlock block;
                if (!ReadBlockStatement(tokens, i, true, block, entity, numbering))
                {
                    return;
                }
                group.conditions.push_back(std::move(block.conditions.front()));
            }
        }
    }
}

void ORINCompiler::RunBlocks(const std::vector<ScriptBlock>& blocks, ECS::IEntity* entity, std::size_t hit)
{
    bool previousFailed = false;
    for (const ScriptBlock& block : blocks)
    {
        if (block.isElse && !previousFailed)
        {
            continue;
        }
        bool held = true;
        for (const ScriptStatement& condition : block.conditions)
        {
            if (!RunCondition(condition, entity, hit))
            {
                held = false;
                break;
            }
        }
        previousFailed = !held;
        if (!held)
        {
            continue;
        }
        for (const ScriptStatement& action : block.actions)
        {
            RunAction(action, entity, hit);
        }
    }
}

bool ORINCompiler::RunCondition(const ScriptStatement& condition, ECS::IEntity* entity, std::size_t hit)
{
    try
    {
        const Nesting running(nesting);
        ECS::IEntity* target = condition.target.source == ENTITY_SOURCE::SELF
                                   ? entity
                                   : references.Entity(entity, condition.target, 0, false, hit).Get();
        if (!condition.countAccepted)
        {
            references.InvalidParameters(condition.countName, target);
            return false;
        }
        return condition.onCondition(target, condition.params, *this, hit);
    }
    catch (ScriptFailure& failure)
    {
        // The innermost statement names itself first; the ones around it leave it be.
        failure.statement = failure.statement != nullptr ? failure.statement : &condition;
        throw;
    }
}

void ORINCompiler::RunAction(const ScriptStatement& action, ECS::IEntity* entity, std::size_t hit)
{
    try
    {
        const Nesting running(nesting);
        ECS::IEntity* target = action.target.source == ENTITY_SOURCE::SELF
                                   ? entity
                                   : references.Entity(entity, action.target, 0, false, hit).Get();
        if (!action.countAccepted)
        {
            references.InvalidParameters(action.countName, target);
            return;
        }
        action.onAction(target, action.params, *this, hit);
    }
    catch (ScriptFailure& failure)
    {
        failure.statement = failure.statement != nullptr ? failure.statement : &action;
        throw;
    }
}

const char* FailureCause(int code)
{
    switch (code)
    {
    case FAILED_REFERENCE:
        return "a reference names no entity, variable, field or component that exists";
    case BAD_OPERATOR:
        return "the comparison word is not an operator";
    case BAD_LIST:
        return "there is no such list of hits";
    case FAILED_STATEMENT:
        return "the statement refused what it was given";
    case NESTED_TOO_DEEP:
        return "calls nested too deep";
    default:
        return "unknown failure";
    }
}

} // namespace Varn::Script
