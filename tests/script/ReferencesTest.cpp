#include "script/ScriptTestSupport.h"

#include "ecs/RigidBody.h"
#include "script/ReferenceParser.h"
#include "script/References.h"

#include <cmath>

namespace Varn::Test
{

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
       NumbersReadAsFarAsTheyGoBoolsTakeOnlyFourWordsAndArrayCountsAndElementsFollowTheArray)
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
}

// Entities are pooled: a variable kept across steps must not follow its slot to the next entity.
TEST_F(ScriptReferences, AFreedEntityIsNotFollowedIntoItsReusedSlotByAVariableOrThePlayerReference)
{
    ECS::IEntity* e = Compiled("Hero", "ent target\nent[] list");
    ECS::IEntity* crate = Make("Crate");
    PlaceAt(crate, 4.0f);
    Script(e).entityList["target"] = crate;
    Script(e).entityArrays["list"] = {ECS::EntityHandle(crate)};
    EXPECT_EQ(ReadFloat(e, "#enttarget_trans_pos_x"), 4.0f);

    CurrentScene().RemoveEntity(crate, true);
    ECS::IEntity* barrel = Make("Barrel");
    ASSERT_EQ(barrel, crate) << "the pool hands the same slot out again";
    PlaceAt(barrel, 9.0f);
    engine->logger.Clear();
    EXPECT_THROW(ReadFloat(e, "#enttarget_trans_pos_x"), ScriptFailure);
    EXPECT_THROW(ReadFloat(e, "#entlist[0]_trans_pos_x"), ScriptFailure);
    EXPECT_EQ(Log(),
              (Strings{"[ERROR]Cannot find Entity #enttarget", "[ERROR]Cannot find Entity #entlist[0]"}));

    // Set again, the variable follows the new entity.
    Script(e).entityList["target"] = barrel;
    EXPECT_EQ(ReadFloat(e, "#enttarget_trans_pos_x"), 9.0f);

    // A player freed since the last look is looked up again, not followed into its slot.
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

TEST_F(ScriptReferences, PlayerTargetWritesThePlayersOwnVariableAndGlobalsResolveOnlyInTheirOwnType)
{
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

} // namespace Varn::Test
