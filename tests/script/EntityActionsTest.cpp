#include "script/ScriptTestSupport.h"

#include "ecs/RigidBody.h"
#include "ecs/TransformSystem.h"
#include "scene/JSONManager.h"

#include <algorithm>

namespace Varn::Test
{

using Strings = std::vector<std::string>;

class EntityActions : public ScriptTest
{
protected:
    ECS::IEntity* Once(const std::string& name, const std::string& actions,
                       const std::string& declarations = "")
    {
        ECS::IEntity* e =
            Compiled(name, declarations + "\n[Event] Initialize\n[Action]\n" + actions + "\n[End]");
        Step();
        return e;
    }
    bool InScene(const ECS::IEntity* e)
    {
        const auto& entities = CurrentScene().entities;
        return std::find(entities.begin(), entities.end(), e) != entities.end();
    }
};

TEST_F(EntityActions, KillThenSetPositionStillMovesTheEntityBeforeItGoes)
{
    ECS::IEntity* child = Plain("Child");
    ECS::IEntity* e = Compiled("Hero", "[Event] Initialize\n[Action]\nKill\nSetPosition 7 0 0\n"
                                       "Print #self_trans_lpos_x\n[End]");
    child->parent = e;
    Step();
    EXPECT_EQ(Log(), (Strings{"7.000000 "}));
    EXPECT_FALSE(InScene(e));
    EXPECT_FALSE(InScene(child)) << "descendants go with it";
    Once("Bad", "Kill 1 2");
    EXPECT_EQ(Log().back(), "Invalid Kill parameters in Bad.");
    ECS::IEntity* oof = Once("Oof", "Oof ignored");
    EXPECT_FALSE(InScene(oof));
}

TEST_F(EntityActions, LayersReachDescendantsWhileActivityAndRoomsStayOnTheirEntity)
{
    ECS::IEntity* child = Plain("Child");
    ECS::IEntity* grandchild = Plain("Grandchild");
    ECS::IEntity* e = Compiled("Hero", "[Event] Initialize\n[Action]\nSetLayer 3.9\nSetRoom 2\n"
                                       "SetActiveChildren false\n[End]");
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
    ECS::IEntity* other = Plain("Other");
    Once("Switch", "SetActive false #entOther\nSetLayer 5 #entOther");
    EXPECT_FALSE(other->gameObjectActive);
    EXPECT_EQ(other->layer, 5u);
}

TEST_F(EntityActions, ParentLinksByIdOrReferenceAndLoopsAreRefused)
{
    ECS::IEntity* box = Plain("Box");
    ECS::IEntity* e = Once("Hero", "AttachChild " + std::to_string(box->id));
    EXPECT_EQ(box->parent, e);
    Once("Linker", "SetParent #entBox #entHero");
    EXPECT_EQ(e->parent, nullptr) << "Box under Hero under Box would close a loop";
    EXPECT_EQ(Log().back(), "Something is wrong with Linker");
    ECS::IEntity* other = Plain("Other");
    ECS::IEntity* f = Once("Follower", "SetParent " + std::to_string(other->id));
    EXPECT_EQ(f->parent, other);
    Once("Loose", "SetParent 99999");
    EXPECT_EQ(Log().back(), "Something is wrong with Loose");
    ECS::IEntity* d = Once("Detached", "SetParent #entOther\nDetachParent");
    EXPECT_EQ(d->parent, nullptr);
}

TEST_F(EntityActions, CreatePrefabPlacesTurnsLayersAndStoresTheNewEntity)
{
    const std::string path =
        scratch.Write("bat.prefab", R"([{"ID":"Bat","ID Type":0,"Current Parent ID":1,"Transform":{}}])");
    ECS::IEntity* e = Once("Hero", "CreatePrefab " + path + " 1 2 3 45 6 #entbat\nPrint #entbat", "ent bat");
    ECS::IEntity* bat = Script(e).entityList.at("bat");
    ASSERT_NE(bat, nullptr);
    EXPECT_EQ(bat->name, "Bat");
    EXPECT_EQ(bat->GetComponent<Component::Transform>()->position, (Math::Vector4{1, 2, 3, 0}));
    EXPECT_EQ(bat->GetComponent<Component::Transform>()->angle, (Math::Vector4{0, 0, 45, 0}));
    EXPECT_EQ(bat->layer, 6u);
    EXPECT_EQ(Log().back(), "Bat ");

    ECS::IEntity* spawner =
        Compiled("Spawner", "[Event] Initialize\n[Action]\nCreatePrefab " + path + " x\n[End]");
    spawner->GetComponent<Component::Transform>()->position = {8, 9, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    Step();
    int bats = 0;
    for (const ECS::IEntity* candidate : CurrentScene().entities)
    {
        if (candidate->name == "Bat" && candidate != bat)
        {
            ++bats;
            EXPECT_EQ(candidate->GetComponent<Component::Transform>()->position.x, 8.0f);
            EXPECT_EQ(candidate->GetComponent<Component::Transform>()->position.y, 9.0f);
        }
    }
    EXPECT_EQ(bats, 1);
    Once("Bad", "CreatePrefab " + path + " 1 2");
    EXPECT_EQ(Log().back(), "Invalid CreatePrefab parameters in Bad.");
}

} // namespace Varn::Test
