#pragma once
// Hit-tests UI buttons against the cursor once per simulation step: sets their clicked, down
// and hovered flags and picks the texture they show. While the left mouse button is held over
// a button the pass stops there, so buttons after it keep the state of the previous step.
// Writes the buttons' flags and currentTexture and their Transform worldScale.
#include "core/ISystem.h"

namespace Varn::Graphics
{

class UIButtonSystem : public ISystem
{
public:
    static constexpr int LEFT_MOUSE = 1; // key code of the left mouse button

    UIButtonSystem(ECS::Scene* scene, const Services& services);
    // A button joins showing its own default texture, which its block may have replaced after
    // construction; the first hit test sizes the button from it.
    void AddEntity(ECS::IEntity* entity) override;
    void Update(const float& dt) override; // dt unused
};

} // namespace Varn::Graphics
