#include "script/UIActions.h"

#include "core/InputManager.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "ecs/UIText.h"
#include "resource/ResourceManager.h"
#include "script/ActionSupport.h"
#include "script/ORINCompiler.h"

namespace Varn::Script
{

namespace
{

using ECS::IEntity;
using ECS::UIButton;
using ECS::UIImage;
using ECS::UIText;

void SetUIImage(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (auto* image = NeededComponent<UIImage>(compiler, entity, "UIImage"))
    {
        const std::string path = compiler.references.String(entity, params[0], 0, false, hit);
        image->texture = compiler.services.resources.LoadTexture(path);
    }
}

// "SetButtonImage Hover <path>": one of the button's three state textures.
void SetButtonImage(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    auto* button = NeededComponent<UIButton>(compiler, entity, "UIButton");
    if (button == nullptr)
    {
        return;
    }
    References& r = compiler.references;
    const std::string state = r.String(entity, params[0], 0, false, hit);
    Resource::Texture2D** slot = state == "Default" ? &button->buttonTextureDefault
                                 : state == "Hover" ? &button->buttonTextureHover
                                 : state == "Down"  ? &button->buttonTextureDown
                                                    : nullptr;
    if (slot == nullptr)
    {
        FailStatement();
    }
    *slot = compiler.services.resources.LoadTexture(r.String(entity, params[1], 1, false, hit));
}

void SetText(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (auto* text = NeededComponent<UIText>(compiler, entity, "UIText"))
    {
        text->text = JoinedWords(compiler.references, entity, params, hit);
    }
}

// "KeyName <code> <string variable>": the code's name as a player knows it, for a controls page.
void KeyName(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    const float code = r.Float(entity, params[0], 0, false, hit);
    const bool usable = code >= 0.0f && code < 1000.0f; // false for NaN too
    r.String(entity, params[1], 1, true, hit) = InputManager::KeyName(usable ? static_cast<int>(code) : -1);
}

// Only "Up" means something: it releases a button a script wants to stop treating as held.
void SetButtonState(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    auto* button = NeededComponent<UIButton>(compiler, entity, "UIButton");
    if (button != nullptr && compiler.references.String(entity, params[0], 0, false, hit) == "Up")
    {
        button->isDown = false;
    }
}

} // namespace

void UIActions::Register(ActionTable& table)
{
    table["SetUIImage"] = {&SetUIImage, Takes({1})};
    table["SetButtonImage"] = {&SetButtonImage, Takes({2})};
    table["SetText"] = {&SetText, TakesAtLeast(1)};
    table["SetButtonState"] = {&SetButtonState, Takes({1})};
    table["KeyName"] = {&KeyName, Takes({2})};
}

} // namespace Varn::Script
