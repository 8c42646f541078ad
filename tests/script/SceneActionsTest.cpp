#include "script/ScriptTestSupport.h"

#include "core/Timer.h"
#include "core/Window.h"
#include "ecs/EntityManager.h"
#include "scene/JSONManager.h"

#include <algorithm>

namespace Varn::Test
{

using Strings = std::vector<std::string>;

class SceneActions : public ScriptTest
{
protected:
    ECS::IEntity* Once(const std::string& name, const std::string& actions)
    {
        ECS::IEntity* e = Compiled(name, "[Event] Initialize\n[Action]\n" + actions + "\n[End]");
        Step();
        return e;
    }
    ECS::IEntity* Find(const std::string& name)
    {
        return ECS::EntityManager::FindByName(CurrentScene().entities, name);
    }
    long Count(const std::string& line) const { return std::count(Log().begin(), Log().end(), line); }
};

TEST_F(SceneActions, TheLastRequestOfAStepIsTheOnlySceneLoaded)
{
    const std::string missing = scratch.Path("missing.scene");
    const std::string real = scratch.Write("real.scene", R"([{"ID":"Arrived","ID Type":0,"Transform":{}}])");
    Once("Hero", "LoadScene " + missing + "\nLoadScene " + real);
    EXPECT_EQ(Count("Error: Load Failed. Scene is Invalid"), 0) << "the first request was never loaded";
    EXPECT_EQ(CurrentScene().name, real);
    EXPECT_NE(Find("Arrived"), nullptr);
    EXPECT_EQ(Find("Hero"), nullptr);
    EXPECT_FALSE(Scripts().sceneRequested);
    EXPECT_FALSE(Scripts().showLoadingFrames);
}

TEST_F(SceneActions, SynchroAfterAPlainRequestLoadsOnceWithLoadingFrames)
{
    const std::string missing = scratch.Path("missing.scene");
    const std::string real = scratch.Write("real.scene", R"([{"ID":"Arrived","ID Type":0,"Transform":{}}])");
    ECS::IEntity* e = Compiled("Hero", "[Event] Initialize\n[Action]\nLoadScene " + missing +
                                           "\nLoadSceneSynchro " + real + "\n[End]");
    Step();
    EXPECT_TRUE(Scripts().showLoadingFrames);
    EXPECT_EQ(Count("Error: Load Failed. Scene is Invalid"), 0);
    EXPECT_EQ(CurrentScene().name, real);
    EXPECT_TRUE(e->components.empty()) << "the old scene's entities went back to the pool";
}

TEST_F(SceneActions, KillsOfTheOldSceneComeAfterTheSwitchAndSpareTheNewEntities)
{
    const std::string next = scratch.Write(
        "next.scene", R"([{"ID":"A","ID Type":0,"Transform":{}},{"ID":"B","ID Type":0,"Transform":{}}])");
    Once("Hero", "Kill\nLoadScene " + next);
    EXPECT_NE(Find("A"), nullptr);
    EXPECT_NE(Find("B"), nullptr);
    EXPECT_TRUE(Scripts().killList.empty());
}

TEST_F(SceneActions, ExitGameStopsTheSceneAndTheWindowAndTakesNoParameters)
{
    Once("Quitter", "ExitGame now");
    EXPECT_EQ(Log().back(), "Invalid ExitGame parameters in Quitter.");
    EXPECT_TRUE(engine->window->running);
    Once("Hero", "ExitGame");
    EXPECT_EQ(Log().back(), "You just got *wanking* Pranked bro!");
    EXPECT_FALSE(CurrentScene().playing);
    EXPECT_FALSE(engine->window->running);
}

TEST_F(SceneActions, TimeScaleAndCursorFlag)
{
    Once("Hero", "SetTimeScale 0.25\nToggleMouse false");
    EXPECT_EQ(engine->timer->timeScale, 0.25f);
    EXPECT_FALSE(engine->window->cursorVisible);
    Once("Again", "ToggleMouse false\nToggleMouse true");
    EXPECT_TRUE(engine->window->cursorVisible);
}

// A small game from files: a hero walks for three steps, drops a prefab and leaves for a
// second scene whose only entity quits.
TEST_F(SceneActions, ScriptsFromFilesMoveSpawnSwitchScenesAndQuit)
{
    const std::string ender =
        scratch.Write("ender.orin", "[Event] Initialize\n[Action]\nPrint arrived\n[End]\n"
                                    "[Event] True\n[Action]\nExitGame\n[End]");
    const std::string second = scratch.Write(
        "second.scene", "Tags:Exit,\n" + std::string(R"([{"ID":"Ender","ID Type":2,"Transform":{},)") +
                            R"("Script":{"File Path":{"File Path 0":")" + ender + R"("}}}])");
    const std::string coinScript =
        scratch.Write("coin.orin", "[Event] Initialize\n[Action]\nPrint coin #self_trans_lpos_x\n[End]");
    const std::string coin =
        scratch.Write("coin.prefab", R"([{"ID":"Coin","ID Type":0,"Current Parent ID":1,)"
                                     R"("Transform":{},"Script":{"File Path":{"File Path 0":")" +
                                         coinScript + R"("}}}])");
    const std::string hero = scratch.Write(
        "hero.orin",
        "float steps\n[Event] True\n[Action]\nFloatOp #l_steps + 1 #l_steps\nTranslate 60 0 0\n[End]\n"
        "[Event] True\n[Condition]\nCheckFloat #l_steps == 3\n[Action]\nPrint walked #self_trans_lpos_x\n"
        "CreatePrefab " +
            coin + " 5 0 0\nLoadScene " + second + "\n[End]");
    const std::string first = scratch.Write(
        "first.scene", R"([{"ID":"Hero","ID Type":0,"Transform":{},"Script":{"File Path":{"File Path 0":")" +
                           hero + R"("}}}])");
    engine->jsonManager->LoadScene(first, false);
    ECS::IEntity* heroEntity = Find("Hero");
    ASSERT_NE(heroEntity, nullptr);

    for (int i = 0; i < 10 && engine->window->running; ++i)
    {
        Step();
    }
    EXPECT_EQ(Log(), (Strings{"walked 3.000000 ", "coin 5.000000 ", "arrived ",
                              "You just got *wanking* Pranked bro!"}));
    EXPECT_FALSE(engine->window->running);
    EXPECT_FALSE(CurrentScene().playing);
    EXPECT_EQ(CurrentScene().name, second);
    ASSERT_EQ(CurrentScene().entities.size(), 1u);
    EXPECT_EQ(CurrentScene().entities[0]->name, "Ender");
    EXPECT_EQ(engine->jsonManager->TagValue("Exit"), 2u);
}

} // namespace Varn::Test
