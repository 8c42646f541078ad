#include "script/ScriptTestSupport.h"

#include "ecs/RigidBody.h"
#include "scene/JSONManager.h"

#include <cmath>

namespace Varn::Test
{

class ScriptConditions : public ScriptTest
{
protected:
    // An entity whose one event prints "yes" when `condition` holds and "no" otherwise.
    // Replaces the entity of the previous call.
    ECS::IEntity* Testing(const std::string& condition, const std::string& declarations = "")
    {
        if (tested)
        {
            CurrentScene().RemoveEntity(tested, false);
        }
        ECS::IEntity* e = tested =
            Compiled("Hero", declarations + "\n[Event] True\n[Condition]\n" + condition +
                                 "\n[Action]\nPrint yes\n[Else]\n[Action]\nPrint no\n[End]");
        Step(); // the first pass runs only Initialize events
        return e;
    }
    std::string Outcome()
    {
        engine->logger.Clear();
        Step();
        const std::vector<std::string> said = Said();
        return said.size() == 1 ? said[0] : "lines: " + std::to_string(said.size());
    }
    ECS::IEntity* tested = nullptr;
};

TEST_F(ScriptConditions, CheckFloatComparesWithEachOperatorAndBadOperatorsOrHitListsAbandonTheScript)
{
    struct Case
    {
        const char* op;
        bool less, equal, nan;
    };
    for (const Case& c :
         {Case{"==", false, true, false}, Case{"!=", true, false, true}, Case{"<", true, false, false},
          Case{">", false, false, false}, Case{">=", false, true, false}, Case{"<=", true, true, false}})
    {
        ECS::IEntity* e = Testing(std::string("CheckFloat #l_a ") + c.op + " 2", "float a");
        Script(e).floatList["a"] = 1.0f;
        EXPECT_EQ(Outcome(), c.less ? "yes " : "no ") << c.op;
        Script(e).floatList["a"] = 2.0f;
        EXPECT_EQ(Outcome(), c.equal ? "yes " : "no ") << c.op;
        Script(e).floatList["a"] = std::nanf("");
        EXPECT_EQ(Outcome(), c.nan ? "yes " : "no ") << c.op;
    }

    // A word that is not an operator (strings take only == and !=) or a hit list that does not
    // exist abandons the script; an empty hit list is simply false.
    for (const auto& [condition, outcome] : {std::pair{"CheckFloat 1 => 2", "Something is wrong with Hero"},
                                             {"CheckString a < b", "Something is wrong with Hero"},
                                             {"CheckID Triggered == 5", "no "},
                                             {"CheckID Touched == 5", "Something is wrong with Hero"}})
    {
        Testing(condition);
        EXPECT_EQ(Outcome(), outcome) << condition;
    }
}

TEST_F(ScriptConditions, CheckTagTestsEachCollisionHitInTurnAndCheckIdAndCheckNameCompareTheCurrentHit)
{
    engine->jsonManager->RegisterTag("Default");
    const uint64_t enemy = engine->jsonManager->RegisterTag("Enemy");
    ECS::IEntity* e = Compiled("Hero", "[Event] OnCollision\n[Condition]\nCheckTag Collided == Enemy\n"
                                       "[Action]\nPrint #col_name\n[End]");
    ECS::IEntity* goblin = Make("Goblin");
    ECS::IEntity* rock = Make("Rock");
    ECS::IEntity* orc = Make("Orc");
    goblin->tags = orc->tags = enemy | 1u;
    rock->tags = 1u;
    Step();
    e->AddComponent<ECS::RigidBody>()->contacts = {{goblin, {}}, {rock, {}}, {orc, {}}};
    Step();
    EXPECT_EQ(Log(), (Strings{"Goblin ", "Orc "}));

    CurrentScene().RemoveEntity(e, false);
    engine->logger.Clear();
    ECS::IEntity* boss = Make("Big Boss");
    const std::string id = std::to_string(boss->id);
    ECS::IEntity* namer =
        Compiled("Namer", "[Event] OnCollision\n"
                          "[Condition]\nCheckName Collided == Big Boss\n[Action]\nPrint name\n"
                          "[Condition]\nCheckID Collided == " +
                              id +
                              ".9\n[Action]\nPrint id\n"
                              "[Condition]\nCheckName Collided != Big\n[Action]\nPrint other\n"
                              "[Condition]\nCheckName Collided < Big\n[Action]\nPrint never\n[End]");
    Step();
    namer->AddComponent<ECS::RigidBody>()->contacts.push_back({boss, {}});
    Step();
    EXPECT_EQ(Log(), (Strings{"name ", "id ", "other ", "Invalid CheckName parameters in Namer."}));
}

TEST_F(ScriptConditions, ConditionGroupsAndOrOr)
{
    ECS::IEntity* e =
        Compiled("Hero", "float hp\n[AndGroup] EmptyAnd\n[End]\n[OrGroup] EmptyOr\n[End]\n"
                         "[AndGroup] Healthy\nCheckFloat #l_hp > 0\nCheckFloat #l_hp < 10\n[End]\n"
                         "[OrGroup] Extreme\nCheckFloat #l_hp <= 0\nCheckFloat #l_hp >= 10\n[End]\n"
                         "[Event] True\n"
                         "[Condition]\nCheck EmptyAnd\n[Action]\nPrint and\n"
                         "[Condition]\nCheck EmptyOr\n[Action]\nPrint or\n"
                         "[Condition]\nCheck Unknown\n[Action]\nPrint unknown\n"
                         "[Condition]\nCheck Healthy\n[Action]\nPrint healthy\n"
                         "[Condition]\nCheck Extreme\n[Action]\nPrint extreme\n[End]");
    Step();
    Script(e).floatList["hp"] = 5.0f;
    Step();
    EXPECT_EQ(Log(), (Strings{"and ", "healthy "}));
    engine->logger.Clear();
    Script(e).floatList["hp"] = 12.0f;
    Step();
    EXPECT_EQ(Log(), (Strings{"and ", "extreme "}));
}

// The picture always spans 1920 world units, so at a 1280-pixel-wide window a cursor pixel is
// 1.5 world units; the cursor value and the mouse-over test must agree on that.
TEST_F(ScriptConditions, MouseOverAndTheCursorValueShareOneScale)
{
    input->state.cursorX = 640 + 100; // 100 pixels right of the picture's centre
    input->state.cursorY = 360;
    engine->input->Update();
    ECS::IEntity* e = Testing("MouseOver");
    auto* transform = e->GetComponent<ECS::Transform>();
    transform->position = {150, 0, 0, 0}; // 100 pixels is 150 units
    transform->worldScale = {30, 30, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    EXPECT_EQ(Outcome(), "yes ");
    transform->position = {100, 0, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    EXPECT_EQ(Outcome(), "no ") << "under the cursor only when measured in world units";

    ECS::IEntity* reader =
        Compiled("Reader", "float mx\n[Event] True\n[Action]\nSetFloat #l_mx #mouse_x\n[End]");
    Step(2);
    EXPECT_FLOAT_EQ(FloatOf(reader, "mx"), 150.0f);
    engine->window->fullscreen = true; // the same picture size gives the same answer in full screen
    engine->input->Update();
    Step();
    EXPECT_FLOAT_EQ(FloatOf(reader, "mx"), 150.0f);
}

} // namespace Varn::Test
