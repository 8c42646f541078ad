#include "script/ScriptTestSupport.h"

#include <algorithm>

namespace Varn::Test
{

using Strings = std::vector<std::string>;

class ArrayActions : public ScriptTest
{
protected:
    bool InScene(const ECS::IEntity* e)
    {
        const auto& entities = CurrentScene().entities;
        return std::find(entities.begin(), entities.end(), e) != entities.end();
    }
};

TEST_F(ArrayActions, PopBackWithKillRemovesTheLastEntityAtTheEndOfTheStep)
{
    ECS::IEntity* a = Plain("A");
    ECS::IEntity* b = Plain("B");
    ECS::IEntity* e =
        Compiled("Hero", "ent[] enemies\n[Event] Initialize\n[Action]\nAddToArray enemies #entA\n"
                         "AddToArray enemies #entB\nPopBackArray enemies true\nPrint #count_enemies\n"
                         "Print #entB\n[End]");
    Step();
    EXPECT_EQ(Script(e).entityArrays.at("enemies"), (std::vector<ECS::IEntity*>{a}));
    EXPECT_EQ(Log(), (Strings{"1.000000 ", "B "})) << "B is still there until the step ends";
    EXPECT_TRUE(InScene(a));
    EXPECT_FALSE(InScene(b));
}

TEST_F(ArrayActions, PopAndClearWithoutKillKeepEntitiesAndEmptyArraysStayEmpty)
{
    ECS::IEntity* a = Plain("A");
    ECS::IEntity* e =
        Compiled("Hero", "ent[] list\nfloat[] nums\nfloat n\n[Event] Initialize\n[Action]\n"
                         "AddToArray list #entA\nClearArray list false\nPopBackArray list true\n"
                         "AddToArray nums 3\nAddToArray nums 4.5\nArraySize nums #l_n\n"
                         "PopBackArray nums\n[End]");
    Step();
    EXPECT_TRUE(InScene(a));
    EXPECT_TRUE(Script(e).entityArrays.at("list").empty());
    EXPECT_EQ(Script(e).floatArrays.at("nums"), (std::vector<float>{3.0f}));
    EXPECT_EQ(FloatOf(e, "n"), 2.0f);
}

TEST_F(ArrayActions, ClearWithKillKillsEveryEntityAndValuesTakeTheElementType)
{
    ECS::IEntity* a = Plain("A");
    ECS::IEntity* b = Plain("B");
    ECS::IEntity* e =
        Compiled("Hero", "ent[] all\nbool[] flags\nstring[] words\n[Event] Initialize\n[Action]\n"
                         "AddToArray all #entA\nAddToArray all #entB\nClearArray all true\n"
                         "AddToArray flags true\nAddToArray words hello\n[End]");
    Step();
    EXPECT_FALSE(InScene(a));
    EXPECT_FALSE(InScene(b));
    EXPECT_EQ(Script(e).boolArrays.at("flags").size(), 1u);
    EXPECT_TRUE(Script(e).boolArrays.at("flags").front());
    EXPECT_EQ(Script(e).stringArrays.at("words"), (Strings{"hello"}));
}

TEST_F(ArrayActions, MissingArrayIsReportedAndTheBlockGoesOn)
{
    Compiled(
        "Hero",
        "float n\n[Event] Initialize\n[Action]\nAddToArray ghosts 1\nArraySize ghosts #l_n\nPrint on\n[End]");
    Step();
    EXPECT_EQ(Log(), (Strings{"Missing array ghosts in Hero.", "Missing array ghosts in Hero.", "on "}));
}

} // namespace Varn::Test
