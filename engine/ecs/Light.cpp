#include "ecs/Light.h"

namespace Varn::ECS
{

void Light::BuildProperties()
{
    properties = {
        Property::Of("Is Global", &isGlobal), Property::Of("Light Color", &lightColor),
        Property::Of("Ambient", &ambient),    Property::Of("Constant", &constant),
        Property::Of("Linear", &linear),      Property::Of("Quadratic", &quadratic),
    };
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
