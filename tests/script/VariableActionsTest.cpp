#include "script/ScriptTestSupport.h"

namespace Varn::Test
{

using Strings = std::vector<std::string>;

// Scripts whose actions run once, on the first step.
class VariableActions : public ScriptTest
{
protected:
    ECS::IEntity* Once(const std::string& name, const std::string& declarations, const std::string& actions)
    {
        ECS::IEntity* e =
            Compiled(name, declarations + "\n[Event] Initialize\n[Action]\n" + actions + "\n[End]");
        Step();
        return e;
    }
    bool Failed(const std::string& name) const
    {
        const auto& lines = Log();
        return std::find(lines.begin(), lines.end(), "Something is wrong with " + name) != lines.end();
    }
};

TEST_F(VariableActions, FloatOpWritesItsOwnOperandNeedsADestinationTruncatesRemaindersAndRefusesZero)
{
    ECS::IEntity* e =
        Once("Hero", "float a", "SetFloat #l_a 4\nFloatOp #l_a + 1 #l_a\nFloatOp #l_a * #l_a #l_a");
    EXPECT_EQ(FloatOf(e, "a"), 25.0f);
    EXPECT_FALSE(Failed("Hero"));

    ECS::IEntity* f = Once("Foe", "", "FloatOp 1 + 1 #l_b\nPrint after");
    EXPECT_TRUE(Failed("Foe"));
    EXPECT_EQ(Script(f).floatList.count("b"), 0u);
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "after "), 0) << "the rest of the script is abandoned";

    // The remainder truncates; a zero divisor and unknown operators fail.
    ECS::IEntity* rest = Once("Rest", "float r\nfloat s\nfloat d",
                              "FloatOp 7.9 % 3.2 #l_r\nFloatOp -7 % 3 #l_s\nFloatOp 1 / 4 #l_d");
    EXPECT_EQ(FloatOf(rest, "r"), 1.0f);
    EXPECT_EQ(FloatOf(rest, "s"), -1.0f);
    EXPECT_EQ(FloatOf(rest, "d"), 0.25f);

    ECS::IEntity* z = Once("Zero", "float r", "SetFloat #l_r 9\nFloatOp 5 % 0.5 #l_r");
    EXPECT_TRUE(Failed("Zero"));
    EXPECT_EQ(FloatOf(z, "r"), 9.0f);
    Once("Pow", "float r", "FloatOp 2 ^ 3 #l_r");
    EXPECT_TRUE(Failed("Pow"));
}

TEST_F(VariableActions, StringOpJoinsPartsAndTildeIsOneSpace)
{
    Scripts().compiler.globals.strings["score"] = "120";
    ECS::IEntity* e = Once("Hero", "string s", "StringOp #l_s Score: ~ #g_score\nStringOp #l_s #l_s ! ~");
    EXPECT_EQ(Script(e).stringList.at("s"), "Score: 120! ");
    Once("Bad", "", "StringOp #l_s");
    EXPECT_EQ(Log().back(), "Invalid StringOp parameters in Bad.");
}

TEST_F(VariableActions, ConversionsToIntAndToString)
{
    ECS::IEntity* e = Once("Hero", "float i\nstring f\nstring b\nstring n\nstring keep",
                           "ToInt -2.7 #l_i\nToString 2.5 #l_f\nToString true #l_b\nToString -3.9 #l_n int\n"
                           "SetString #l_keep old\nToString 5 #l_keep hex");
    EXPECT_EQ(FloatOf(e, "i"), -2.0f);
    EXPECT_EQ(Script(e).stringList.at("f"), "2.500000");
    EXPECT_EQ(Script(e).stringList.at("b"), "1");
    EXPECT_EQ(Script(e).stringList.at("n"), "-3");
    EXPECT_EQ(Script(e).stringList.at("keep"), "old") << "an unknown mode does nothing";
    Once("Foe", "", "ToInt 3 #l_missing");
    EXPECT_TRUE(Failed("Foe")) << "ToInt writes only into an existing float";
}

TEST_F(VariableActions, SetBoolWithAnIdWritesTheOtherEntityAndAnUnknownIdFails)
{
    ECS::IEntity* other = Compiled("Other", "bool open");
    Once("Hero", "", "SetBool #l_open true " + std::to_string(other->id));
    EXPECT_TRUE(Script(other).boolList.at("open"));
    Once("Foe", "", "SetBool #l_open true 99999\nPrint after");
    EXPECT_TRUE(Failed("Foe"));
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "after "), 0);
}

} // namespace Varn::Test
