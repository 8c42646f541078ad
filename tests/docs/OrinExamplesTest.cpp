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

TEST_F(OrinExamples, WalkerStopsAtThreeAndTurnsOnce)
{
    ECS::IEntity* e = Compiled("Walker", Example("walker.orin"));
    Step(8);
    EXPECT_EQ(Log(), (Strings{"turned at 3.000000 "}));
    EXPECT_FLOAT_EQ(e->GetComponent<Component::Transform>()->position.x, 3.0f);
    EXPECT_EQ(e->GetComponent<Component::Transform>()->angle.y, 180.0f);
}

TEST_F(OrinExamples, QuitterSpawnsItsPrefabThenEndsTheGame)
{
    const std::string coin =
        scratch.Write("coin.prefab", R"([{"ID":"Coin","ID Type":0,"Current Parent ID":1,"Transform":{}}])");
    ECS::IEntity* e = Scripted("Quitter", {Example("quitter.orin")});
    Script(e).stringList["prefab"] = coin;
    Scripts().CompileEntity(e);
    Step(2);
    EXPECT_NE(ECS::EntityManager::FindByName(CurrentScene().entities, "Coin"), nullptr);
    EXPECT_EQ(Log(), (Strings{"You just got *wanking* Pranked bro!"}));
    EXPECT_FALSE(engine->window->running);
}

} // namespace Varn::Test
