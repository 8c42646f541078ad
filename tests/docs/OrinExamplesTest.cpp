// The ORIN examples in docs/examples/orin are compiled and run here, so the language guide
// cannot drift from the engine.
#include "script/ScriptTestSupport.h"

#include "core/FilePath.h"
#include "core/Window.h"
#include "ecs/EntityManager.h"

namespace Varn::Test
{

using Strings = std::vector<std::string>;

class OrinExamples : public ScriptTest
{
protected:
    static std::string Example(const std::string& name)
    {
        std::string text;
        EXPECT_TRUE(
            Helper::ReadTextFile(std::string(CORVALUNE_SOURCE_DIR) + "/docs/examples/orin/" + name, text));
        return text;
    }
};

TEST_F(OrinExamples, CounterRunsItsGroupThreeTimes)
{
    ECS::IEntity* e = Compiled("Counter", Example("counter.orin"));
    Step();
    EXPECT_EQ(Log(), (Strings{"counting 0.000000 ", "counting 1.000000 ", "counting 2.000000 ",
                              "Remembered 3 values "}));
    EXPECT_EQ(Script(e).floatArrays.at("values"), (std::vector<float>{0, 1, 2}));
}

} // namespace Varn::Test
