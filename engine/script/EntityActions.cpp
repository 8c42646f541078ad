#include "script/EntityActions.h"

#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/IPrefabSource.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "script/ActionSupport.h"
#include "script/ORINCompiler.h"
#include "script/ScriptSystem.h"

namespace Varn::Script
{

namespace
{

using ECS::IEntity;

const std::vector<IEntity*>& CurrentEntities(const ORINCompiler& compiler)
{
    return compiler.services.scenes.current->entities;
}

void SetLayer(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const float layer = compiler.references.Float(entity, params[0], 0, false, hit);
    IEntity* subject =
        params.size() == 2 ? compiler.references.Entity(entity, params[1], 1, false, hit).Get() : entity;
    const auto value = static_cast<uint32_t>(Truncated(layer));
    subject->layer = value;
    for (IEntity* descendant : subject->GetDescendants())
    {
        descendant->layer = value;
    }
}

void SetRoom(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const float room = compiler.references.Float(entity, params[0], 0, false, hit);
    entity->room = static_cast<uint32_t>(Truncated(room));
}

void SetActive(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const bool active = compiler.references.Bool(entity, params[0], 0, false, hit);
    IEntity* subject =
        params.size() == 2 ? compiler.references.Entity(entity, params[1], 1, false, hit).Get() : entity;
    subject->gameObjectActive = active;
}

void SetActiveChildren(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const bool active = compiler.references.Bool(entity, params[0], 0, false, hit);
    for (IEntity* descendant : entity->GetDescendants())
    {
        descendant->gameObjectActive = active;
    }
}

void ToggleComponent(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    // With a third parameter the name and flag are read relative to that entity; the
    // component switched is still the target's.
    IEntity* context =
        params.size() == 3 ? compiler.references.Entity(entity, params[2], 2, false, hit).Get() : entity;
    const std::string name = compiler.references.String(context, params[0], 0, false, hit);
    const bool enabled = compiler.references.Bool(context, params[1], 1, false, hit);
    ECS::IComponent* component = nullptr;
    if (name == "RigidBody")
    {
        component = entity->GetComponent<ECS::RigidBody>();
    }
    else if (name == "SpriteRenderer")
    {
        component = entity->GetComponent<ECS::SpriteRenderer>();
    }
    else if (name == "ScriptComponent")
    {
        component = entity->GetComponent<ECS::ScriptComponent>();
    }
    else if (name == "BoxCollider")
    {
        component = entity->GetComponent<ECS::BoxCollider2D>();
    }
    else if (name == "CircleCollider")
    {
        component = entity->GetComponent<ECS::CircleCollider2D>();
    }
    if (component != nullptr)
    {
        component->enabled = enabled;
    }
}

// Links `child` under `parent`, leaving its Transform as it is. A link that would make an
// entity its own ancestor would send every walk up the hierarchy round for ever: refused.
void Link(IEntity* child, IEntity* parent)
{
    if (WouldCycle(child, parent))
    {
        FailStatement();
    }
    child->parent = parent;
}

void AttachChild(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    IEntity* child =
        EntityWithId(CurrentEntities(compiler), compiler.references.Float(entity, params[0], 0, false, hit));
    if (child == nullptr)
    {
        FailStatement();
    }
    Link(child, entity);
}

void DetachParent(IEntity* entity, const Params&, ORINCompiler&, std::size_t)
{
    entity->parent = nullptr;
}

void SetParent(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    IEntity* parent = nullptr;
    try
    {
        parent = compiler.references.Entity(entity, params[0], 0, false, hit);
    }
    catch (const ScriptFailure&)
    {
        const ECS::Scene* scene = entity->scene != nullptr ? entity->scene : compiler.services.scenes.current;
        parent = EntityWithId(scene->entities, compiler.references.Float(entity, params[0], 0, false, hit));
        if (parent == nullptr)
        {
            FailStatement();
        }
    }
    IEntity* child =
        params.size() == 2 ? compiler.references.Entity(entity, params[1], 1, false, hit).Get() : entity;
    Link(child, parent);
}

void CreatePrefab(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    const std::string path = r.String(entity, params[0], 0, false, hit);
    ECS::IPrefabSource& loader = compiler.services.prefabs;
    if (params.size() == 2)
    {
        // At the target's world position; the second parameter is not read.
        const auto* transform = entity->GetComponent<ECS::Transform>();
        loader.LoadPrefab(path, transform != nullptr ? WorldPosition(*transform) : Vector4{});
        return;
    }
    const float x = r.Float(entity, params[1], 1, false, hit);
    const float y = r.Float(entity, params[2], 2, false, hit);
    const float z = r.Float(entity, params[3], 3, false, hit);
    const float rotation = params.size() > 4 ? r.Float(entity, params[4], 4, false, hit) : 0.0f;
    const float layer = params.size() > 5 ? r.Float(entity, params[5], 5, false, hit) : 0.0f;
    IEntity* created = loader.LoadPrefab(path, {x, y, z, 0.0f});
    if (created == nullptr)
    {
        return;
    }
    if (auto* transform = created->GetComponent<ECS::Transform>())
    {
        transform->position.x = x;
        transform->position.y = y;
        transform->position.z = z;
        transform->angle = {0.0f, 0.0f, rotation, 0.0f};
    }
    created->layer = static_cast<uint32_t>(Truncated(layer));
    if (params.size() == 7)
    {
        r.Entity(entity, params[6], 6, true, hit) = created;
    }
}

void Kill(IEntity* entity, const Params&, ORINCompiler& compiler, std::size_t)
{
    compiler.system.killList.push_back(entity);
}

} // namespace

void EntityActions::Register(ActionTable& table)
{
    table["SetLayer"] = {&SetLayer, Takes({1, 2})};
    table["SetRoom"] = {&SetRoom, Takes({1})};
    table["SetActive"] = {&SetActive, Takes({1, 2})};
    table["SetActiveChildren"] = {&SetActiveChildren, Takes({1})};
    table["ToggleComponent"] = {&ToggleComponent, Takes({2, 3}), "ToggleComponentAction"};
    table["AttachChild"] = {&AttachChild, Takes({1})};
    table["DetachParent"] = {&DetachParent, Takes({0})};
    table["SetParent"] = {&SetParent, Takes({1, 2})};
    table["CreatePrefab"] = {&CreatePrefab, Takes({2, 4, 5, 6, 7})};
    table["Kill"] = {&Kill, Takes({0, 1})};
    table["Oof"] = {&Kill, Takes({0, 1}), "Kill"};
}

} // namespace Varn::Script
