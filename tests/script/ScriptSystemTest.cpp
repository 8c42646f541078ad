#include "script/ScriptTestSupport.h"

#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/RigidBody.h"
#include "resource/Script.h"
#include "scene/JSONManager.h"

namespace Varn::Test
{

class ScriptRuntime : public ScriptTest
{
protected:
    static void Touch(ECS::IEntity* entity, const std::vector<ECS::IEntity*>& others)
    {
        auto* body = entity->AddComponent<ECS::RigidBody>();
        body->contacts.clear();
        for (ECS::IEntity* other : others)
        {
            body->contacts.push_back({other, {0, 1, 0, 0}});
        }
    }
};

TEST_F(ScriptRuntime, InitializeRunsExactlyOnceAfterEachCompileAndOtherEventsWaitAStep)
{
    ECS::IEntity* e = Compiled("Hero", "[Event] Initialize\n[Action]\nPrint init\n[End]\n"
                                       "[Event] True\n[Action]\nPrint tick\n[End]");
    Step();
    EXPECT_EQ(Log(), (Strings{"init "}));
    Step(2);
    EXPECT_EQ(Log(), (Strings{"init ", "tick ", "tick "}));
    engine->logger.Clear();
    Scripts().CompileEntity(e);
    Step(2);
    EXPECT_EQ(Log(), (Strings{"init ", "tick "}));
}

// Each hit repeats the blocks, and True fires once without any. The hits come from the body, else
// the box, and one of them is needed; a later contact trigger empties the earlier one's hits.
TEST_F(ScriptRuntime, CollisionHitsComeFromTheBodyElseTheBoxAndEachRepeatsTheBlocks)
{
    ECS::IEntity* e = Compiled("Hero", "[Event] OnCollision\nTrue\n[Action]\nPrint #col_name #col_id\n[End]");
    ECS::IEntity* rock = Make("Rock");
    ECS::IEntity* wall = Make("Wall");
    Step();
    engine->logger.Clear();
    Touch(e, {rock, wall});
    Step();
    EXPECT_EQ(Log(), (Strings{"Rock " + std::to_string(rock->id) + ".000000 ",
                              "Wall " + std::to_string(wall->id) + ".000000 "}));
    engine->logger.Clear();
    Touch(e, {});
    Step();
    EXPECT_EQ(Log(), (Strings{" 0.000000 "})) << "once, with no hit to name";

    CurrentScene().RemoveEntity(e, false);
    engine->logger.Clear();
    ECS::IEntity* boxed = Compiled("Boxed", "[Event] OnCollision\n[Action]\nPrint #col_name\n[End]");
    Step(2);
    EXPECT_EQ(Log(), (Strings{"Missing RigidBody and BoxCollider component in Boxed."}));
    engine->logger.Clear();
    boxed->AddComponent<ECS::BoxCollider2D>()->collidingEntities = {Make("Crate")};
    Touch(boxed, {});
    Step();
    EXPECT_EQ(Log(), (Strings{"Crate "})) << "an empty body leaves the box's hits";

    CurrentScene().RemoveEntity(boxed, false);
    engine->logger.Clear();
    ECS::IEntity* both =
        Compiled("Both", "[Event] OnCollision\nOnTrigger\n[Action]\nPrint #trg_name #col_name\n[End]");
    Step();
    Touch(both, {Make("Rock")});
    both->AddComponent<ECS::BoxCollider2D>()->triggerEntities = {Make("Door")};
    both->AddComponent<ECS::CircleCollider2D>()->triggerEntities = {Make("Coin")};
    Step();
    EXPECT_EQ(Log(), (Strings{"Door  ", "Coin  "})) << "box triggers first, then circle; no collision hit";
}

TEST_F(ScriptRuntime, RoomsAndInactivityKeepScriptsFromRunning)
{
    const std::string text = "[Event] True\n[Action]\nPrint #self_name\n[End]";
    ECS::IEntity* other = Compiled("OtherRoom", text);
    ECS::IEntity* same = Compiled("SameRoom", text);
    Compiled("NoRoom", text);
    ECS::IEntity* hidden = Compiled("Hidden", text);
    other->room = 2;
    same->room = 3;
    CurrentScene().mainCamera->room = 3;
    hidden->gameObjectActive = false;
    Compiled("Child", text)->parent = hidden;
    Script(Compiled("Off", text)).enabled = false;
    Step(2);
    EXPECT_EQ(Log(), (Strings{"SameRoom ", "NoRoom "}));
    engine->logger.Clear();
    CurrentScene().mainCamera->room = 0;
    Step(2);
    EXPECT_EQ(Log(), (Strings{"SameRoom ", "NoRoom ", "OtherRoom ", "SameRoom ", "NoRoom "}))
        << "OtherRoom starts with its first pass";
}

// The failure's line says which entity; the next says where in which file, and why. Inside a
// called group, past comments, the statement named is the one that failed.
TEST_F(ScriptRuntime, FailingReferenceStopsTheRestOfThatEntityOnlyAndSaysWhere)
{
    ECS::IEntity* first =
        Compiled("First", "[Event] True\n[Action]\nPrint a1\n[End]\n"
                          "[Event] True\n[Action]\nSetFloat #l_x #entNobody_id\nPrint a2\n[End]\n"
                          "[Event] True\n[Action]\nPrint a3\n[End]");
    Compiled("Second", "[Event] True\n[Action]\nPrint b\n[End]");
    Step(2);
    EXPECT_EQ(Log(), (Strings{"a1 ", "[ERROR]Cannot find Entity #entNobody", "Something is wrong with First",
                              "ORIN: " + Script(first).filePath[0]->name +
                                  ":7: SetFloat #l_x #entNobody_id: a reference names no entity, variable, "
                                  "field or component that exists",
                              "b "}));

    CurrentScene().RemoveEntity(first, false);
    CurrentScene().RemoveEntity(Find("Second"), false);
    engine->logger.Clear();
    ECS::IEntity* hero = Compiled("Hero", "float x\n// comment\n/* a\nblock */\n[Event] True\n[Action]\n"
                                          "Call Hurt\n[End]\n[ActionGroup] Hurt\n[Condition]\n"
                                          "CheckFloat #l_x <> 1\n[Action]\nPrint no\n[End]");
    Step(2); // the first step after a compile runs only Initialize events
    EXPECT_EQ(Log(), (Strings{"Something is wrong with Hero",
                              "ORIN: " + Script(hero).filePath[0]->name +
                                  ":11: CheckFloat #l_x <> 1: the comparison word is not an operator"}));
}

TEST_F(ScriptRuntime, InputAreaAndRaycastEventsNameTheirHandlersWhenMisusedAndARaycastWritesItsHit)
{
    CurrentScene().scriptSystem->compiler.globals.floats["KeyFire"] = 88.0f;
    ECS::IEntity* hero =
        Compiled("Hero", "[Event] Input Pressed 32\n[Action]\nPrint jump\n[End]\n"
                         "[Event] Input Pressed #g_KeyFire\n[Action]\nPrint fire\n[End]\n"
                         "[Event] Input Held 32\n[End]\n"
                         "[Event] EnterArea 10 10 1 -10 -10 -1\n[Action]\nPrint inside\n[End]\n"
                         "[Event] EnterArea 0 0 0 1 1 #l_missing\n[End]\n"
                         "[Event] OnButton Click\n[End]");
    Step();
    engine->logger.Clear();
    input->taps.set(32);
    input->taps.set(88); // the key the variable holds
    engine->input->Update();
    Step();
    EXPECT_EQ(Log(),
              (Strings{"jump ", "fire ", "Invalid InputEvent parameters in Hero.", "inside ",
                       "Invalid EnterAreaEvent parameters in Hero.", "Missing UIButton component in Hero."}));

    // A raycast event names the hit and writes the hit point.
    CurrentScene().RemoveEntity(hero, false);
    engine->logger.Clear();
    ECS::IEntity* e = Compiled("Caster", "float hx\nfloat hy\n[Event] Raycast 100 0 0 #l_hx #l_hy\n[Action]\n"
                                         "Print #ryc_name\n[End]\n[Event] Raycast 100 0 0 Enemy\n[Action]\n"
                                         "Print tagged\n[End]");
    // A 20 x 20 box at (50, 0): a ray along +x from the origin meets it at x = 40.
    Make<ECS::BoxCollider2D>("Wall", {50, 0, 0, 0})->GetComponent<ECS::Transform>()->worldScale = {20, 20, 0,
                                                                                                   0};
    engine->jsonManager->RegisterTag("Enemy");
    CurrentScene().transformSystem->UpdateAll();
    Step(3); // the first pass runs only "Initialize"
    EXPECT_EQ(Log(), (Strings{"Wall ", "Wall "})) << "the untagged wall is not an Enemy";
    EXPECT_FLOAT_EQ(FloatOf(e, "hx"), 40.0f);
    EXPECT_FLOAT_EQ(FloatOf(e, "hy"), 0.0f);
}

} // namespace Varn::Test
