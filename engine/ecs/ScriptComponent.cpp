#include "ecs/ScriptComponent.h"

#include "core/Scene.h"
#include "ecs/IEntity.h"
#include "script/ScriptSystem.h"

namespace Varn::Component
{

ScriptComponent::~ScriptComponent()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->scriptSystem->RemoveEntity(owner);
    }
}

void ScriptComponent::Register()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->scriptSystem->AddEntity(owner);
    }
}

void ScriptComponent::BuildProperties()
{
    properties.clear();
    properties.push_back(ECS::Property::Of("File Path", &filePath));
    properties.push_back(ECS::Property::Of("Bool List", &boolList));
    properties.push_back(ECS::Property::Of("Float List", &floatList));
    properties.push_back(ECS::Property::Of("String List", &stringList));
    properties.push_back(ECS::Property::Of("Entity List", &entityList));
    properties.push_back(ECS::Property::Of("Timer", &timer));
}

std::unique_ptr<ECS::IComponent> ScriptComponent::Clone() const
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

} // namespace Varn::Component
