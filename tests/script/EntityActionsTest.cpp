#include "script/ScriptTestSupport.h"

#include "scene/JSONManager.h"

namespace Varn::Test
{

// Actions on entities and scenes: kills, hierarchy, prefabs, scene loads and quitting.
using EntityActions = ScriptTest;

// A kill takes the descendants with it at the step's end; layers reach the descendants while
// activity and rooms stay on their entity; parent links are made by id or reference, never in a
// loop.
TEST_F(EntityActions, KillsLayersActivityRoomsAndParentsFollowTheHierarchy)
{
    ECS::IEntity* child = Plain("Child");
    ECS::IEntity* e = Compiled("Goner", "[Event] Initialize\n[Action]\nKill\nSetPosition 7 0 0\n"
                                        "Print #self_trans_lpos_x\n[End]");
    child->parent = e;
    Step();
    EXPECT_EQ(Log(), (Strings{"7.000000 "})) << "it still moves before it goes";
    EXPECT_FALSE(InScene(e));
    EXPECT_FALSE(InScene(child)) << "descendants go with it";
    EXPECT_FALSE(InScene(Once("Oof", "Oof ignored")));

    child = Plain("Child");
    ECS::IEntity* grandchild = Plain("Grandchild");
    e = Compiled("Hero",
                 "[Event] Initialize\n[Action]\nSetLayer 3.9\nSetRoom 2\nSetActiveChildren false\n[End]");
    child->parent = e;
    grandchild->parent = child;
    Step();
    EXPECT_EQ(e->layer, 3u);
    EXPECT_EQ(grandchild->layer, 3u);
    EXPECT_EQ(e->room, 2u);
    EXPECT_EQ(child->room, 0u);
    EXPECT_TRUE(e->gameObjectActive);
    EXPECT_FALSE(child->gameObjectActive);
    EXPECT_FALSE(grandchild->gameObjectActive);

    ECS::IEntity* box = Plain("Box");
    ECS::IEntity* owner = Once("Owner", "AttachChild " + std::to_string(box->id));
    EXPECT_EQ(box->parent, owner);
    Once("Linker", "SetParent #entBox #entOwner");
    EXPECT_EQ(owner->parent, nullptr) << "Box under Owner under Box would close a loop";
    EXPECT_EQ(Said().back(), "Something is wrong with Linker");
    Once("Loose", "SetParent 99999");
    EXPECT_EQ(Said().back(), "Something is wrong with Loose");
    EXPECT_EQ(Once("Detached", "SetParent #entBox\nDetachParent")->parent, nullptr);
}

TEST_F(EntityActions, CreatePrefabPlacesTurnsLayersAndStoresTheNewEntity)
{
    const std::string path =
        scratch.Write("bat.prefab", R"([{"ID":"Bat","ID Type":0,"Current Parent ID":1,"Transform":{}}])");
    ECS::IEntity* e = Once("Hero", "CreatePrefab " + path + " 1 2 3 45 6 #entbat\nPrint #entbat", "ent bat");
    ECS::IEntity* bat = Script(e).entityList.at("bat");
    ASSERT_NE(bat, nullptr);
    EXPECT_EQ(bat->GetComponent<ECS::Transform>()->position, (Vector4{1, 2, 3, 0}));
    EXPECT_EQ(bat->GetComponent<ECS::Transform>()->angle, (Vector4{0, 0, 45, 0}));
    EXPECT_EQ(bat->layer, 6u);
    EXPECT_EQ(Log().back(), "Bat ");

    ECS::IEntity* spawner =
        Compiled("Spawner", "[Event] Initialize\n[Action]\nCreatePrefab " + path + " x\n[End]");
    spawner->GetComponent<ECS::Transform>()->position = {8, 9, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    bat->name = "Old bat";
    Step();
    ASSERT_NE(Find("Bat"), nullptr);
    EXPECT_EQ(Get("Bat")->GetComponent<ECS::Transform>()->position.x, 8.0f) << "at the spawner";
    EXPECT_EQ(Get("Bat")->GetComponent<ECS::Transform>()->position.y, 9.0f);
}

TEST_F(EntityActions, TheLastSceneRequestOfAStepIsTheOnlyOneLoadedAndTheOldScenesKillsSpareTheNew)
{
    const std::string missing = scratch.Path("missing.scene");
    const std::string real = scratch.Write("real.scene", R"([{"ID":"Arrived","ID Type":0,"Transform":{}}])");
    Once("Hero", "LoadScene " + missing + "\nLoadScene " + real);
    EXPECT_EQ(CurrentScene().name, real);
    EXPECT_NE(Find("Arrived"), nullptr);
    EXPECT_EQ(Find("Hero"), nullptr);
    EXPECT_FALSE(Scripts().sceneRequested);
    EXPECT_FALSE(Scripts().showLoadingFrames);

    ECS::IEntity* e = Once("Loader", "LoadScene " + missing + "\nLoadSceneSynchro " + real);
    EXPECT_TRUE(Scripts().showLoadingFrames);
    while (engine->jsonManager->scenes.Busy())
    {
        engine->Update(); // loading frames
    }
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "Error: Load Failed. Scene is Invalid"), 0)
        << "the first requests were never loaded";
    EXPECT_TRUE(e->components.empty()) << "the old scene's entities went back to the pool";

