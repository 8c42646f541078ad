#include "graphics/UIButtonSystem.h"

#include "core/InputManager.h"
#include "core/Window.h"
#include "ecs/IEntity.h"
#include "ecs/Transform.h"
#include "ecs/UIButton.h"
#include "graphics/CameraSystem.h"
#include "resource/Mesh2D.h"
#include "resource/Texture2D.h"

#include <algorithm>
#include <cmath>

namespace Varn::Graphics
{

UIButtonSystem::UIButtonSystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<ECS::UIButton>();
}

void UIButtonSystem::AddEntity(ECS::IEntity* entity)
{
    if (auto* button = entity->GetComponent<ECS::UIButton>(); button != nullptr && !Has(entity))
    {
        button->currentTexture = button->buttonTextureDefault;
    }
    ISystem::AddEntity(entity);
}

void UIButtonSystem::Update(const float& /*dt*/)
{
    const InputManager& input = services.input;
    const Window& window = services.window;
    const float mouseX = static_cast<float>(input.mousePosition.x);
    const float mouseY = static_cast<float>(input.mousePosition.y);
    const float pixelsPerUnit = CameraSystem::PixelsPerUnit(window);

    for (ECS::IEntity* entity : entities)
    {
        auto* button = entity->GetComponent<ECS::UIButton>();
        auto* transform = entity->GetComponent<ECS::Transform>();
        if (button == nullptr || transform == nullptr || !button->IsActive() ||
            button->currentTexture == nullptr || button->buttonMesh == nullptr)
        {
            continue;
        }
        const float w = static_cast<float>(button->currentTexture->width) /
                        static_cast<float>(std::max(1u, button->buttonMesh->columns));
        const float h = static_cast<float>(button->currentTexture->height) /
                        static_cast<float>(std::max(1u, button->buttonMesh->rows));
        const float bw = transform->scale.x * w;
        const float bh = transform->scale.y * h;
        transform->worldScale = {bw, bh, 0.0f, 0.0f};
        // Buttons are placed in the virtual view's units, the cursor in pixels of the picture,
        // which shows that view at its own width in either display mode.
        const float bx = transform->worldMatrix.m[0][3] * pixelsPerUnit;
        const float by = transform->worldMatrix.m[1][3] * pixelsPerUnit;
        // Half-sizes as lengths: a mirrored button is drawn, so it must be clickable too.
        const bool over = std::fabs(mouseX - bx) < std::fabs(bw * pixelsPerUnit) / 2.0f &&
                          std::fabs(mouseY - by) < std::fabs(bh * pixelsPerUnit) / 2.0f;
        if (!over)
        {
            button->clicked = false;
            button->hovered = false;
            button->isDown = false;
            button->currentTexture = button->buttonTextureDefault;
            continue;
        }
        button->clicked = input.IsKeyPressed(LEFT_MOUSE);
        button->currentTexture = button->clicked ? button->buttonTextureDown : button->buttonTextureDefault;
        if (input.IsKeyDown(LEFT_MOUSE))
        {
            button->isDown = true;
            button->currentTexture = button->buttonTextureDown;
            return; // the held button ends the pass for this step
        }
        button->hovered = true;
        button->currentTexture = button->buttonTextureHover;
        button->isDown = false;
    }
}

} // namespace Varn::Graphics
