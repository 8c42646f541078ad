#include "ecs/ScriptComponent.h"

namespace Varn::ECS
{

void ScriptComponent::BuildProperties()
{
    properties.clear();
    properties.push_back(Property::Of("File Path", &filePath));
    properties.push_back(Property::Of("Bool List", &boolList));
    properties.push_back(Property::Of("Float List", &floatList));
    properties.push_back(Property::Of("String List", &stringList));
    properties.push_back(Property::Of("Entity List", &entityList));
    properties.push_back(Property::Of("Timer", &timer));
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