    // The old scene's kills come after the switch and spare the new entities.
    const std::string next = scratch.Write(
        "next.scene", R"([{"ID":"A","ID Type":0,"Transform":{}},{"ID":"B","ID Type":0,"Transform":{}}])");
    Once("Killer", "Kill\nLoadScene " + next);
    EXPECT_NE(Find("A"), nullptr);
    EXPECT_NE(Find("B"), nullptr);
    EXPECT_TRUE(Scripts().killList.empty());
}

TEST_F(EntityActions, ALoadWithLoadingFramesRunsTheOldSceneBetweenItsSlicesAndKillsAfterTheSwitch)
{
    std::string text = "[";
    for (int i = 0; i < 45; ++i)
    {
        text += std::string(i ? "," : "") + R"({"ID":"New)" + std::to_string(i) +
                R"(","ID Type":0,"Transform":{}})";
    }
    const std::string next = scratch.Write("next.scene", text + "]");
    // Slow loading work: a loading frame falls due at the 20th and the 40th entity.
    SteppingClock slowWork;
    slowWork.step = Scene::SceneLoader::LOADING_FRAME_INTERVAL;
    engine->timer->SetClock(&slowWork);
    ECS::IEntity* screen =
        Compiled("Screen", "[Event] Initialize\n[Action]\nLoadSceneSynchro " + next +
                               "\n[End]\n[Event] True\n[Action]\nPrint #load_current\nKill\n[End]");
    Step();
    // The step stopped at the switch, with 20 entities read: the old scene is still there.
    EXPECT_TRUE(engine->jsonManager->scenes.Busy());
    EXPECT_EQ(engine->jsonManager->loading.progress, 20);
    EXPECT_TRUE(InScene(screen));
    EXPECT_EQ(Find("New0"), nullptr);

    // The next frame loads up to the 40th entity, then runs the old scene's steps, whose
    // kills wait for the switch.
    engine->Update();
    ASSERT_GE(Log().size(), 1u);
    EXPECT_EQ(Log()[0], "40.000000 ");
    EXPECT_TRUE(InScene(screen));
    EXPECT_EQ(Scripts().killList.size(), Log().size()) << "every kill waits for the switch";

    while (engine->jsonManager->scenes.Busy())
    {
        engine->Update();
    }
    engine->timer->SetClock(&clock);
    EXPECT_EQ(CurrentScene().name, next);
    EXPECT_EQ(CurrentScene().entities.size(), 45u) << "the old scene's kills spared the new entities";
    EXPECT_TRUE(Scripts().killList.empty());
    EXPECT_TRUE(screen->components.empty());
}

TEST_F(EntityActions, ExitGameStopsTheSceneAndTheWindowAndTakesNoParameters)
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
