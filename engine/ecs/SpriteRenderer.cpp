#include "ecs/SpriteRenderer.h"

#include "resource/Mesh2D.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"

#include <algorithm>

namespace Varn::ECS
{

using Resource::ResourceManager;

SpriteRenderer::SpriteRenderer() : IComponent("Sprite Renderer")
{
}

void SpriteRenderer::UseDefaults(const Services& services)
{
    ResourceManager& resources = services.resources;
    texture = resources.GetTexture(ResourceManager::DEFAULT_TEXTURE);
    mesh = resources.FindMesh(ResourceManager::DEFAULT_MESH);
    shader = resources.FindShader(ResourceManager::SPRITE_SHADER);
}

std::optional<Vector4> SpriteRenderer::Extent(const Vector4& scale) const
{
    if (texture == nullptr || mesh == nullptr)
    {
        return std::nullopt;
    }
    // Divided before scaling, in this order: collider sizes depend on the exact float.
    return Vector4{
        static_cast<float>(texture->width) / static_cast<float>(std::max(1u, mesh->columns)) * scale.x,
        static_cast<float>(texture->height) / static_cast<float>(std::max(1u, mesh->rows)) * scale.y, 0.0f,
        0.0f};
}

void SpriteRenderer::BuildProperties()
{
    properties = {
        Property::Of("Opacity", &opacity), Property::Of("Texture", &texture),
        Property::Of("Tint", &tint),       Property::Of("Mesh", &mesh),
        Property::Of("Shader", &shader),   Property::Of("Receive Light", &receiveLight),
    };
}

std::unique_ptr<IComponent> SpriteRenderer::Clone() const
{
    auto copy = std::make_unique<SpriteRenderer>();
    copy->opacity = opacity;
    copy->texture = texture;
    copy->tint = tint;
    copy->mesh = mesh;
    copy->shader = shader;
    copy->receiveLight = receiveLight;
    copy->visible = visible;
    copy->texOffset = texOffset;
    copy->frame = frame;
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
