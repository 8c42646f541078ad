#include "graphics/UIButtonSystem.h"

namespace Varn::UISystem
{

void UIButtonSystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::UISystem
