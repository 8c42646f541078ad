#include "script/ScriptSystem.h"

#include "core/Clock.h"
#include "core/Logger.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/ScriptComponent.h"
#include "script/Events.h"

#include <algorithm>

namespace Varn::Script
{

ScriptSystem::ScriptSystem(ECS::Scene* scene_, const Services& services_)
    : ISystem(scene_, services_), compiler(*this, services_)
{
    Need<ECS::ScriptComponent>();
}

ScriptSystem::~ScriptSystem()
{
    compiler.globals.Save();
}

void ScriptSystem::CompileEntity(ECS::IEntity* entity)
{
    compiler.Compile(entity, true);
}

void ScriptSystem::CompileScene()
{
    compiler.references.RefreshCachedEntities();
    compiler.ForgetPrograms();
    for (ECS::IEntity* entity : scene->entities)
    {
        compiler.Compile(entity, false);
    }
}

void ScriptSystem::Update(const float& dt)
{
    const int64_t startTicks = NowTicks();
    updateStartTicks = startTicks;
    timeStep = dt;

    // Every entity's scripts; an entity added by a script joins the walk at the end.
    for (std::size_t i = 0; i < entities.size(); ++i)
    {
        RunEntity(entities[i]);
    }
    lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - startTicks) / 1e7);
}

void ScriptSystem::RemoveKilled()
{
    for (ECS::IEntity* entity : killList)
    {
        // An entity a scene switch already removed is free in the pool; leave it alone.
        ECS::Scene* owner = entity->scene;
        if (owner != nullptr &&
            std::find(owner->entities.begin(), owner->entities.end(), entity) != owner->entities.end())
        {
            owner->RemoveEntity(entity, true);
        }
    }
    killList.clear();
}

void ScriptSystem::RunEntity(ECS::IEntity* entity)
{
    const ECS::IEntity* camera = scene->mainCamera;
    if (camera != nullptr && camera->room != 0 && entity->room != 0 && camera->room != entity->room)
    {
        return;
    }
    auto* script = entity->GetComponent<ECS::ScriptComponent>();
    if (script == nullptr || !script->IsActive())
    {
        return;
    }
    compiler.references.SetRunning(entity, script);
    try
    {
        // Held for the pass: an action may recompile this entity and replace its program.
        const std::shared_ptr<const ScriptProgram> program = script->program;
        for (std::size_t e = 0; program != nullptr && e < program->events.size(); ++e)
        {
            const CompiledEvent& event = program->events[e];
            script->rawCollisions.clear();
            script->rawTriggers.clear();
            script->rawRaycasts.clear();
            script->collisionHits.clear();
            script->triggerHits.clear();
            script->raycastHits.clear();

            // Every trigger is evaluated, so each contact trigger leaves its hits behind.
            bool fired = false;
            for (const ScriptStatement& trigger : event.triggers)
            {
                if (!script->initialized && trigger.onEvent != &Events::Initialize)
                {
                    continue;
                }
                if (!trigger.countAccepted)
                {
                    compiler.references.InvalidParameters(trigger.countName, entity);
                    continue;
                }
                try
                {
                    fired = trigger.onEvent(entity, trigger.params, compiler) || fired;
                }
                catch (ScriptFailure& failure)
                {
                    failure.statement = failure.statement != nullptr ? failure.statement : &trigger;
                    throw;
                }
            }
            if (!fired)
            {
                continue;
            }
            std::size_t repetitions = 1;
            if (!script->collisionHits.empty())
            {
                repetitions = script->collisionHits.size();
            }
            else if (!script->triggerHits.empty())
            {
                repetitions = script->triggerHits.size();
            }
            else if (!script->raycastHits.empty())
            {
                repetitions = script->raycastHits.size();
            }
            for (std::size_t hit = 0; hit < repetitions; ++hit)
            {
                compiler.RunBlocks(event.blocks, entity, hit);
            }
        }
        script->initialized = true;
    }
    catch (const ScriptFailure& failure)
    {
        Logger& log = compiler.services.logger;
        log.Log("Something is wrong with " + entity->name);
        const std::string where = failure.statement != nullptr ? failure.statement->Written() + ": " : "";
        log.Log("ORIN: " + where + FailureCause(failure.code), Logger::ERROR);
    }
    compiler.references.SetRunning(nullptr, nullptr);
}

} // namespace Varn::Script
