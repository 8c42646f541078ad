#include "script/ScriptTestSupport.h"

namespace Varn::Test
{

using Strings = std::vector<std::string>;

using FlowActions = ScriptTest;

TEST_F(FlowActions, ForWithACounterStartsFromItsValueAndLeavesItAtTheCount)
{
    ECS::IEntity* e =
        Compiled("Hero", "float i\n[Event] Initialize\n[Action]\nSetFloat #l_i 1\nFor 3 Spawn #l_i\n"
                         "Print done #l_i\n[End]\n"
                         "[ActionGroup] Spawn\n[Action]\nPrint spawn #l_i\n[End]");
    Step();
    EXPECT_EQ(Log(), (Strings{"spawn 1.000000 ", "spawn 2.000000 ", "done 3.000000 "}));
    EXPECT_EQ(FloatOf(e, "i"), 3.0f);
}

TEST_F(FlowActions, ForWithoutCounterRunsCountTimesAndTheGroupMaySkipAhead)
{
    Compiled("Hero", "float n\nfloat i\n[Event] Initialize\n[Action]\nFor 3 Tick\nFor 10 Skip #l_i\n[End]\n"
                     "[ActionGroup] Tick\n[Action]\nPrint tick\n[End]\n"
                     "[ActionGroup] Skip\n[Action]\nPrint skip #l_i\nFloatOp #l_i + 4 #l_i\n[End]");
    Step();
    // Counter 0 -> 4 (+1) -> 9 (+1) -> 14: three calls.
    EXPECT_EQ(Log(), (Strings{"tick ", "tick ", "tick ", "skip 0.000000 ", "skip 5.000000 "}));
}

TEST_F(FlowActions, CallRunsTheGroupsBlocksWithConditionsAndUnknownNamesRunNothing)
{
    Compiled("Hero", "float hp\n[Event] Initialize\n[Action]\nSetFloat #l_hp 5\nCall Report\nCall Nowhere\n"
                     "Print end\n[End]\n"
                     "[ActionGroup] Report\n[Condition]\nCheckFloat #l_hp > 10\n[Action]\nPrint high\n"
                     "[Else]\n[Action]\nPrint low\n[End]");
    Step();
    EXPECT_EQ(Log(), (Strings{"low ", "end "}));
}

} // namespace Varn::Test
