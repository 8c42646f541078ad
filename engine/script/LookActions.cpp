#include "script/LookActions.h"

#include "core/Logger.h"
#include "ecs/Animator.h"
#include "ecs/IPrefabSource.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/SpriteRenderer.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/LayerFramebuffer.h"
#include "graphics/LayerFramebuffers.h"
#include "resource/ResourceManager.h"
#include "script/ActionSupport.h"
#include "script/ORINCompiler.h"

namespace Varn::Script
{

namespace
{

using ECS::Animator;
using ECS::IEntity;
using ECS::SpriteRenderer;

// "SetAnimation Run" or, with the name split over words, "SetAnimation Jump Start".
void SetAnimation(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (auto* animator = NeededComponent<Animator>(compiler, entity, "Animator"))
    {
        animator->SetAnimation(JoinedWords(compiler.references, entity, params, hit));
    }
}

void SetAnimationSpeed(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (auto* animator = NeededComponent<Animator>(compiler, entity, "Animator"))
    {
        animator->secondsPerFrame = compiler.references.Float(entity, params[0], 0, false, hit);
    }
}

void PlayAnimation(IEntity* entity, const Params&, ORINCompiler& compiler, std::size_t)
{
    auto* animator = NeededComponent<Animator>(compiler, entity, "Animator");
    if (animator != nullptr && animator->currentAnimation != nullptr)
    {
        animator->currentAnimation->currentFrame = animator->currentAnimation->startFrame;
    }
}

void SetSprite(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (auto* renderer = NeededComponent<SpriteRenderer>(compiler, entity, "SpriteRenderer"))
    {
        const std::string path = compiler.references.String(entity, params[0], 0, false, hit);
        renderer->texture = compiler.services.resources.LoadTexture(path);
    }
}

void SetMesh(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (auto* renderer = NeededComponent<SpriteRenderer>(compiler, entity, "SpriteRenderer"))
    {
        Resource::Mesh2D* mesh = compiler.services.resources.FindMesh(
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
    if (auto* renderer = NeededComponent<SpriteRenderer>(compiler, entity, "SpriteRenderer"))
    {
        References& r = compiler.references;
        renderer->tint = {
            r.Float(entity, params[0], 0, false, hit), r.Float(entity, params[1], 1, false, hit),
            r.Float(entity, params[2], 2, false, hit), r.Float(entity, params[3], 3, false, hit)};
    }
}

void SetOpacity(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (auto* renderer = NeededComponent<SpriteRenderer>(compiler, entity, "SpriteRenderer"))
    {
        renderer->opacity = compiler.references.Float(entity, params[0], 0, false, hit);
    }
}

void Flip(bool ECS::Transform::*flag, IEntity* entity, const Params& params, ORINCompiler& compiler,
          std::size_t hit)
{
    const bool flip = compiler.references.Bool(entity, params[0], 0, false, hit);
    if (ECS::Transform* transform = TransformFor(compiler, entity))
    {
        transform->*flag = flip;
    }
}

void FlipX(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    Flip(&ECS::Transform::flipX, entity, params, compiler, hit);
}

void FlipY(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    Flip(&ECS::Transform::flipY, entity, params, compiler, hit);
}

Graphics::LayerFramebuffer* LayerOf(IEntity* entity, const ScriptParam& param, ORINCompiler& compiler,
                                    std::size_t hit)
{
    const int64_t layer = Truncated(compiler.references.Float(entity, param, 0, false, hit));
    return compiler.services.layers.Get(static_cast<int32_t>(layer));
}

// "BlurLayer 2 false" blurs layer 2 at half opacity; "BlurLayer 2 true" only darkens it.
void BlurLayer(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const bool dim = compiler.references.Bool(entity, params[1], 1, false, hit);
    LayerOf(entity, params[0], compiler, hit)
        ->ApplyEffect(dim ? Graphics::LAYER_EFFECT::DIM : Graphics::LAYER_EFFECT::BLUR);
}

void ResetLayerEffect(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    LayerOf(entity, params[0], compiler, hit)->ApplyEffect(Graphics::LAYER_EFFECT::RESET);
}

void SetLighting(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const bool on = compiler.references.Bool(entity, params[0], 0, false, hit);
    compiler.services.scenes.current->graphicsSystem->lightingEnabled = on;
}

// Turns every emitter of the instance by `angle`; false when the instance has none.
bool TurnEmitters(IEntity* created, float angle)
{
    bool found = false;
    std::vector<IEntity*> family = created->GetDescendants();
    family.insert(family.begin(), created);
    for (IEntity* member : family)
    {
        if (auto* emitter = member->GetComponent<ECS::ParticleEmitter>())
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
    References& r = compiler.references;
    const std::string path = r.String(entity, params[0], 0, false, hit);
    Vector4 at{};
    float angle = 0.0f;
    if (params.size() == 2)
    {
        const auto* transform = entity->GetComponent<ECS::Transform>();
        at = transform != nullptr ? WorldPosition(*transform) : Vector4{};
    }
    else
    {
        at = {r.Float(entity, params[1], 1, false, hit), r.Float(entity, params[2], 2, false, hit),
              r.Float(entity, params[3], 3, false, hit), 0.0f};
        angle = params.size() == 5 ? r.Float(entity, params[4], 4, false, hit) : 0.0f;
    }
    const Services& engine = compiler.services;
    IEntity* created = engine.prefabs.LoadPrefab(path, at);
    // A prefab that cannot be read has been reported by the loader already.
    if (created != nullptr && !TurnEmitters(created, angle))
    {
        engine.logger.Log("Not a particle, but spawned anyways.", Logger::WARNING);
    }
}

} // namespace

void LookActions::Register(ActionTable& table)
{
    table["SetAnimation"] = {&SetAnimation, TakesAtLeast(1)};
    table["SetAnimationSpeed"] = {&SetAnimationSpeed, Takes({1})};
    table["PlayAnimation"] = {&PlayAnimation, Takes({0})};
    table["SetSprite"] = {&SetSprite, Takes({1})};
    table["SetMesh"] = {&SetMesh, Takes({1})};
    table["SetTint"] = {&SetTint, Takes({4})};
    table["SetOpacity"] = {&SetOpacity, Takes({1})};
    table["FlipX"] = {&FlipX, Takes({1})};
    table["FlipY"] = {&FlipY, Takes({1})};
    table["BlurLayer"] = {&BlurLayer, Takes({2})};
    table["ResetLayerEffect"] = {&ResetLayerEffect, Takes({1})};
    table["SetLighting"] = {&SetLighting, Takes({1})};
    table["CreateParticle"] = {&CreateParticle, Takes({2, 4, 5})};
}

} // namespace Varn::Script
