#pragma once
// Swaps the child's Success and Failure. Any other result becomes 0, which composites count
// as a non-failure.
#include "ai/INode.h"

namespace Varn::AI
{

class Inverter final : public INode
{
public:
    explicit Inverter(std::shared_ptr<INode> node) { child = std::move(node); }
    NodeStatus Run() override;
};

} // namespace Varn::AI
