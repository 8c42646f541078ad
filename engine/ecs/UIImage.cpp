#include "ecs/UIImage.h"

#include "resource/ResourceManager.h"

namespace Varn::ECS
{

using Resource::ResourceManager;

UIImage::UIImage() : IComponent("UI Image")
{
}

void UIImage::UseDefaults(const Services& services)
{
    ResourceManager& resources = services.resources;
    texture = resources.GetTexture(ResourceManager::DEFAULT_TEXTURE);
    mesh = resources.FindMesh(ResourceManager::DEFAULT_MESH);
    shader = resources.FindShader(ResourceManager::SPRITE_SHADER);
}

void UIImage::BuildProperties()
{
    properties = {
        Property::Of("Opacity", &opacity), Property::Of("Texture", &texture), Property::Of("Mesh", &mesh),
        Property::Of("Shader", &shader),   Property::Of("Tint", &tint),
    };
}

std::unique_ptr<IComponent> UIImage::Clone() const
{
    auto copy = std::make_unique<UIImage>();
    copy->opacity = opacity;
    copy->texture = texture;
    copy->mesh = mesh;
    copy->shader = shader;
    copy->tint = tint;
    copy->texOffset = texOffset;
    copy->frame = frame;
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
