#include "ecs/ScriptComponent.h"

namespace Varn::ECS
{

void ScriptComponent::BuildProperties()
{
    properties = {
        Property::Of("File Path", &filePath),     Property::Of("Bool List", &boolList),
        Property::Of("Float List", &floatList),   Property::Of("String List", &stringList),
        Property::Of("Entity List", &entityList), Property::Of("Timer", &timer),
    };
}

std::unique_ptr<IComponent> ScriptComponent::Clone() const
{
    auto copy = std::make_unique<ScriptComponent>();
    copy->filePath = filePath;
    copy->boolList = boolList;
    copy->floatList = floatList;
    copy->stringList = stringList;
    copy->entityList = entityList;
    copy->timer = timer;
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
