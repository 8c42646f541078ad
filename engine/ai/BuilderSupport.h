#pragma once
// Small helpers for code that builds behaviour trees: node construction, the player lookup and
// stopwatch creation.
#include "ai/BlackboardLeaves.h"
#include "ai/Composite.h"
#include "ai/Conditional.h"
#include "ai/Inverter.h"
#include "ai/StopwatchLeaves.h"
#include "core/Services.h"

#include <memory>
#include <utility>

namespace Varn
{
struct FrameCounter;
}
namespace Varn::ECS
{
class IEntity;
}

namespace Varn::AI
{

using NodePtr = std::shared_ptr<INode>;

template <typename T, typename... A> NodePtr Leaf(A&&... args)
{
    return std::make_shared<T>(std::forward<A>(args)...);
}

template <typename... N> NodePtr Seq(N... nodes)
{
    return std::make_shared<Sequence>(Sequence{std::move(nodes)...});
}

template <typename... N> NodePtr Sel(N... nodes)
{
    return std::make_shared<Selector>(Selector{std::move(nodes)...});
}

inline NodePtr Not(NodePtr node)
{
    return std::make_shared<Inverter>(std::move(node));
}

inline NodePtr If(NodePtr condition, NodePtr action)
{
    return std::make_shared<Conditional>(std::move(condition), std::move(action));
}

// Runs the node but never fails: for side effects (a particle burst, a child that content may
// leave out) whose absence must not stop the rest of a branch.
inline NodePtr Try(NodePtr node)
{
    return Sel(std::move(node), Leaf<UpdateReturn>());
}

// The current scene's "Player" now; null when the scene has none.
ECS::IEntity* FindPlayer(const Services& services);
// A running stopwatch in the engine Timer's list.
Watch NewWatch(const Services& services);

} // namespace Varn::AI
