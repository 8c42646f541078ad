#pragma once
// Runs the compiled ORIN programs of its entities once per step and keeps what the scripts
// asked to defer: a scene switch, which the frame loop carries out after this system's update,
// and the entities to kill, removed once that switch is over. Owns the
// ORINCompiler (keyword tables, global variables, resolver slots); the global variables are
// written back to the player's file when the system is destroyed. Main thread only.
#include "core/ISystem.h"
#include "script/ORINCompiler.h"

#include <string>
#include <vector>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::Script
{

class ScriptSystem : public ISystem
{
public:
    ScriptSystem(ECS::Scene* scene, const Services& services);
    ~ScriptSystem() override; // saves the global variables
    void Update(const float& dt) override;
    // Removes the killed entities with their descendants, in the order asked.
    void RemoveKilled();

    // Compile points for the scene loader: one entity as it is read (a failure is summarised
    // in the log), then every entity of the scene once its entities are in place.
    void CompileEntity(ECS::IEntity* entity);
    void CompileScene();

    // Every event of one entity's program, unless the room or activity filters skip it.
    void RunEntity(ECS::IEntity* entity);

    float timeStep = 0.0f;               // seconds, the step of the current Update
    std::vector<ECS::IEntity*> killList; // removed with their descendants after the scripts
    bool sceneRequested = false;         // a scene switch waits for the end of the step's scripts
    bool showLoadingFrames = false;      // for the requested switch
    std::string requestedScene;          // path of the requested scene file
    ORINCompiler compiler;               // after timeStep: its resolvers read it
};

} // namespace Varn::Script
