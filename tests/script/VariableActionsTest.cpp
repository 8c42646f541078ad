#include "script/ScriptTestSupport.h"

namespace Varn::Test
{

// Variables, arrays and flow, in scripts whose actions run once, on the first step.
class VariableActions : public ScriptTest
{
protected:
    bool Failed(const std::string& name) const
    {
        return std::count(Log().begin(), Log().end(), "Something is wrong with " + name) > 0;
    }
};

TEST_F(VariableActions, FloatOpStringOpAndTheConversionsWriteTheirDestinationsOrFailTheScript)
{
    ECS::IEntity* e = Once("Hero",
                           "SetFloat #l_a 4\nFloatOp #l_a + 1 #l_a\nFloatOp #l_a * #l_a #l_a\n"
                           "FloatOp 7.9 % 3.2 #l_r\nFloatOp -7 % 3 #l_s",
                           "float a\nfloat r\nfloat s");
    EXPECT_EQ(FloatOf(e, "a"), 25.0f);
    EXPECT_EQ(FloatOf(e, "r"), 1.0f);
    EXPECT_EQ(FloatOf(e, "s"), -1.0f);
    EXPECT_FALSE(Failed("Hero"));

    ECS::IEntity* f = Once("Foe", "FloatOp 1 + 1 #l_b\nPrint after");
    EXPECT_TRUE(Failed("Foe"));
    EXPECT_EQ(Script(f).floatList.count("b"), 0u);
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "after "), 0) << "the rest of the script is abandoned";
    ECS::IEntity* z = Once("Zero", "SetFloat #l_r 9\nFloatOp 5 % 0.5 #l_r", "float r");
    EXPECT_TRUE(Failed("Zero"));
    EXPECT_EQ(FloatOf(z, "r"), 9.0f);
    Once("Pow", "FloatOp 2 ^ 3 #l_r", "float r");
    EXPECT_TRUE(Failed("Pow"));

    // StringOp joins parts with ~ as one space; the conversions to int and to string.
    Scripts().compiler.globals.strings["score"] = "120";
    ECS::IEntity* s = Once("Scorer", "StringOp #l_s Score: ~ #g_score\nStringOp #l_s #l_s ! ~", "string s");
    EXPECT_EQ(Script(s).stringList.at("s"), "Score: 120! ");

    ECS::IEntity* c = Once("Converter",
                           "ToInt -2.7 #l_i\nToString 2.5 #l_f\nToString -3.9 #l_n int\n"
                           "SetString #l_keep old\nToString 5 #l_keep hex",
                           "float i\nstring f\nstring n\nstring keep");
    EXPECT_EQ(FloatOf(c, "i"), -2.0f);
    EXPECT_EQ(Script(c).stringList.at("f"), "2.500000");
    EXPECT_EQ(Script(c).stringList.at("n"), "-3");
    EXPECT_EQ(Script(c).stringList.at("keep"), "old") << "an unknown mode does nothing";
    EXPECT_FALSE(Failed("Converter"));
    Once("Truncator", "ToInt 3 #l_missing");
    EXPECT_TRUE(Failed("Truncator")) << "ToInt writes only into an existing float";
}

TEST_F(VariableActions, PopAndClearKillOnlyWhenAskedAndAtTheEndOfTheStep)
{
    ECS::IEntity* a = Plain("A");
    ECS::IEntity* b = Plain("B");
    ECS::IEntity* e = Once("Hero",
                           "AddToArray enemies #entA\nAddToArray enemies #entB\nPopBackArray enemies true\n"
                           "Print #count_enemies\nPrint #entB\nAddToArray nums 3\nAddToArray nums 4.5\n"
                           "ArraySize nums #l_n\nPopBackArray nums",
                           "ent[] enemies\nfloat[] nums\nfloat n");
    EXPECT_EQ(Script(e).entityArrays.at("enemies"), (std::vector<ECS::EntityHandle>{ECS::EntityHandle(a)}));
    EXPECT_EQ(Log(), (Strings{"1.000000 ", "B "})) << "B is still there until the step ends";
    EXPECT_TRUE(InScene(a));
    EXPECT_FALSE(InScene(b));
    EXPECT_EQ(Script(e).floatArrays.at("nums"), (std::vector<float>{3.0f}));
    EXPECT_EQ(FloatOf(e, "n"), 2.0f);

    ECS::IEntity* c = Plain("C");
    ECS::IEntity* keeper =
        Once("Keeper", "AddToArray list #entC\nClearArray list false\nPopBackArray list true", "ent[] list");
    EXPECT_TRUE(InScene(c));
    EXPECT_TRUE(Script(keeper).entityArrays.at("list").empty());
    Once("Clearer", "AddToArray all #entA\nAddToArray all #entC\nClearArray all true", "ent[] all");
    EXPECT_FALSE(InScene(a));
    EXPECT_FALSE(InScene(c));
}

