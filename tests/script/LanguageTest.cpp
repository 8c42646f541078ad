// The ORIN language: compiling, running events, conditions and references.
#include "script/ScriptTestSupport.h"

#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/RigidBody.h"
#include "resource/Script.h"
#include "scene/JSONManager.h"
#include "script/ORINCompiler.h"
#include "script/ReferenceParser.h"
#include "script/References.h"

#include <cmath>

namespace Varn::Test
{

using Script::ORINCompiler;
using OrinCompiler = ScriptTest;

TEST_F(OrinCompiler, DeclarationsKeepHeldValuesArraysStartEmptyAndCommentsBecomeLineEnds)
{
    ECS::IEntity* e = Scripted("Hero", {"float hp\nbool alive\n[Event] True\n[Action]\nfloat speed\n"
                                        "SetFloat #l_speed 2\n[End]\nent[] list\nstring name"});
    Script(e).floatList["hp"] = 7;
    Script(e).floatList["stale"] = 1;
    Script(e).entityArrays["list"].push_back(ECS::EntityHandle(e));
    ASSERT_TRUE(Scripts().compiler.Compile(e, true));

    EXPECT_EQ(Script(e).floatList, (std::map<std::string, float>{{"hp", 7.0f}, {"speed", 0.0f}}));
    EXPECT_EQ(Script(e).stringList.count("name"), 1u);
    EXPECT_TRUE(Script(e).entityArrays.at("list").empty());
    EXPECT_EQ(Script(e).program->events.at(0).blocks.at(0).actions.size(), 1u)
        << "a declaration is not an action";
    Step(2);
    EXPECT_EQ(FloatOf(e, "speed"), 2.0f);
    EXPECT_TRUE(Log().empty());

    // Comments become line ends, and a commented [End] is ignored.
    const Strings tokens = Resource::Script::Tokenise("a //b c\nd /* e\nf */ g\nh//i j");
    const Strings stripped = ORINCompiler::StripComments(tokens);
    EXPECT_EQ(stripped, (Strings{"a", "", "", "d", "", "", "", "g", "", "h//i", "j", ""}));
    EXPECT_EQ(ORINCompiler::StripComments(stripped), stripped) << "stripping twice changes nothing";

    // The line after the commented [End] closes the section.
    ECS::IEntity* commented =
        Compiled("Hero", "float x\n[Event]\nTrue\n[Action]\n// note [End]\n"
                         "SetFloat #l_x 4\n[End]\n[Event] True\n[Action]\nSetFloat #l_x 9");
    ASSERT_EQ(Script(commented).program->events.size(), 1u) << "the second event has no [End] and is dropped";
    Step(2);
    EXPECT_EQ(FloatOf(commented, "x"), 4.0f);
}

TEST_F(OrinCompiler, EachPassReportsItsFirstErrorByEntityAndAnUnknownKeywordWhereItIsAndWhatItMeant)
{
    const std::pair<std::string, std::string> cases[] = {
        {"[Event] True\n[Action]\nPrint x\nTranslat 1 0 0\n[End]",
         ".orin:4: unknown action \"Translat\"; did you mean Translate?"},
        {"[Event] Intialize\n[Action]\nPrint x\n[End]",
         ".orin:1: unknown event \"Intialize\"; did you mean Initialize?"},
        {"[Event] True\n[Condition]\ncheckfloat 1 == 1\n[End]",
         ".orin:3: unknown condition \"checkfloat\"; did you mean CheckFloat?"},
        {"[Event] True\n[Condition]\nCheckTheWeather\n[End]",
         ".orin:3: unknown condition \"CheckTheWeather\""},
        // Blanks: words are parted by one space only.
        {"float x\n[Event] True\n[Action]\nSetFloat  #l_x 5\n[End]",
         ".orin:4: unknown action \"5\" (two spaces end a statement, so the rest of the line was read as "
         "a new one)"},
        {"[Event] True\n[Action]\nPrint\tx\n[End]", ".orin:3: unknown action \"Print\tx\"; did you mean "
                                                    "Print? (a tab does not part words: use one space)"}};
    for (const auto& [text, where] : cases)
    {
        engine->logger.Clear();
        ECS::IEntity* e = Scripted("Walker", {text});
        EXPECT_FALSE(Scripts().compiler.Compile(e, false)) << text;
        EXPECT_EQ(Script(e).program, nullptr) << text;
        // The compiler's usual line stays as it was, and the new one follows it last. (Two spaces also
        // leave the statement before them short of parameters, which an earlier line says.)
        ASSERT_GE(Log().size(), 2u) << text;
        const std::string& invalid = Log()[Log().size() - 2];
        EXPECT_EQ(invalid.rfind("ORINCompiler: [ERROR]Invalid ", 0), 0u) << invalid;
        EXPECT_EQ(Log().back().rfind("ORIN: ", 0), 0u) << Log().back();
        EXPECT_TRUE(Log().back().ends_with(where)) << Log().back();
        CurrentScene().RemoveEntity(e, false);
    }

    // Each pass reports its first error with the entity's name.
    struct Case
    {
        std::string text;
        Strings errors;
    };
    const Case passes[] = {
        {"float\n", {"Variables declared without aliases in "}},
        {"float[] a\nent[] a", {"Duplicate variable aliases in "}},
        {"[Event] True\n[Condition]\nNope\n[End]", {"Invalid Condition in "}},
        {"[ActionGroup] A\n[End]\n[ActionGroup] A\n[End]", {"Duplicate ActionGroup in "}},
        {"[OrGroup] G\n[End]\n[AndGroup] G\n[End]", {"Duplicate ConditionGroup in "}},
        {"float a\nfloat a\n[Event] X\n[End]\n[ActionGroup]\n[OrGroup] G\nBad\n[End]",
         {"Duplicate variable aliases in ", "Invalid Event in ", "Missing ActionGroup name in ",
          "Invalid Condition in "}},
    };
    for (const Case& c : passes)
    {
        engine->logger.Clear();
        ECS::IEntity* e = Scripted("Big Boss", {c.text});
        EXPECT_FALSE(Scripts().compiler.Compile(e, false)) << c.text;
        Strings expected;
        for (const std::string& error : c.errors)
        {
            expected.push_back("ORINCompiler: [ERROR]" + error + "Big Boss");
        }
        EXPECT_EQ(Said(), expected) << c.text; // each unknown keyword's "ORIN: " line aside
        CurrentScene().RemoveEntity(e, false);
    }
}

TEST_F(OrinCompiler, ParameterCountsAreCheckedWhenCompiledAndTheStatementOnlySaysSoWhenRun)
{
    ECS::IEntity* e =
        Compiled("Hero", "float x\nbool b\n[Event] OnTrigger now\n[Action]\nPrint never\n[End]\n"
                         "[Event] True\n[Condition]\nCheckBool #l_b\n[Action]\nPrint never\n[End]\n"
                         "[Event] True\n[Action]\nSetFloat #l_x\nToggleComponent Sprite\n"
                         "CreatePrefab a b c\nStringOp x\nDetachParent now\nSetFloat #l_x 3\n[End]");
    // Compiling says where, once per statement; the script still compiles.
    std::vector<std::string> where;
    for (const std::string& line : Log())
    {
        where.push_back(line.substr(line.find(".orin:") + 6));
    }
    EXPECT_EQ(where, (Strings{"3: OnTrigger now: OnTrigger takes no parameter, not 1",
                              "9: CheckBool #l_b: CheckBool takes 2 parameters, not 1",
                              "15: SetFloat #l_x: SetFloat takes 2 parameters, not 1",
                              "16: ToggleComponent Sprite: ToggleComponent takes 2 or 3 parameters, not 1",
                              "17: CreatePrefab a b c: CreatePrefab takes 2, 4, 5, 6 or 7 parameters, not 3",
                              "18: StringOp x: StringOp takes at least 2 parameters, not 1",
                              "19: DetachParent now: DetachParent takes no parameter, not 1"}));
    ASSERT_NE(Script(e).program, nullptr);

    // Running, each says what it always said, under its own name, and does nothing else.
    engine->logger.Clear();
    Step(2);
    EXPECT_EQ(
        Log(),
        (Strings{"Invalid OnTrigger parameters in Hero.", "Invalid CheckBool parameters in Hero.",
                 "Invalid SetFloat parameters in Hero.", "Invalid ToggleComponentAction parameters in Hero.",
                 "Invalid CreatePrefab parameters in Hero.", "Invalid StringOp parameters in Hero.",
                 "Invalid DetachParent parameters in Hero."}));
    EXPECT_EQ(FloatOf(e, "x"), 3.0f) << "the statements after them ran";
}

TEST_F(OrinCompiler,
       AFailedCompileKeepsTheOldProgramAndEntitiesWithTheSameScriptsShareOneButNotTheirVariables)
{
    ECS::IEntity* e = Scripted("Hero", {"float hp\n[Event] True\n[Action]\nSetFloat #l_hp 5\n[End]"});
    Scripts().CompileEntity(e);
    Step(2);
    ASSERT_EQ(FloatOf(e, "hp"), 5.0f);

    const std::string broken = scratch.Write("broken.orin", "float extra\n[Event] True\n[Condition]\n"
                                                            "CheckNothing 1\n[End]");
    Script(e).filePath.push_back(engine->resources->LoadScript(broken));
    Scripts().CompileEntity(e);
    EXPECT_EQ(Said(), (Strings{"ORINCompiler: [ERROR]Invalid Condition in Hero",
                               "ORINCompiler: [ERROR]Hero's scripts failed to compile!"}));
    EXPECT_EQ(Script(e).floatList.count("extra"), 0u) << "nothing of the failed compile is installed";
    EXPECT_EQ(Script(e).program->events.size(), 1u);

    Script(e).floatList["hp"] = 0;
    Step(2); // the attempt cleared `initialized`: the first pass runs only Initialize triggers
    EXPECT_EQ(FloatOf(e, "hp"), 5.0f) << "the old program still runs";

    // Entities with the same scripts share a program, but not their variables.
    const std::string text = "float x\n[Event] True\n[Action]\nSetFloat #l_x #self_id\n[End]";
    ECS::IEntity* a = Compiled("A", text);
    ECS::IEntity* b = engine->entities->CreateEntity("B");
    b->AddComponent<ECS::ScriptComponent>()->filePath = Script(a).filePath;
    CurrentScene().AddEntity(b);
    Scripts().CompileEntity(b);
    EXPECT_EQ(Script(a).program, Script(b).program);
    Step(2);
    EXPECT_EQ(FloatOf(a, "x"), static_cast<float>(a->id));
    EXPECT_EQ(FloatOf(b, "x"), static_cast<float>(b->id));

    // New text under the same file name is a new program; the variable keeps its value.
    Script(a).filePath[0]->tokens =
        Resource::Script::Tokenise("float x\nfloat y\n[Event] True\n[Action]\nSetFloat #l_y #l_x\n[End]");
    Scripts().CompileEntity(a);
    EXPECT_NE(Script(a).program, Script(b).program);
    Script(b).floatList["x"] = -1.0f;
    Step(2);
    EXPECT_EQ(FloatOf(a, "y"), static_cast<float>(a->id));
    EXPECT_EQ(FloatOf(b, "x"), static_cast<float>(b->id)) << "b still runs the program it had";
}

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

using Script::ReferenceParser;
using Script::References;
using Script::ScriptFailure;
class ScriptReferences : public ScriptTest
{
protected:
    References& Refs() { return Scripts().compiler.references; }
    float ReadFloat(ECS::IEntity* context, const std::string& text, std::size_t hit = 0)
    {
        return Refs().Float(context, ReferenceParser::Prepare(text), 0, false, hit);
    }
    bool ReadBool(ECS::IEntity* context, const std::string& text)
    {
        return Refs().Bool(context, ReferenceParser::Prepare(text), 0, false, 0);
    }
    std::string ReadString(ECS::IEntity* context, const std::string& text)
    {
        return Refs().String(context, ReferenceParser::Prepare(text), 0, false, 0);
    }
    static void PlaceAt(ECS::IEntity* entity, float x)
    {
        entity->GetComponent<ECS::Transform>()->worldMatrix.m[0][3] = x;
    }
};

TEST_F(ScriptReferences,
       NumbersReadAsFarAsTheyGoBoolsTakeOnlyFourWordsArraysFollowTheArrayAndGlobalsKeepTheirType)
{
    ECS::IEntity* e = Compiled("Hero", "float[] speeds\nfloat i\nent[] list");
    EXPECT_EQ(ReadFloat(e, "2.5abc"), 2.5f);
    EXPECT_EQ(ReadFloat(e, "-3e2"), -300.0f);
    EXPECT_THROW(ReadFloat(e, "abc"), ScriptFailure);
    EXPECT_THROW(ReadFloat(e, "1e999"), ScriptFailure) << "out of range";
    EXPECT_TRUE(ReadBool(e, "true"));
    EXPECT_FALSE(ReadBool(e, "false"));
    EXPECT_THROW(ReadBool(e, "yes"), ScriptFailure);
    EXPECT_EQ(ReadString(e, "plain"), "plain");
    EXPECT_TRUE(Log().empty());

    // Array counts and elements follow the array as it changes.
    EXPECT_EQ(ReadFloat(e, "#count_enemies"), 0.0f) << "no such array counts 0 without an error";
    Script(e).floatArrays["speeds"] = {10.0f, 20.0f, 30.0f};
    EXPECT_EQ(ReadFloat(e, "#count_speeds"), 3.0f);

    const Script::ScriptParam element = ReferenceParser::Prepare("#l_speeds[#l_i]");
    Script(e).floatList["i"] = 1.7f;
    EXPECT_EQ(Refs().Float(e, element, 0, false, 0), 20.0f) << "the index is truncated";
    Script(e).floatList["i"] = 3.0f;
    EXPECT_THROW(Refs().Float(e, element, 0, false, 0), ScriptFailure);
    EXPECT_EQ(ReadFloat(e, "#l_speeds[last]"), 30.0f);

    EXPECT_THROW(ReadFloat(e, "#entlist[last]_trans_pos_x"), ScriptFailure) << "empty array";
    ECS::IEntity* first = Make("First");
    ECS::IEntity* last = Make("Last");
    PlaceAt(first, 5.0f);
    PlaceAt(last, 8.0f);
    Script(e).entityArrays["list"] = {ECS::EntityHandle(first), ECS::EntityHandle(last)};
    EXPECT_EQ(ReadFloat(e, "#entlist[last]_trans_pos_x"), 8.0f);

    // A #player target writes the player's own variable; globals resolve only in their own type.
    engine->logger.Clear();
    ECS::IEntity* hero = Compiled("Hero", "float speed\n[Event] True\n[Action]\n#player SetFloat #l_speed 3\n"
                                          "SetFloat #l_mine #player_var_speed\n[End]");
    ECS::IEntity* player = Compiled("Player", "");
    Step(2);
    EXPECT_EQ(FloatOf(player, "speed"), 3.0f);
    EXPECT_EQ(FloatOf(hero, "speed"), 0.0f);
    EXPECT_EQ(FloatOf(hero, "mine"), 3.0f);
    EXPECT_TRUE(Log().empty());

    // Globals resolve only in their own type and are never created.
    auto& globals = Scripts().compiler.globals;
    globals.floats["lives"] = 3.0f;
    globals.strings["title"] = "Hello big world";
    EXPECT_EQ(ReadFloat(hero, "#g_lives"), 3.0f);
    EXPECT_EQ(ReadString(hero, "#g_title"), "Hello big world");
    EXPECT_THROW(ReadString(hero, "#g_lives"), ScriptFailure);
    EXPECT_THROW(Refs().Float(hero, ReferenceParser::Prepare("#g_coins"), 0, true, 0), ScriptFailure);
    EXPECT_EQ(globals.floats.count("coins"), 0u);
}

// Entities are pooled: a player freed since the last look is looked up again, not followed into
// its slot.
TEST_F(ScriptReferences, AFreedPlayerIsLookedUpAgainNotFollowedIntoItsReusedSlot)
{
    ECS::IEntity* e = Compiled("Hero", "");
    ECS::IEntity* player = Make("Player");
    PlaceAt(player, 3.0f);
    EXPECT_EQ(ReadFloat(e, "#player_trans_pos_x"), 3.0f);

    CurrentScene().RemoveEntity(player, true);
    ECS::IEntity* box = Make("Box");
    ASSERT_EQ(box, player) << "the pool hands the same slot out again";
    PlaceAt(box, 5.0f);
    ECS::IEntity* newPlayer = Make("Player");
    PlaceAt(newPlayer, 7.0f);
    EXPECT_EQ(ReadFloat(e, "#player_trans_pos_x"), 7.0f);
}

TEST_F(ScriptReferences, EntNamesPreferTheVariableThenTheSceneMissingHitsReadAsZeroAndWhatIsMissingIsReported)
{
    ECS::IEntity* e = Compiled("Hero", "ent Boss");
    ECS::IEntity* sceneBoss = Make("Boss");
    ECS::IEntity* decoy = Make("Decoy");
    EXPECT_THROW(Refs().Entity(e, ReferenceParser::Prepare("#entBoss"), 0, false, 0), ScriptFailure)
        << "the variable exists but holds no entity";
    EXPECT_EQ(Log(), (Strings{"[ERROR]Cannot find Entity #entBoss"}));

    Script(e).entityList["Boss"] = decoy;
    EXPECT_EQ(Refs().Entity(e, ReferenceParser::Prepare("#entBoss"), 0, false, 0), decoy);
    Script(e).entityList.erase("Boss");
    EXPECT_EQ(Refs().Entity(e, ReferenceParser::Prepare("#entBoss"), 0, false, 0), sceneBoss);
    EXPECT_EQ(ReadFloat(e, "#entBoss_id"), static_cast<float>(sceneBoss->id));

    engine->logger.Clear();
    EXPECT_THROW(ReadFloat(e, "#entNobody_id"), ScriptFailure);
    EXPECT_EQ(Log(), (Strings{"[ERROR]Cannot find Entity #entNobody"}));

    // Missing hits read as zero, but missing components are reported.
    EXPECT_EQ(ReadFloat(e, "#col_id"), 0.0f);
    EXPECT_EQ(ReadString(e, "#trg_name"), "");
    ECS::IEntity* rock = Make("Rock");
    Script(e).collisionHits = {rock, e};
    EXPECT_EQ(ReadString(e, "#col_name"), "Rock");
    EXPECT_EQ(ReadFloat(e, "#col_id", 1), static_cast<float>(e->id)) << "the hit index picks the hit";
    EXPECT_THROW(Refs().Entity(e, ReferenceParser::Prepare("#col"), 0, false, 2), ScriptFailure);

    engine->logger.Clear();
    EXPECT_THROW(ReadFloat(e, "#self_rb_mass"), ScriptFailure);
    EXPECT_EQ(Log(), (Strings{"Missing RigidBody component in Hero."}));
    e->AddComponent<ECS::RigidBody>()->mass = 4.0f;
    EXPECT_EQ(ReadFloat(e, "#self_rb_mass"), 4.0f);
    EXPECT_THROW(ReadFloat(e, "#self_nonsense"), ScriptFailure) << "an unknown field is no number";
    EXPECT_EQ(ReadString(e, "#self_nonsense"), "#self_nonsense") << "but it is a literal string";
}

} // namespace Varn::Test
