#pragma once
// Base of every behaviour-tree node. Nodes are shared: a parent holds its children by shared
// pointer, and copies of a BehaviourComponent share one whole tree. A tick re-evaluates the tree
// from the root; nodes keep no running state.
#include <cstdint>
#include <memory>

namespace Varn::AI
{

// The result of one Run. Composites treat every value but Failure as a non-failure.
enum NodeStatus : int32_t
{
    Success = 1,
    Failure = 3,
};

class INode
{
public:
    virtual ~INode() = default;
    virtual NodeStatus Run() = 0;

    std::shared_ptr<INode> child; // the decorated node of a decorator, the root of a tree; may be null
};

} // namespace Varn::AI
