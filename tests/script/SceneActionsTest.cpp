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

} // namespace Varn::Test
