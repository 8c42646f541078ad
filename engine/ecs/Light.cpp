#include "ecs/Light.h"

#include "core/Scene.h"
#include "ecs/IEntity.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/SpriteRenderer.h"
#include "graphics/GraphicsSystem.h"

namespace Varn::Component
{

Light::~Light()
{
    // Sprites and emitters keep the entity in the graphics pass.
    if (owner != nullptr && owner->scene != nullptr &&
        !owner->HasAnyComponent<SpriteRenderer, ParticleEmitter>())
    {
        owner->scene->graphicsSystem->RemoveEntity(owner);
    }
}

void Light::Register()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->graphicsSystem->AddEntity(owner);
    }
}

void Light::BuildProperties()
{
    properties.clear();
    properties.push_back(ECS::Property::Of("Is Global", &isGlobal));
    properties.push_back(ECS::Property::Of("Light Color", &lightColor));
    properties.push_back(ECS::Property::Of("Ambient", &ambient));
    properties.push_back(ECS::Property::Of("Constant", &constant));
    properties.push_back(ECS::Property::Of("Linear", &linear));
    properties.push_back(ECS::Property::Of("Quadratic", &quadratic));
}

std::unique_ptr<ECS::IComponent> Light::Clone() const
{
    auto copy = std::make_unique<Light>();
    copy->isGlobal = isGlobal;
    copy->lightColor = lightColor;
    copy->ambient = ambient;
    copy->constant = constant;
    copy->linear = linear;
    copy->quadratic = quadratic;
    return FinishClone(std::move(copy));
}

} // namespace Varn::Component
