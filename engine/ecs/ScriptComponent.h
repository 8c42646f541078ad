#pragma once
// The ORIN scripts an entity runs, the named values content hands to them and the program the
// ORINCompiler made of them. The compiler replaces the program and variables as a whole on
// each successful compile; the ScriptSystem runs the program each step, and scripts read and
// write the variables by name. Entity List entries are filled by the scene loader once every
// entity of the file exists.
#include "ecs/IComponent.h"
#include "ecs/NamedTimer.h"
#include "script/ScriptProgram.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace Varn::ECS
{
class IEntity;
}
namespace Varn::Resource
{
class Script;
}

namespace Varn::Component
{

class ScriptComponent final : public ECS::IComponent
{
public:
    ScriptComponent() : IComponent("Script") {}
    ~ScriptComponent() override;

    void Register() override;
    void BuildProperties() override;
    std::unique_ptr<ECS::IComponent> Clone() const override;

    std::vector<Resource::Script*> filePath;         // "File Path": owned by the ResourceManager
    std::map<std::string, bool> boolList;            // "Bool List"
    std::map<std::string, float> floatList;          // "Float List"
    std::map<std::string, std::string> stringList;   // "String List"
    std::map<std::string, ECS::IEntity*> entityList; // "Entity List": not owned; may hold null
    Time::NamedTimer timer;                          // "Timer": a delay scripts look up by name

    // Arrays declared by the scripts; emptied by every compile, never saved.
    std::map<std::string, std::deque<bool>> boolArrays; // a deque, so elements can be referenced
    std::map<std::string, std::vector<float>> floatArrays;
    std::map<std::string, std::vector<std::string>> stringArrays;
    std::map<std::string, std::vector<ECS::IEntity*>> entityArrays; // not owned; may hold null

    std::vector<System::CompiledEvent> events; // file order, scripts in filePath order
    std::map<std::string, System::ActionGroup> actionGroups;
    std::map<std::string, System::ConditionGroup> conditionGroups;
    bool initialized = false; // false after each compile, true after the first complete pass

    // Hits of the event being evaluated ("#col", "#trg", "#ryc"), emptied before each event.
    // The raw lists are where the contact events gather entities before copying them over.
    std::vector<ECS::IEntity*> rawCollisions, rawTriggers, rawRaycasts; // not owned
    std::vector<ECS::IEntity*> collisionHits, triggerHits, raycastHits; // not owned
};

} // namespace Varn::Component
