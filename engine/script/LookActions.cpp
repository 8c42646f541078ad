#include "script/LookActions.h"

#include "core/Engine.h"
#include "core/Scene.h"
#include "core/SceneStack.h"
#include "ecs/Animator.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/SpriteRenderer.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/LayerFramebuffer.h"
#include "resource/ResourceManager.h"
#include "scene/JSONManager.h"
#include "script/ActionSupport.h"
#include "script/ORINCompiler.h"

namespace Varn::System
{

namespace
{

using Component::Animator;
using Component::SpriteRenderer;
using ECS::IEntity;

bool CountIs(const char* keyword, IEntity* entity, const Params& params, std::size_t count)
{
    if (params.size() != count)
    {
        References::InvalidParameters(keyword, entity);
        return false;
    }
    return true;
}

// "SetAnimation Run" or, with the name split over words, "SetAnimation Jump Start".
void SetAnimation(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (params.empty())
    {
        References::InvalidParameters("SetAnimation", entity);
        return;
    }
    if (auto* animator = NeededComponent<Animator>(entity, "Animator"))
    {
        animator->SetAnimation(JoinedWords(compiler.references, entity, params, hit));
    }
}

void SetAnimationSpeed(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (!CountIs("SetAnimationSpeed", entity, params, 1))
    {
        return;
    }
    if (auto* animator = NeededComponent<Animator>(entity, "Animator"))
    {
        animator->secondsPerFrame = compiler.references.Float(entity, params[0], 0, false, hit);
    }
}

void PlayAnimation(IEntity* entity, const Params& params, ORINCompiler&, std::size_t)
{
    if (!CountIs("PlayAnimation", entity, params, 0))
    {
        return;
    }
    auto* animator = NeededComponent<Animator>(entity, "Animator");
    if (animator != nullptr && animator->currentAnimation != nullptr)
    {
        animator->currentAnimation->currentFrame = animator->currentAnimation->startFrame;
    }
}

void SetSprite(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (!CountIs("SetSprite", entity, params, 1))
    {
        return;
    }
    if (auto* renderer = NeededComponent<SpriteRenderer>(entity, "SpriteRenderer"))
    {
        const std::string path = compiler.references.String(entity, params[0], 0, false, hit);
        renderer->texture = Engine::Instance().resources->LoadTexture(path);
    }
}

void SetMesh(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (!CountIs("SetMesh", entity, params, 1))
    {
        return;
    }
    if (auto* renderer = NeededComponent<SpriteRenderer>(entity, "SpriteRenderer"))
    {
        Resource::Mesh2D* mesh = Engine::Instance().resources->FindMesh(
            compiler.references.String(entity, params[0], 0, false, hit));
        if (mesh == nullptr)
        {
            FailStatement();
        }
        renderer->mesh = mesh;
    }
}

void SetTint(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (!CountIs("SetTint", entity, params, 4))
    {
        return;
    }
    if (auto* renderer = NeededComponent<SpriteRenderer>(entity, "SpriteRenderer"))
    {
        References& r = compiler.references;
        renderer->tint = {
            r.Float(entity, params[0], 0, false, hit), r.Float(entity, params[1], 1, false, hit),
            r.Float(entity, params[2], 2, false, hit), r.Float(entity, params[3], 3, false, hit)};
    }
}

void SetOpacity(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (!CountIs("SetOpacity", entity, params, 1))
    {
        return;
    }
    if (auto* renderer = NeededComponent<SpriteRenderer>(entity, "SpriteRenderer"))
    {
        renderer->opacity = compiler.references.Float(entity, params[0], 0, false, hit);
    }
}

void Flip(const char* keyword, bool Component::Transform::*flag, IEntity* entity, const Params& params,
          ORINCompiler& compiler, std::size_t hit)
{
    if (!CountIs(keyword, entity, params, 1))
    {
        return;
    }
    const bool flip = compiler.references.Bool(entity, params[0], 0, false, hit);
    if (Component::Transform* transform = TransformFor(entity))
    {
        transform->*flag = flip;
    }
}

void FlipX(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    Flip("FlipX", &Component::Transform::flipX, entity, params, compiler, hit);
}

void FlipY(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    Flip("FlipY", &Component::Transform::flipY, entity, params, compiler, hit);
}

Graphics::LayerFramebuffer* LayerOf(IEntity* entity, const ScriptParam& param, ORINCompiler& compiler,
                                    std::size_t hit)
{
    const int64_t layer = Truncated(compiler.references.Float(entity, param, 0, false, hit));
    return Engine::Instance().GetLayerFramebuffer(static_cast<int32_t>(layer));
}

// "BlurLayer 2 false" blurs layer 2 at half opacity; "BlurLayer 2 true" only darkens it.
void BlurLayer(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (!CountIs("BlurLayer", entity, params, 2))
    {
        return;
    }
    const bool dim = compiler.references.Bool(entity, params[1], 1, false, hit);
    LayerOf(entity, params[0], compiler, hit)
        ->ApplyEffect(dim ? Graphics::LAYER_EFFECT::DIM : Graphics::LAYER_EFFECT::BLUR);
}

void ResetLayerEffect(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (CountIs("ResetLayerEffect", entity, params, 1))
    {
        LayerOf(entity, params[0], compiler, hit)->ApplyEffect(Graphics::LAYER_EFFECT::RESET);
    }
}

void SetLighting(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (CountIs("SetLighting", entity, params, 1))
    {
        const bool on = compiler.references.Bool(entity, params[0], 0, false, hit);
        Engine::Instance().scenes->current->graphicsSystem->lightingEnabled = on;
    }
}

// Turns every emitter of the instance by `angle`; false when the instance has none.
bool TurnEmitters(IEntity* created, float angle)
{
    bool found = false;
    std::vector<IEntity*> family = created->GetDescendants();
    family.insert(family.begin(), created);
    for (IEntity* member : family)
    {
        if (auto* emitter = member->GetComponent<Component::ParticleEmitter>())
        {
            emitter->direction += angle;
            found = true;
        }
    }
    return found;
}

// "CreateParticle <prefab> x" at the target, or "CreateParticle <prefab> x y z [angle]".
void CreateParticle(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (params.size() != 2 && params.size() != 4 && params.size() != 5)
    {
        References::InvalidParameters("CreateParticle", entity);
        return;
    }
    References& r = compiler.references;
    const std::string path = r.String(entity, params[0], 0, false, hit);
    Math::Vector4 at{};
    float angle = 0.0f;
    if (params.size() == 2)
    {
        const auto* transform = entity->GetComponent<Component::Transform>();
        at = transform != nullptr ? WorldPosition(*transform) : Math::Vector4{};
    }
    else
    {
        at = {r.Float(entity, params[1], 1, false, hit), r.Float(entity, params[2], 2, false, hit),
              r.Float(entity, params[3], 3, false, hit), 0.0f};
        angle = params.size() == 5 ? r.Float(entity, params[4], 4, false, hit) : 0.0f;
    }
    Engine& engine = Engine::Instance();
    IEntity* created = engine.jsonManager->LoadPrefab(path, at);
    // A prefab that cannot be read has been reported by the loader already.
    if (created != nullptr && !TurnEmitters(created, angle))
    {
        engine.logger.Log("Not a particle, but spawned anyways.");
    }
}

} // namespace

void LookActions::Register(ActionTable& table)
{
    table["SetAnimation"] = &SetAnimation;
    table["SetAnimationSpeed"] = &SetAnimationSpeed;
    table["PlayAnimation"] = &PlayAnimation;
    table["SetSprite"] = &SetSprite;
    table["SetMesh"] = &SetMesh;
    table["SetTint"] = &SetTint;
    table["SetOpacity"] = &SetOpacity;
    table["FlipX"] = &FlipX;
    table["FlipY"] = &FlipY;
    table["BlurLayer"] = &BlurLayer;
    table["ResetLayerEffect"] = &ResetLayerEffect;
    table["SetLighting"] = &SetLighting;
    table["CreateParticle"] = &CreateParticle;
}

} // namespace Varn::System
