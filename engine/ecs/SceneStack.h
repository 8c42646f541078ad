#pragma once
// The current Scene plus a queue of further scenes; owns all of them.
#include <deque>

namespace Varn::ECS
{

class Scene;

class SceneStack
{
public:
    SceneStack() = default;
    ~SceneStack(); // the current scene first, then the queue from back to front
    SceneStack(const SceneStack&) = delete;
    SceneStack& operator=(const SceneStack&) = delete;

    // Makes `scene` current and takes ownership; the previous current scene is deleted.
    void SetCurrent(Scene* scene);

    Scene* current = nullptr; // may be null before the entry sequence builds the first scene
    std::deque<Scene*> queued;
};

} // namespace Varn::ECS
