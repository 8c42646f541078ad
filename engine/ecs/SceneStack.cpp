#include "ecs/SceneStack.h"

#include "ecs/Scene.h"

namespace Varn::ECS
{

SceneStack::~SceneStack()
{
    delete current;
    current = nullptr;
    while (!queued.empty())
    {
        delete queued.back();
        queued.pop_back();
    }
}

void SceneStack::SetCurrent(Scene* scene)
{
    if (scene != current)
    {
        delete current;
        current = scene;
    }
}

} // namespace Varn::ECS
