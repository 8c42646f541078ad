#include "script/ScriptTestSupport.h"

#include "ecs/RigidBody.h"
#include "script/ReferenceParser.h"
#include "script/References.h"

#include <cmath>

namespace Varn::Test
{

using System::ReferenceParser;
using System::References;
using System::ScriptFailure;
using Strings = std::vector<std::string>;

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
        entity->GetComponent<Component::Transform>()->worldMatrix.m[0][3] = x;
    }
};

TEST_F(ScriptReferences, NumbersReadAsFarAsTheyGoAndBoolsTakeOnlyFourWords)
{
    ECS::IEntity* e = Compiled("Hero", "");
    EXPECT_EQ(ReadFloat(e, "2.5abc"), 2.5f);
    EXPECT_EQ(ReadFloat(e, "-3e2"), -300.0f);
    EXPECT_THROW(ReadFloat(e, "abc"), ScriptFailure);
    EXPECT_THROW(ReadFloat(e, "1e999"), ScriptFailure) << "out of range";
    EXPECT_TRUE(ReadBool(e, "1"));
    EXPECT_TRUE(ReadBool(e, "true"));
    EXPECT_FALSE(ReadBool(e, "false"));
    EXPECT_THROW(ReadBool(e, "yes"), ScriptFailure);
    EXPECT_EQ(ReadString(e, "plain"), "plain");
    EXPECT_TRUE(Log().empty());
}

TEST_F(ScriptReferences, LiteralsLandInTheirSlotAndVariablesAreReferencedInPlace)
{
    ECS::IEntity* e = Compiled("Hero", "float hp");
    float& a = Refs().Float(e, ReferenceParser::Prepare("1"), 0, false, 0);
    float& b = Refs().Float(e, ReferenceParser::Prepare("2"), 1, false, 0);
    EXPECT_EQ(a, 1.0f) << "each parameter keeps its own slot";
    EXPECT_EQ(b, 2.0f);
    Refs().Float(e, ReferenceParser::Prepare("#l_hp"), 2, false, 0) = 9.0f;
    EXPECT_EQ(FloatOf(e, "hp"), 9.0f);

    EXPECT_THROW(ReadFloat(e, "#l_missing"), ScriptFailure);
    Refs().Float(e, ReferenceParser::Prepare("#l_missing"), 0, true, 0) = 4.0f;
    EXPECT_EQ(FloatOf(e, "missing"), 4.0f) << "created when the statement assigns to it";
}

TEST_F(ScriptReferences, ArrayCountsAndElementsFollowTheArrayAsItChanges)
{
    ECS::IEntity* e = Compiled("Hero", "float[] speeds\nfloat i\nent[] list");
    EXPECT_EQ(ReadFloat(e, "#count_enemies"), 0.0f) << "no such array counts 0 without an error";
    Script(e).floatArrays["speeds"] = {10.0f, 20.0f, 30.0f};
    EXPECT_EQ(ReadFloat(e, "#count_speeds"), 3.0f);

    const System::ScriptParam element = ReferenceParser::Prepare("#l_speeds[#l_i]");
    Script(e).floatList["i"] = 1.7f;
    EXPECT_EQ(Refs().Float(e, element, 0, false, 0), 20.0f) << "the index is truncated";
    Script(e).floatList["i"] = 2.0f;
    EXPECT_EQ(Refs().Float(e, element, 0, false, 0), 30.0f) << "the index is read at every run";
    Script(e).floatList["i"] = 3.0f;
    EXPECT_THROW(Refs().Float(e, element, 0, false, 0), ScriptFailure);
    EXPECT_EQ(ReadFloat(e, "#l_speeds[last]"), 30.0f);

    EXPECT_THROW(ReadFloat(e, "#entlist[last]_trans_pos_x"), ScriptFailure) << "empty array";
    ECS::IEntity* first = Plain("First");
    ECS::IEntity* last = Plain("Last");
    PlaceAt(first, 5.0f);
    PlaceAt(last, 8.0f);
    Script(e).entityArrays["list"] = {first, last};
    EXPECT_EQ(ReadFloat(e, "#entlist[last]_trans_pos_x"), 8.0f);
    EXPECT_EQ(ReadFloat(e, "#entlist[0]_trans_pos_x"), 5.0f);
}

TEST_F(ScriptReferences, EntNamesPreferTheVariableThenTheSceneAndReportWhatIsMissing)
{
    ECS::IEntity* e = Compiled("Hero", "ent Boss");
    ECS::IEntity* sceneBoss = Plain("Boss");
    ECS::IEntity* decoy = Plain("Decoy");
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
}

TEST_F(ScriptReferences, MissingHitsReadAsZeroButMissingComponentsAreReported)
{
    ECS::IEntity* e = Compiled("Hero", "");
    EXPECT_EQ(ReadFloat(e, "#col_id"), 0.0f);
    EXPECT_EQ(ReadString(e, "#trg_name"), "");
    ECS::IEntity* rock = Plain("Rock");
    Script(e).collisionHits = {rock, e};
    EXPECT_EQ(ReadString(e, "#col_name"), "Rock");
    EXPECT_EQ(ReadFloat(e, "#col_id", 1), static_cast<float>(e->id)) << "the hit index picks the hit";
    EXPECT_THROW(Refs().Entity(e, ReferenceParser::Prepare("#col"), 0, false, 2), ScriptFailure);

    engine->logger.Clear();
    EXPECT_THROW(ReadFloat(e, "#self_rb_mass"), ScriptFailure);
    EXPECT_EQ(Log(), (Strings{"Missing RigidBody component in Hero."}));
    e->AddComponent<Component::RigidBody>()->mass = 4.0f;
    EXPECT_EQ(ReadFloat(e, "#self_rb_mass"), 4.0f);
    EXPECT_THROW(ReadFloat(e, "#self_nonsense"), ScriptFailure) << "an unknown field is no number";
    EXPECT_EQ(ReadString(e, "#self_nonsense"), "#self_nonsense") << "but it is a literal string";
}

