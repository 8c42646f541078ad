#include "ecs/Light.h"

namespace Varn::ECS
{

void Light::BuildProperties()
{
    properties.clear();
    properties.push_back(Property::Of("Is Global", &isGlobal));
    properties.push_back(Property::Of("Light Color", &lightColor));
    properties.push_back(Property::Of("Ambient", &ambient));
    properties.push_back(Property::Of("Constant", &constant));
    properties.push_back(Property::Of("Linear", &linear));
    properties.push_back(Property::Of("Quadratic", &quadratic));
}

std::unique_ptr<IComponent> Light::Clone() const
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

} // namespace Varn::ECS
