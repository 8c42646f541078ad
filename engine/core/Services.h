#pragma once
// The engine's shared parts, lent to the systems and loaders that use them when those are
// built, so that they reach what they need through what they were given rather than through
// a global. The engine owns every part and outlives whoever holds this.
namespace Varn
{

class Window;
class SceneStack;
class InputManager;
class WorkerPool;
class Random;
namespace Time
{
class Timer;
}
namespace Debug
{
class Logger;
}
namespace ECS
{
class EntityManager;
class TagRegistry;
class IPrefabSource;
} // namespace ECS
namespace Graphics
{
class LayerFramebuffers;
}
namespace System
{
class ResourceManager;
struct LoadProgress;
class AudioManager;
} // namespace System

struct Services
{
    Window& window;
    Time::Timer& timer;
    SceneStack& scenes;
    System::ResourceManager& resources;
    InputManager& input;
    ECS::IPrefabSource& prefabs;         // the scene loader's prefab instancing
    const System::LoadProgress& loading; // what the scene load in progress is doing
    System::AudioManager& audio;
    ECS::EntityManager& entities;
    ECS::TagRegistry& tags;
    Debug::Logger& logger;
    WorkerPool& workers;
    Random& random;
    Graphics::LayerFramebuffers& layers;
};

} // namespace Varn
