#include "script/References.h"

#include "core/InputManager.h"
#include "core/Logger.h"
#include "core/Random.h"
#include "core/Timer.h"
#include "core/Window.h"
#include "ecs/Animator.h"
#include "ecs/Camera.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/LoadProgress.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "graphics/CameraSystem.h"
#include "resource/Texture2D.h"
#include "script/GlobalVariables.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace Varn::Script
{

namespace
{

[[noreturn]] void Fail()
{
    throw ScriptFailure{FAILED_REFERENCE};
}

ECS::Transform& TransformOf(const References& references, ECS::IEntity* entity)
{
    auto* transform = entity->GetComponent<ECS::Transform>();
    if (transform == nullptr)
    {
        references.MissingComponent("Transform", entity);
        Fail();
    }
    return *transform;
}

template <typename T> T& Needed(const References& references, ECS::IEntity* entity, const char* name)
{
    T* component = entity->GetComponent<T>();
    if (component == nullptr)
    {
        references.MissingComponent(name, entity);
        Fail();
    }
    return *component;
}

template <typename Map, typename Value>
auto& Variable(Map& map, const std::string& name, bool create, const Value& initial)
{
    auto found = map.find(name);
    if (found == map.end())
    {
        if (!create)
        {
            Fail();
        }
        found = map.emplace(name, initial).first;
    }
    return found->second;
}

ECS::Scene* SceneOf(const ECS::IEntity* entity, const ECS::SceneStack& scenes)
{
    return entity->scene != nullptr ? entity->scene : scenes.current;
}

} // namespace

ECS::ScriptComponent& References::ScriptOf(ECS::IEntity* entity) const
{
    if (entity == running)
    {
        return *runningScript;
    }
    return LocalScript(entity);
}

ECS::ScriptComponent& LocalScript(ECS::IEntity* entity)
{
    auto* script = entity->GetComponent<ECS::ScriptComponent>();
    if (script == nullptr)
    {
        Fail();
    }
    return *script;
}
template <typename Map, typename Value>
typename Map::mapped_type& References::Cached(const ValueReference& reference, ECS::ScriptComponent* holder,
                                              const void* owner, uint64_t version, Map& map, bool create,
                                              const Value& initial)
{
    // Only the holder's own program numbers its cache; other references look the name up.
    if (holder == nullptr || holder->programId != reference.program ||
        reference.cacheIndex >= holder->referenceCache.size())
    {
        return Variable(map, reference.name, create, initial);
    }
    ECS::StorageCache& cache = holder->referenceCache[reference.cacheIndex];
    if (cache.owner == owner && cache.version == version)
    {
        return *static_cast<typename Map::mapped_type*>(cache.value);
    }
    auto& value = Variable(map, reference.name, create, initial);
    cache = {owner, version, &value};
    return value;
}

References::References(GlobalVariables& globals_, const float& timeStep_, const Services& services_)
    : globals(globals_), timeStep(timeStep_), services(services_)
{
}

void References::InvalidParameters(const std::string& name, const ECS::IEntity* entity) const
{
    services.logger.Log("Invalid " + name + " parameters in " + entity->name + ".", Logger::ERROR);
}

void References::MissingComponent(const std::string& component, const ECS::IEntity* entity) const
{
    services.logger.Log("Missing " + component + " component in " + entity->name + ".", Logger::ERROR);
}

void References::RefreshCachedEntities()
{
    ECS::Scene* scene = services.scenes.current;
    player = scene != nullptr ? ECS::EntityManager::FindByName(scene->entities, "Player") : nullptr;
    mainCamera = scene != nullptr ? scene->mainCamera : nullptr;
}

// Only the references that read the cache look it up again while no player is known; that
// gives the same entities as refreshing on every resolve, without a scene search per value.
void References::EnsureCachedEntities()
{
    if (player == nullptr)
    {
        RefreshCachedEntities();
    }
}

std::size_t References::Index(ECS::IEntity* context, bool lastIndex, const ValueReference* index,
                              std::size_t size, int slot, std::size_t hit)
{
    if (lastIndex)
    {
        if (size == 0)
        {
            Fail();
        }
        return size - 1;
    }
    const float value = index != nullptr ? FloatOf(context, *index, slot, false, hit) : 0.0f;
    if (!(value >= 0.0f) || static_cast<double>(value) >= static_cast<double>(size))
    {
        Fail();
    }
    return static_cast<std::size_t>(value);
}

ECS::EntityHandle& References::Entity(ECS::IEntity* context, const EntityReference& reference, int slot,
                                      bool create, std::size_t hit)
{
    ECS::EntityHandle& scratch = entitySlots[slot];
    ECS::EntityHandle* result = &scratch;
    bool variable = false; // names a variable or element an action may assign to
    switch (reference.source)
    {
    case ENTITY_SOURCE::SELF:
        scratch = context;
        break;
    case ENTITY_SOURCE::COLLISION_HIT:
    case ENTITY_SOURCE::TRIGGER_HIT:
    case ENTITY_SOURCE::RAYCAST_HIT:
    {
        const auto* script = context->GetComponent<ECS::ScriptComponent>();
        const std::vector<ECS::IEntity*>* hits = nullptr;
        if (script != nullptr)
        {
            hits = reference.source == ENTITY_SOURCE::COLLISION_HIT ? &script->collisionHits
                   : reference.source == ENTITY_SOURCE::TRIGGER_HIT ? &script->triggerHits
                                                                    : &script->raycastHits;
        }
        scratch = hits != nullptr && hit < hits->size() ? (*hits)[hit] : nullptr;
        break;
    }
    case ENTITY_SOURCE::PLAYER:
        EnsureCachedEntities();
        scratch = player;
        break;
    case ENTITY_SOURCE::MAIN_CAMERA:
        EnsureCachedEntities();
        scratch = mainCamera;
        break;
    case ENTITY_SOURCE::ARRAY_ELEMENT:
    {
        auto& arrays = ScriptOf(context).entityArrays;
        auto found = arrays.find(reference.name);
        if (found == arrays.end())
        {
            Fail();
        }
        const std::size_t index =
            Index(context, reference.lastIndex, reference.index.get(), found->second.size(), slot, hit);
        result = &found->second[index];
        variable = true;
        break;
    }
    case ENTITY_SOURCE::NAMED:
    {
        auto* script = context->GetComponent<ECS::ScriptComponent>();
        if (script != nullptr)
        {
            if (auto found = script->entityList.find(reference.name); found != script->entityList.end())
            {
                result = &found->second;
                variable = true;
                break;
            }
        }
        scratch = ECS::EntityManager::FindByName(SceneOf(context, services.scenes)->entities, reference.name);
        break;
    }
    case ENTITY_SOURCE::CHILD:
        scratch = context->GetChild(reference.child);
        break;
    case ENTITY_SOURCE::NONE:
        Fail();
    }
    if (*result == nullptr && !(create && variable))
    {
        services.logger.Log("[ERROR]Cannot find Entity " + reference.text);
        Fail();
    }
    return *result;
}

ECS::IEntity* References::FieldEntity(ECS::IEntity* context, const EntityReference& reference, int slot,
                                      std::size_t hit)
{
    if (reference.source == ENTITY_SOURCE::COLLISION_HIT || reference.source == ENTITY_SOURCE::TRIGGER_HIT ||
        reference.source == ENTITY_SOURCE::RAYCAST_HIT)
    {
        const auto* script = context->GetComponent<ECS::ScriptComponent>();
        if (script == nullptr)
        {
            return nullptr;
        }
        const auto& hits = reference.source == ENTITY_SOURCE::COLLISION_HIT ? script->collisionHits
                           : reference.source == ENTITY_SOURCE::TRIGGER_HIT ? script->triggerHits
                                                                            : script->raycastHits;
        return hit < hits.size() ? hits[hit] : nullptr;
    }
    return Entity(context, reference, slot, false, hit);
}

float& References::FloatOf(ECS::IEntity* context, const ValueReference& reference, int slot, bool create,
                           std::size_t hit)
{
    float& scratch = floatSlots[slot];
    switch (reference.source)
    {
    case VALUE_SOURCE::LITERAL:
        scratch = reference.number;
        return scratch;
    case VALUE_SOURCE::GLOBAL:
        return Cached(reference, runningScript, &globals, globals.version, globals.floats, false, 0.0f);
    case VALUE_SOURCE::LOCAL:
    {
        ECS::ScriptComponent& script = ScriptOf(context);
        return Cached(reference, &script, &script, script.variablesVersion, script.floatList, create, 0.0f);
    }
    case VALUE_SOURCE::ARRAY_ELEMENT:
    {
        auto& arrays = ScriptOf(context).floatArrays;
        auto found = arrays.find(reference.name);
        if (found == arrays.end())
        {
            Fail();
        }
        return found->second[Index(context, reference.lastIndex, reference.index.get(), found->second.size(),
                                   slot, hit)];
    }
    case VALUE_SOURCE::COUNT:
    {
        const auto& script = ScriptOf(context);
        scratch = 0.0f;
        if (auto b = script.boolArrays.find(reference.name); b != script.boolArrays.end())
        {
            scratch = static_cast<float>(b->second.size());
        }
        else if (auto f = script.floatArrays.find(reference.name); f != script.floatArrays.end())
        {
            scratch = static_cast<float>(f->second.size());
        }
        else if (auto s = script.stringArrays.find(reference.name); s != script.stringArrays.end())
        {
            scratch = static_cast<float>(s->second.size());
        }
        else if (auto e = script.entityArrays.find(reference.name); e != script.entityArrays.end())
        {
            scratch = static_cast<float>(e->second.size());
        }
        return scratch;
    }
    case VALUE_SOURCE::FIELD:
    {
        ECS::IEntity* entity = FieldEntity(context, *reference.entity, slot, hit);
        if (entity == nullptr)
        {
            scratch = 0.0f;
            return scratch;
        }
        if (reference.field == FIELD::VARIABLE)
        {
            ECS::ScriptComponent& script = ScriptOf(entity);
            return Cached(reference, &script, &script, script.variablesVersion, script.floatList, create,
                          0.0f);
        }
        scratch = ReadFloatField(entity, reference.field);
        return scratch;
    }
    case VALUE_SOURCE::ENGINE:
        scratch = EngineFloat(reference.engineValue);
        return scratch;
    case VALUE_SOURCE::FAIL:
        break;
    }
    Fail();
}

float References::ReadFloatField(ECS::IEntity* entity, FIELD field) const
{
    switch (field)
    {
    case FIELD::TAG:
        return static_cast<float>(entity->tags);
    case FIELD::ID:
        return static_cast<float>(entity->id);
    case FIELD::ROOM:
        return static_cast<float>(entity->room);
    case FIELD::LAYER:
        return static_cast<float>(entity->layer);
    case FIELD::POS_X:
        return TransformOf(*this, entity).worldMatrix.m[0][3];
    case FIELD::POS_Y:
        return TransformOf(*this, entity).worldMatrix.m[1][3];
    case FIELD::POS_Z:
        return TransformOf(*this, entity).worldMatrix.m[2][3];
    case FIELD::LPOS_X:
        return TransformOf(*this, entity).position.x;
    case FIELD::LPOS_Y:
        return TransformOf(*this, entity).position.y;
    case FIELD::LPOS_Z:
        return TransformOf(*this, entity).position.z;
    case FIELD::SCALE_X:
        return TransformOf(*this, entity).scale.x;
    case FIELD::SCALE_Y:
        return TransformOf(*this, entity).scale.y;
    case FIELD::SCALE_Z:
        return TransformOf(*this, entity).scale.z;
    case FIELD::ROT_X:
        return TransformOf(*this, entity).angle.x;
    case FIELD::ROT_Y:
        return TransformOf(*this, entity).angle.y;
    case FIELD::ROT_Z:
        return TransformOf(*this, entity).angle.z;
    case FIELD::CIRCLE_RADIUS:
    {
        const auto& circle = Needed<ECS::CircleCollider2D>(*this, entity, "CircleCollider");
        const auto& sprite = Needed<ECS::SpriteRenderer>(*this, entity, "SpriteRenderer");
        const float width = sprite.texture != nullptr ? static_cast<float>(sprite.texture->width) : 0.0f;
        return width * circle.radiusScale * 0.5f;
    }
    case FIELD::VEL_X:
        return Needed<ECS::RigidBody>(*this, entity, "RigidBody").velocity.x;
    case FIELD::VEL_Y:
        return Needed<ECS::RigidBody>(*this, entity, "RigidBody").velocity.y;
    case FIELD::MASS:
        return Needed<ECS::RigidBody>(*this, entity, "RigidBody").mass;
    case FIELD::CAM_X:
        Needed<ECS::Camera>(*this, entity, "Camera");
        return TransformOf(*this, entity).position.x;
    case FIELD::CAM_Y:
        Needed<ECS::Camera>(*this, entity, "Camera");
        return TransformOf(*this, entity).position.y;
    case FIELD::CAM_ZOOM:
        return Needed<ECS::Camera>(*this, entity, "Camera").zoom;
    case FIELD::ANIM_FRAME:
    {
        const auto& animator = Needed<ECS::Animator>(*this, entity, "Animator");
        return animator.currentAnimation != nullptr
                   ? static_cast<float>(animator.currentAnimation->currentFrame)
                   : 0.0f;
    }
    default:
        break;
    }
    Fail();
}

float References::EngineFloat(ENGINE_VALUE value)
{
    const Services& engine = services;
    const InputManager& input = engine.input;
    switch (value)
    {
    case ENGINE_VALUE::MOUSE_X:
    case ENGINE_VALUE::MOUSE_Y:
    {
        const float raw = static_cast<float>(value == ENGINE_VALUE::MOUSE_X ? input.mousePosition.x
                                                                            : input.mousePosition.y);
        // Cursor pixels to world units, whatever the window's size.
        return raw / Graphics::CameraSystem::PixelsPerUnit(engine.window);
    }
    case ENGINE_VALUE::MOUSE_DELTA_X:
        return static_cast<float>(input.mouseDelta.x);
    case ENGINE_VALUE::MOUSE_DELTA_Y:
        return static_cast<float>(input.mouseDelta.y);
    case ENGINE_VALUE::MOUSE_WORLD_X:
    case ENGINE_VALUE::MOUSE_WORLD_Y:
    {
        EnsureCachedEntities();
        if (mainCamera == nullptr)
        {
            Fail();
        }
        const bool x = value == ENGINE_VALUE::MOUSE_WORLD_X;
        const float mouse = EngineFloat(x ? ENGINE_VALUE::MOUSE_X : ENGINE_VALUE::MOUSE_Y);
        const float zoom = Needed<ECS::Camera>(*this, mainCamera, "Camera").zoom;
        const ECS::Transform& transform = TransformOf(*this, mainCamera);
        return mouse * zoom + (x ? transform.position.x : transform.position.y);
    }
    case ENGINE_VALUE::TIME_DELTA:
        return timeStep;
    case ENGINE_VALUE::TIME_FIXED_DELTA:
        return FIXED_DELTA;
    case ENGINE_VALUE::TIME_SCALE:
        return engine.timer.timeScale;
    case ENGINE_VALUE::RANDOM:
        return engine.random.Range(0.0f, 1.0f);
    case ENGINE_VALUE::LOAD_CURRENT:
        return static_cast<float>(engine.loading.progress);
    case ENGINE_VALUE::LOAD_TOTAL:
        return static_cast<float>(engine.loading.progressTotal);
    case ENGINE_VALUE::LEFT_STICK_X:
        return input.leftStick.x;
    case ENGINE_VALUE::LEFT_STICK_Y:
        return input.leftStick.y;
    case ENGINE_VALUE::RIGHT_STICK_X:
        return input.rightStick.x;
    case ENGINE_VALUE::RIGHT_STICK_Y:
        return input.rightStick.y;
    case ENGINE_VALUE::LEFT_TRIGGER:
        return input.leftTrigger;
    case ENGINE_VALUE::RIGHT_TRIGGER:
        return input.rightTrigger;
    case ENGINE_VALUE::INPUT_KEY:
        return static_cast<float>(input.PressedKey());
    }
    Fail();
}

bool& References::BoolOf(ECS::IEntity* context, const ValueReference& reference, int slot, bool create,
                         std::size_t hit)
{
    bool& scratch = boolSlots[slot];
    switch (reference.source)
    {
    case VALUE_SOURCE::LITERAL:
        scratch = reference.boolean;
        return scratch;
    case VALUE_SOURCE::GLOBAL:
        return Cached(reference, runningScript, &globals, globals.version, globals.bools, false, false);
    case VALUE_SOURCE::LOCAL:
    {
        ECS::ScriptComponent& script = ScriptOf(context);
        return Cached(reference, &script, &script, script.variablesVersion, script.boolList, create, false);
    }
    case VALUE_SOURCE::ARRAY_ELEMENT:
    {
        auto& arrays = ScriptOf(context).boolArrays;
        auto found = arrays.find(reference.name);
        if (found == arrays.end())
        {
            Fail();
        }
        return found->second[Index(context, reference.lastIndex, reference.index.get(), found->second.size(),
                                   slot, hit)];
    }
    case VALUE_SOURCE::FIELD:
    {
        ECS::IEntity* entity = FieldEntity(context, *reference.entity, slot, hit);
        scratch = false;
        if (entity == nullptr)
        {
            return scratch;
        }
        switch (reference.field)
        {
        case FIELD::VARIABLE:
        {
            ECS::ScriptComponent& script = ScriptOf(entity);
            return Cached(reference, &script, &script, script.variablesVersion, script.boolList, create,
                          false);
        }
        case FIELD::ACTIVE:
            scratch = entity->gameObjectActive;
            return scratch;
        case FIELD::FLIP_X:
            scratch = TransformOf(*this, entity).flipX;
            return scratch;
        case FIELD::FLIP_Y:
            scratch = TransformOf(*this, entity).flipY;
            return scratch;
        case FIELD::GROUNDED:
            scratch = Needed<ECS::RigidBody>(*this, entity, "RigidBody").grounded;
            return scratch;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    Fail();
}

std::string& References::StringOf(ECS::IEntity* context, const ValueReference& reference, int slot,
                                  bool create, std::size_t hit)
{
    std::string& scratch = stringSlots[slot];
    switch (reference.source)
    {
    case VALUE_SOURCE::LITERAL:
        scratch = reference.name;
        return scratch;
    case VALUE_SOURCE::GLOBAL:
        return Cached(reference, runningScript, &globals, globals.version, globals.strings, false,
                      std::string());
    case VALUE_SOURCE::LOCAL:
    {
        ECS::ScriptComponent& script = ScriptOf(context);
        return Cached(reference, &script, &script, script.variablesVersion, script.stringList, create,
                      std::string());
    }
    case VALUE_SOURCE::ARRAY_ELEMENT:
    {
        auto& arrays = ScriptOf(context).stringArrays;
        auto found = arrays.find(reference.name);
        if (found == arrays.end())
        {
            Fail();
        }
        return found->second[Index(context, reference.lastIndex, reference.index.get(), found->second.size(),
                                   slot, hit)];
    }
    case VALUE_SOURCE::ENGINE:
    {
        const ECS::LoadProgress& loader = services.loading;
        scratch = std::to_string(reference.engineValue == ENGINE_VALUE::LOAD_CURRENT ? loader.progress
                                                                                     : loader.progressTotal);
        return scratch;
    }
    case VALUE_SOURCE::FIELD:
    {
        ECS::IEntity* entity = FieldEntity(context, *reference.entity, slot, hit);
        scratch.clear();
        if (entity == nullptr)
        {
            return scratch;
        }
        switch (reference.field)
        {
        case FIELD::VARIABLE:
        {
            ECS::ScriptComponent& script = ScriptOf(entity);
            return Cached(reference, &script, &script, script.variablesVersion, script.stringList, create,
                          std::string());
        }
        case FIELD::NAME:
            scratch = entity->name;
            return scratch;
        case FIELD::ANIM_NAME:
        {
            const auto& animator = Needed<ECS::Animator>(*this, entity, "Animator");
            scratch = animator.currentAnimation != nullptr ? animator.currentAnimation->name : std::string();
            return scratch;
        }
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    Fail();
}

} // namespace Varn::Script
