#include "ai/AITestSupport.h"
#include "ai/Composite.h"
#include "ai/Conditional.h"

namespace Varn::Test
{
namespace
{
using AI::Conditional;
using AI::Failure;
using AI::NodeStatus;
using AI::Selector;
using AI::Sequence;
using AI::Success;

TEST(Node, SelectorStopsAtTheFirstChildThatDoesNotFailAndSequenceAtTheFirstThatFails)
{
    auto first = Probe(Failure), second = Probe(static_cast<NodeStatus>(0)), third = Probe(Success);
    Selector selector{first, second, third};
    EXPECT_EQ(selector.Run(), 0); // a non-failure is passed up as it is
    EXPECT_EQ(first->runs, 1);
    EXPECT_EQ(second->runs, 1);
    EXPECT_EQ(third->runs, 0);

    Selector allFail{Probe(Failure), Probe(Failure)};
    EXPECT_EQ(allFail.Run(), Failure);

    // A sequence stops at the first failure and runs on past other results.
    auto zero = Probe(static_cast<NodeStatus>(0)), fail = Probe(Failure), after = Probe(Success);
    Sequence sequence{zero, fail, after};
    EXPECT_EQ(sequence.Run(), Failure);
    EXPECT_EQ(zero->runs, 1);
    EXPECT_EQ(fail->runs, 1);
    EXPECT_EQ(after->runs, 0);

    fail->status = Success;
    EXPECT_EQ(sequence.Run(), Success);
    EXPECT_EQ(after->runs, 1);
}

TEST(Node, ConditionalWithAFailedConditionSucceedsWithoutRunningItsAction)
{
    auto condition = Probe(Failure), action = Probe(Failure);
    auto second = Probe(Success);
    Sequence sequence{std::make_shared<Conditional>(condition, action), second};
    EXPECT_EQ(sequence.Run(), Success);
    EXPECT_EQ(action->runs, 0);
    EXPECT_EQ(second->runs, 1); // so a sequence of conditionals runs every one

    condition->status = Success;
    EXPECT_EQ(sequence.Run(), Failure); // now the action's own result counts
    EXPECT_EQ(action->runs, 1);
}

TEST(Node, TreeBindsBlackboardEntriesByAddressAndKeepsExistingValues)
{
    AI::BehaviourTree tree;
    float* life = tree.Float("Life", 3.0f);
    for (int i = 0; i < 100; ++i)
    {
        tree.Float("Filler" + std::to_string(i)); // forces rehashing
    }
    EXPECT_EQ(tree.Float("Life", 99.0f), life);
    EXPECT_EQ(*life, 3.0f);
    *life = 1.0f;
    EXPECT_EQ(tree.floatVariables.at("Life"), 1.0f);
    EXPECT_EQ(tree.Run(), Failure); // no root yet
}

} // namespace
} // namespace Varn::Test
