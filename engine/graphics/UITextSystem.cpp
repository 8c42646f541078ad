#include "graphics/UITextSystem.h"

namespace Varn::UISystem
{

void UITextSystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::UISystem