TEST_F(VariableActions, ForCountsFromTheCounterWhichTheGroupMayAdvance)
{
    ECS::IEntity* e =
        Once("Hero",
             "SetFloat #l_i 1\nFor 3 Spawn #l_i\nPrint done #l_i\nFor 2 Tick\nFor 10 Skip #l_j\n"
             "[End]\n[ActionGroup] Spawn\n[Action]\nPrint spawn #l_i\n[End]\n"
             "[ActionGroup] Tick\n[Action]\nPrint tick\n[End]\n"
             "[ActionGroup] Skip\n[Action]\nPrint skip #l_j\nFloatOp #l_j + 4 #l_j",
             "float i\nfloat j");
    // j: 0 -> 4 (+1) -> 9 (+1) -> 10: two calls.
    EXPECT_EQ(Log(), (Strings{"spawn 1.000000 ", "spawn 2.000000 ", "done 3.000000 ", "tick ", "tick ",
                              "skip 0.000000 ", "skip 5.000000 "}));
    EXPECT_EQ(FloatOf(e, "i"), 3.0f);

    // A counter that cannot hold the increment (a number, a count, a read-only field) would
    // loop for ever: the group runs once, then the loop stops as invalid.
    engine->logger.Clear();
    Once("Spinner", "For 3 Tick 0\nFor 3 Tick #count_none\nFor 3 Tick #self_id\nPrint after\n[End]\n"
                    "[ActionGroup] Tick\n[Action]\nPrint tick");
    EXPECT_EQ(Log(), (Strings{"tick ", "Invalid For parameters in Spinner.", "tick ",
                              "Invalid For parameters in Spinner.", "tick ",
                              "Invalid For parameters in Spinner.", "after "}));
}

TEST_F(VariableActions, CallRunsTheGroupsBlocksUnknownGroupsRunNothingAndAMissingArrayIsReported)
{
    Once("Hero",
         "SetFloat #l_hp 5\nCall Report\nCall Nowhere\nPrint end\n[End]\n"
         "[ActionGroup] Report\n[Condition]\nCheckFloat #l_hp > 10\n[Action]\nPrint "
         "high\n[Else]\n[Action]\nPrint low",
         "float hp");
    EXPECT_EQ(Log(), (Strings{"low ", "end "}));
    engine->logger.Clear();
    Once("Hoarder", "AddToArray ghosts 1\nArraySize ghosts #l_n\nPrint on", "float n");
    EXPECT_EQ(Log(), (Strings{"Missing array ghosts in Hoarder.", "Missing array ghosts in Hoarder.", "on "}))
        << "the block goes on";
}

TEST_F(VariableActions, GroupsThatRunThemselvesWithoutEndFailTheEntitysStepInsteadOfTheStack)
{
    // A group may call itself while it counts down...
    ECS::IEntity* counter = Once("Counter",
                                 "SetFloat #l_n 30\nCall Down\nPrint bottom #l_n\n[End]\n"
                                 "[ActionGroup] Down\n[Condition]\nCheckFloat #l_n > 0\n"
                                 "[Action]\nFloatOp #l_n - 1 #l_n\nCall Down",
                                 "float n");
    EXPECT_EQ(FloatOf(counter, "n"), 0.0f);
    EXPECT_EQ(Log(), (Strings{"bottom 0.000000 "}));

    // ...but one that never stops, by Call, For or a condition group's Check, fails that entity
    // for the step, every step, and the others run on.
    engine->logger.Clear();
    Compiled("Caller", "[Event] True\n[Action]\nCall Again\nPrint never\n[End]\n"
                       "[ActionGroup] Again\n[Action]\nCall Again\n[End]");
    Compiled("Looper", "[Event] True\n[Action]\nFor 2 Again\n[End]\n"
                       "[ActionGroup] Again\n[Action]\nFor 2 Again\n[End]");
    Compiled("Checker", "[OrGroup] Again\nCheck Again\n[End]\n"
                        "[Event] True\n[Condition]\nCheck Again\n[Action]\nPrint never\n[End]");
    Compiled("Bystander", "[Event] True\n[Action]\nPrint still here\n[End]");
    Step(3); // the first step after a compile runs only Initialize events
    const Strings oneStep = {"Something is wrong with Caller", "Something is wrong with Looper",
                             "Something is wrong with Checker", "still here "};
    Strings twoSteps = oneStep;
    twoSteps.insert(twoSteps.end(), oneStep.begin(), oneStep.end());
    EXPECT_EQ(Said(), twoSteps);
}

} // namespace Varn::Test
