#pragma once
// The engine's shared parts, lent to the systems and loaders that use them when those are
// built, so that they reach what they need through what they were given rather than through
// a global. The engine owns every part and outlives whoever holds this.
namespace Varn
{

class Window;
class InputManager;
class WorkerPool;
class Random;
class Timer;
class Logger;
namespace ECS
{
class EntityManager;
class SceneStack;
class TagRegistry;
class IPrefabSource;
struct LoadProgress;
} // namespace ECS
namespace Resource
{
class ResourceManager;
class AudioManager;
} // namespace Resource
namespace Graphics
{
class LayerFramebuffers;
}

struct Services
{
    Window& window;
    Timer& timer;
    ECS::SceneStack& scenes;
    Resource::ResourceManager& resources;
    InputManager& input;
    ECS::IPrefabSource& prefabs;      // the scene loader's prefab instancing
    const ECS::LoadProgress& loading; // what the scene load in progress is doing
    Resource::AudioManager& audio;
    ECS::EntityManager& entities;
    ECS::TagRegistry& tags;
    Logger& logger;
    WorkerPool& workers;
    Random& random;
    Graphics::LayerFramebuffers& layers;
};

} // namespace Varn
