#pragma once
// The event keywords of ORIN: the handlers that decide whether an event section fires this
// step. Contact events also fill the hit lists of the entity's ScriptComponent, which the
// event's blocks then read through "#col" and "#trg". Handlers are stateless.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class Events
{
public:
    static void Register(EventTable& table);

    static bool True(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
    static bool Initialize(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
    static bool Input(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
    static bool EnterArea(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
    static bool OnTrigger(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
    static bool OnCollision(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
    static bool OnRaycast(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
    static bool Raycast(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
    static bool OnButton(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
    static bool ControllerConnected(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);

    // Whether the entity's world position lies in the box of two corners (x1 y1 z1 x2 y2 z2),
    // bounds included, corners in any order. The six parameters are resolved with hit 0.
    static bool InArea(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler);
};

} // namespace Varn::Script
