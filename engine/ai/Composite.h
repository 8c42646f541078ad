#pragma once
// The composites: an ordered list of children, and the two ways of running it. Children are
// run in list order every tick.
#include "ai/INode.h"

#include <initializer_list>
#include <vector>

namespace Varn::AI
{

class Composite : public INode
{
public:
    Composite() = default;
    explicit Composite(std::initializer_list<std::shared_ptr<INode>> nodes) : children(nodes) {}

    std::vector<std::shared_ptr<INode>> children; // never holds null
};

// Succeeds with the first child that does not fail; fails when all fail or there are none.
class Selector final : public Composite
{
public:
    using Composite::Composite;
    NodeStatus Run() override;
};

// Fails at the first failing child, leaving the rest unrun; succeeds otherwise, also when empty.
class Sequence final : public Composite
{
public:
    using Composite::Composite;
    NodeStatus Run() override;
};

} // namespace Varn::AI
