#pragma once
// The ORIN scripts an entity runs, the named values content hands to them and the program the
// ORINCompiler made of them. The compiler replaces the program and variables as a whole on
// each successful compile; the ScriptSystem runs the program each step, and scripts read and
// write the variables by name. Entity List entries are filled by the scene loader once every
// entity of the file exists.
#include "ecs/EntityHandle.h"
#include "ecs/IComponent.h"
#include "ecs/NamedTimer.h"
#include "ecs/ScriptStorage.h"

#include <deque>
#include <map>
#include <memory>
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
namespace Varn::Script
{
struct ScriptProgram;
}

namespace Varn::ECS
{

class ScriptComponent final : public IComponent
{
public:
    ScriptComponent() : IComponent("Script"), variablesVersion(NextStorageVersion()) {}
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    std::vector<Resource::Script*> filePath;        // "File Path": owned by the ResourceManager
    std::map<std::string, bool> boolList;           // "Bool List"
    std::map<std::string, float> floatList;         // "Float List"
    std::map<std::string, std::string> stringList;  // "String List"
    std::map<std::string, EntityHandle> entityList; // "Entity List": resolve to null once freed
    NamedTimer timer;                               // "Timer": a delay scripts look up by name

    // Arrays declared by the scripts; emptied by every compile, never saved.
    std::map<std::string, std::deque<bool>> boolArrays; // a deque, so elements can be referenced
    std::map<std::string, std::vector<float>> floatArrays;
    std::map<std::string, std::vector<std::string>> stringArrays;
    std::map<std::string, std::vector<EntityHandle>> entityArrays; // resolve to null once freed

    // Events, action groups and condition groups; shared with entities that run the same
    // scripts, never changed once compiled. Null until the first successful compile.
    std::shared_ptr<const Script::ScriptProgram> program;
    std::vector<StorageCache> referenceCache; // one per variable reference of `program`
    uint64_t programId = 0;                   // `program`'s id; 0 without one
    bool initialized = false;                 // false after each compile, true after the first complete pass
    // Renewed whenever the variable maps may have lost entries (construction, each installed
    // compile), so resolvers can keep the address of a variable between runs. Code that erases
    // a variable any other way must renew it too.
    uint64_t variablesVersion;

    // Hits of the event being evaluated ("#col", "#trg", "#ryc"), emptied before each event.
    // The raw lists are where the contact events gather entities before copying them over.
    std::vector<IEntity*> rawCollisions, rawTriggers, rawRaycasts; // not owned
    std::vector<IEntity*> collisionHits, triggerHits, raycastHits; // not owned
};

} // namespace Varn::ECS
