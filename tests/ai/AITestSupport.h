#pragma once
// Shared by the behaviour tests: entities built in the current scene, probe nodes that count
// their runs, and frames run through the engine's real step (counters advance once per frame).
#include "support/EngineTest.h"

#include "ai/AISystem.h"
#include "ai/BehaviourTree.h"
#include "ai/INode.h"
#include "ai/PrefabSpawner.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/ScriptComponent.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Varn::Test
{

// Returns a fixed status and counts its runs; `onRun` lets a test act mid-tick.
class ProbeNode final : public AI::INode
{
public:
    explicit ProbeNode(AI::NodeStatus status_ = AI::Success) : status(status_) {}
    AI::NodeStatus Run() override
    {
        ++runs;
        if (onRun)
        {
            onRun();
        }
        return status;
    }
    AI::NodeStatus status;
    int runs = 0;
    std::function<void()> onRun;
};

inline std::shared_ptr<ProbeNode> Probe(AI::NodeStatus status = AI::Success)
{
    return std::make_shared<ProbeNode>(status);
}

class AITest : public EngineTest
{
protected:
    static constexpr float STEP = 1.0f / 60.0f;

    // An entity whose behaviour is the given root, already built.
    ECS::IEntity* MakeWithTree(const std::string& name, std::shared_ptr<AI::INode> root)
    {
        ECS::IEntity* e = Make<ECS::BehaviourComponent>(name);
        auto tree = std::make_shared<AI::BehaviourTree>();
        tree->child = std::move(root);
        e->GetComponent<ECS::BehaviourComponent>()->tree = tree;
        return e;
    }

    // Whole frames of one step each, as the frame loop runs them at 60 Hz.
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            engine->timer->AdvanceCounters();
            engine->Step(STEP);
        }
    }

    AI::AISystem& AI() { return *CurrentScene().aiSystem; }

    // Runs frames until `done` holds, at most `limit`; how many ran.
    int FramesUntil(const std::function<bool()>& done, int limit)
    {
        int frames = 0;
        for (; frames < limit && !done(); ++frames)
        {
            Frames(1);
        }
        return frames;
    }

    // A trigger named `name` on `target` for one step, as a projectile that removes itself on
    // impact, then the step in which the tree sees it.
    void HitOnce(const std::string& name, ECS::IEntity* target)
    {
        ECS::IEntity* shot = Make<ECS::BoxCollider2D, ECS::ScriptComponent>(
            name, target->GetComponent<ECS::Transform>()->position, {20, 20, 1, 0});
        shot->GetComponent<ECS::BoxCollider2D>()->isTrigger = true;
        Frames(1);
        CurrentScene().RemoveEntity(shot, false);
        Frames(1);
    }

    // Replaces the prefab loader for this test; the one before is put back afterwards.
    void UseLoader(AI::PrefabLoader loader)
    {
        AI::PrefabLoader before = AI::SetPrefabLoader(std::move(loader));
        if (!loaderReplaced)
        {
            loaderBefore = std::move(before);
            loaderReplaced = true;
        }
    }

    // Prefabs become bare entities at their position, their paths listed in `created`.
    void RecordPrefabs()
    {
        UseLoader(
            [this](const std::string& path, const Vector4& position)
            {
                created.push_back(path);
                return Make("Instance", position);
            });
    }
    int Count(const std::string& path) const
    {
        return static_cast<int>(std::count(created.begin(), created.end(), path));
    }

    void TearDown() override
    {
        if (loaderReplaced)
        {
            AI::SetPrefabLoader(loaderBefore);
        }
        EngineTest::TearDown();
    }

    std::vector<std::string> created;
    AI::PrefabLoader loaderBefore;
    bool loaderReplaced = false;
};

} // namespace Varn::Test
