#include "ai/AISystem.h"

#include "ai/BehaviourTree.h"
#include "ai/TreeBuilders.h"
#include "core/Clock.h"
#include "core/Logger.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"

#include <algorithm>
#include <exception>

namespace Varn::AI
{

AISystem::AISystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<ECS::BehaviourComponent>();
}

bool AISystem::InCameraRoom(const ECS::IEntity* entity) const
{
    const uint32_t cameraRoom = scene->mainCamera != nullptr ? scene->mainCamera->room : 0u;
    return cameraRoom == 0 || entity->room == 0 || entity->room == cameraRoom;
}

void AISystem::TickEntity(ECS::IEntity* entity)
{
    auto* behaviour = entity->GetComponent<ECS::BehaviourComponent>();
    if (behaviour == nullptr)
    {
        return;
    }
    if (entity->IsActiveInHierarchy() && behaviour->enabled)
    {
        // Built lazily so that the player and the children exist and the entity is live.
        if (!behaviour->tree)
        {
            TreeBuilders::Build(*entity, *behaviour, services);
        }
        if (behaviour->tree)
        {
            behaviour->tree->Run();
        }
    }
    // Removals wait until the tree has finished, so no leaf acts on a freed entity mid-tick.
    for (ECS::IEntity* doomed : killList)
    {
        // A removal at or before the cursor shifts the working set down by one; step back so
        // the entity that moved into the cursor's place is not skipped this step.
        const auto found = std::find(entities.begin(), entities.end(), doomed);
        const bool shiftsCursor =
            found != entities.end() && static_cast<std::size_t>(found - entities.begin()) <= cursor;
        if (doomed->scene != nullptr)
        {
            doomed->scene->RemoveEntity(doomed, false);
        }
        if (shiftsCursor && std::find(entities.begin(), entities.end(), doomed) == entities.end())
        {
            --cursor; // wraps below zero on purpose: the loop's ++ brings it back to 0
        }
    }
    killList.clear();
}

void AISystem::Update(const float& dt)
{
    updateStartTicks = NowTicks();
    // A step of no time is a frozen world (a time scale of 0 pauses the game): a tree run now
    // would pile up one-step forces and spawns that all land on the first step after the pause.
    if (dt <= 0.0f)
    {
        lastUpdateSeconds = 0.0f;
        return;
    }

    // By index with the size re-read: trees may add entities that join this very pass.
    for (cursor = 0; cursor < entities.size(); ++cursor)
    {
        ECS::IEntity* entity = entities[cursor];
        if (!InCameraRoom(entity))
        {
            continue;
        }
        try
        {
            TickEntity(entity);
        }
        catch (const std::exception& failure)
        {
            // What a tree can fail at at run time (memory, a library's range check) costs one
            // entity its step; anything else is a programmer error and is not swallowed here.
            Logger& logger = services.logger;
            logger.Log("Something is wrong with " + entity->name);
            logger.Log("AI: behaviour of " + entity->name + " stopped: " + failure.what(), Logger::ERROR);
        }
    }

    lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - updateStartTicks) / 1e7);
}

} // namespace Varn::AI
