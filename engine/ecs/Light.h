#pragma once
// A point light that the GraphicsSystem applies to the sprites of its layer that receive
// light; a global light is applied to every layer drawn. The sprite shader attenuates it by
// 1 / (constant + linear * d + quadratic * d^2), d in world units.
#include "core/VarnColor.h"
#include "ecs/IComponent.h"

namespace Varn::ECS
{

class Light final : public IComponent
{
public:
    Light() : IComponent("Light") {}
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    bool isGlobal = false;            // "Is Global": joins the light list of every layer
    VarnColor lightColor{1, 1, 1, 1}; // "Light Color"
    float ambient = 50.0f;            // "Ambient": strength; also sets the reach used for culling
    float constant = 1.0f;            // "Constant" attenuation term
    float linear = 0.09f;             // "Linear" attenuation term, per world unit
    float quadratic = 0.032f;         // "Quadratic" attenuation term, per square unit
};

} // namespace Varn::ECS
