#pragma once
// The ORIN scripts an entity runs and the named values content hands to them. The
// ScriptSystem runs the scripts each step; scripts read and write the lists by name.
// Entity List entries are filled by the scene loader once every entity of the file exists.
#include "ecs/IComponent.h"
#include "ecs/NamedTimer.h"

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
};

} // namespace Varn::Component
