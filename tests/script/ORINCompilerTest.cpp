#include "script/ScriptTestSupport.h"

#include "resource/Script.h"
#include "script/ORINCompiler.h"

namespace Varn::Test
{

using Script::ORINCompiler;
using OrinCompiler = ScriptTest;

TEST_F(OrinCompiler, DeclarationsKeepHeldValuesAnywhereInTheFileAndArraysStartEmpty)
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
}

TEST_F(OrinCompiler, AnUnknownKeywordIsFollowedByWhereItIsAndTheKeywordItMostLikelyMeant)
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

TEST_F(OrinCompiler, CommentsBecomeLineEndsAndACommentedEndIsIgnored)
{
    const Strings tokens = Resource::Script::Tokenise("a //b c\nd /* e\nf */ g\nh//i j");
    const Strings stripped = ORINCompiler::StripComments(tokens);
    EXPECT_EQ(stripped, (Strings{"a", "", "", "d", "", "", "", "g", "", "h//i", "j", ""}));
    EXPECT_EQ(ORINCompiler::StripComments(stripped), stripped) << "stripping twice changes nothing";

    // The line after the commented [End] closes the section.
    ECS::IEntity* e = Compiled("Hero", "float x\n[Event]\nTrue\n[Action]\n// note [End]\n"
                                       "SetFloat #l_x 4\n[End]\n[Event] True\n[Action]\nSetFloat #l_x 9");
    ASSERT_EQ(Script(e).program->events.size(), 1u) << "the second event has no [End] and is dropped";
    Step(2);
    EXPECT_EQ(FloatOf(e, "x"), 4.0f);
}

TEST_F(OrinCompiler, EachPassReportsItsFirstErrorWithTheEntityName)
{
    struct Case
    {
        std::string text;
        Strings errors;
    };
    const Case cases[] = {
        {"float\n", {"Variables declared without aliases in "}},
        {"float[] a\nent[] a", {"Duplicate variable aliases in "}},
        {"[Event] True\n[Condition]\nNope\n[End]", {"Invalid Condition in "}},
        {"[ActionGroup] A\n[End]\n[ActionGroup] A\n[End]", {"Duplicate ActionGroup in "}},
        {"[OrGroup] G\n[End]\n[AndGroup] G\n[End]", {"Duplicate ConditionGroup in "}},
        {"float a\nfloat a\n[Event] X\n[End]\n[ActionGroup]\n[OrGroup] G\nBad\n[End]",
         {"Duplicate variable aliases in ", "Invalid Event in ", "Missing ActionGroup name in ",
          "Invalid Condition in "}},
    };
    for (const Case& c : cases)
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

} // namespace Varn::Test
