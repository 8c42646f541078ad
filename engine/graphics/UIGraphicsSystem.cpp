#include "graphics/UIGraphicsSystem.h"

namespace Varn::UISystem
{

void UIGraphicsSystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::UISystem
