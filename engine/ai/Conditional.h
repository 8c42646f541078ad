#pragma once
// Runs `action` only when `condition` succeeds. A failed condition still reports Success, so a
// Sequence of conditionals goes on to the next one.
#include "ai/INode.h"

namespace Varn::AI
{

class Conditional final : public INode
{
public:
    Conditional(std::shared_ptr<INode> condition_, std::shared_ptr<INode> action_)
        : condition(std::move(condition_)), action(std::move(action_))
    {
    }
    NodeStatus Run() override;

    std::shared_ptr<INode> condition; // never null
    std::shared_ptr<INode> action;    // never null
};

} // namespace Varn::AI
