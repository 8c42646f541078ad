#pragma once
// The behaviour trees a Behaviour component can run, by the type number content gives and by
// name. The engine knows none of them: a game registers its builders once at start-up, before
// the first scene loads. A builder fills a new tree and stores it in the component.
#include "core/Services.h"
#include <cstdint>
#include <string>

namespace Varn::ECS
{
class IEntity;
class BehaviourComponent;
} // namespace Varn::ECS

namespace Varn::AI
{

class TreeBuilders
{
public:
    using Builder = void (*)(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour,
                             const Services& services);

    // Registers `builder` for the type number and the name; a later registration of either wins.
    static void Register(int32_t type, const std::string& name, Builder builder);
    // Null when nothing is registered under it.
    static Builder Find(int32_t type);
    static Builder Find(const std::string& name);

    // Builds the tree the component's type names; a type without a builder leaves the
    // component without a tree, so the entity simply does nothing.
    static void Build(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services);
};

} // namespace Varn::AI
