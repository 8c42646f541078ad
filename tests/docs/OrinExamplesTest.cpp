// The guide's counter example is compiled and run here, so it cannot drift from the engine.
#include "script/ScriptTestSupport.h"

namespace Varn::Test
{

using OrinExamples = ScriptTest;

TEST_F(OrinExamples, CounterRunsItsGroupThreeTimes)
{
    std::string text;
    ASSERT_TRUE(ReadTextFile(std::string(CORVALUNE_SOURCE_DIR) + "/docs/examples/orin/counter.orin", text));
    ECS::IEntity* e = Compiled("Counter", text);
    Step();
    EXPECT_EQ(Log(), (std::vector<std::string>{"counting 0.000000 ", "counting 1.000000 ",
                                               "counting 2.000000 ", "Remembered 3 values "}));
    EXPECT_EQ(Script(e).floatArrays.at("values"), (std::vector<float>{0, 1, 2}));
}

} // namespace Varn::Test