TEST_F(ScriptReferences, PlayerTargetWritesThePlayersOwnVariable)
{
    ECS::IEntity* hero = Compiled("Hero", "float speed\n[Event] True\n[Action]\n#player SetFloat #l_speed 3\n"
                                          "SetFloat #l_mine #player_var_speed\n[End]");
    ECS::IEntity* player = Compiled("Player", "");
    Step(2);
    EXPECT_EQ(FloatOf(player, "speed"), 3.0f);
    EXPECT_EQ(FloatOf(hero, "speed"), 0.0f);
    EXPECT_EQ(FloatOf(hero, "mine"), 3.0f);
    EXPECT_TRUE(Log().empty());
}

TEST_F(ScriptReferences, GlobalsResolveOnlyInTheirOwnTypeAndAreNeverCreated)
{
    ECS::IEntity* e = Compiled("Hero", "");
    auto& globals = Scripts().compiler.globals;
    globals.floats["lives"] = 3.0f;
    globals.strings["title"] = "Hello big world";
    EXPECT_EQ(ReadFloat(e, "#g_lives"), 3.0f);
    EXPECT_EQ(ReadString(e, "#g_title"), "Hello big world");
    EXPECT_THROW(ReadString(e, "#g_lives"), ScriptFailure);
    EXPECT_THROW(Refs().Float(e, ReferenceParser::Prepare("#g_coins"), 0, true, 0), ScriptFailure);
    EXPECT_EQ(globals.floats.count("coins"), 0u);
}

TEST_F(ScriptReferences, EngineValuesReadTheEngineAtEachRun)
{
    ECS::IEntity* e = Compiled("Hero", "");
    Scripts().timeStep = 0.25f;
    EXPECT_EQ(ReadFloat(e, "#time_delta"), 0.25f);
    EXPECT_EQ(ReadFloat(e, "#time_fixeddelta"), 0.016666668f);
    engine->input->leftStick.x = -0.5f;
    EXPECT_EQ(ReadFloat(e, "#gamepad_lsx"), -0.5f);
    for (int i = 0; i < 20; ++i)
    {
        const float r = ReadFloat(e, "#math_random");
        ASSERT_TRUE(r >= 0.0f && r < 1.0f);
    }
    EXPECT_EQ(References::RandomRange(2.0f, 2.0f), 2.0f);
}

TEST_F(ScriptReferences, WrongParameterCountsAreReportedAndTheBlockGoesOn)
{
    ECS::IEntity* e =
        Compiled("Hero", "float a\n[Event] True\n[Action]\nSetFloat #l_a\nSetFloat #l_a 2\n[End]");
    Step(2);
    EXPECT_EQ(Log(), (Strings{"Invalid SetFloat parameters in Hero."}));
    EXPECT_EQ(FloatOf(e, "a"), 2.0f);
}

TEST_F(ScriptReferences, CompiledStatementsReadWhatTheTextReadsAfreshAsVariablesChange)
{
    Scripts().compiler.globals.floats["lives"] = 3.0f;
    const Strings texts = {"#l_a", "#g_lives", "#self_var_a", "#l_arr[#l_i]", "#count_arr", "#l_a[last]"};
    std::string text = "float a\nfloat i\nfloat[] arr\n[Event] True\n[Action]\n";
    for (std::size_t i = 0; i < texts.size(); ++i)
    {
        text += "SetFloat #l_out" + std::to_string(i) + " " + texts[i] + "\n";
    }
    ECS::IEntity* e = Compiled("Hero", text + "[End]");
    Step();
    for (int round = 0; round < 4; ++round)
    {
        Script(e).floatList["a"] = static_cast<float>(round) + 0.5f;
        Script(e).floatList["i"] = static_cast<float>(round % 2);
        Script(e).floatArrays["arr"] = {10.0f * static_cast<float>(round), 7.0f};
        Scripts().compiler.globals.floats["lives"] = static_cast<float>(9 - round);
        if (round == 2)
        {
            Scripts().CompileEntity(e); // maps rebuilt: earlier addresses must not be used
            Step();
        }
        engine->logger.Clear();
        Step();
        for (std::size_t i = 0; i < texts.size(); ++i)
        {
            float fresh = -12345.0f;
            try
            {
                fresh = ReadFloat(e, texts[i]);
            }
            catch (const ScriptFailure&)
            {
            }
            const std::string out = "out" + std::to_string(i);
            if (fresh == -12345.0f)
            {
                EXPECT_EQ(Log(), (Strings{"Something is wrong with Hero"})) << texts[i];
                break; // the failing statement stops the rest of the pass
            }
            EXPECT_EQ(FloatOf(e, out), fresh) << texts[i] << " in round " << round;
        }
    }
}

} // namespace Varn::Test
