#include "support/EngineTest.h"
#include "support/ScratchFolder.h"

#include "core/Timer.h"
#include "ecs/EntityManager.h"
#include "ecs/ScriptComponent.h"
#include "ecs/Transform.h"
#include "resource/ResourceManager.h"
#include "scene/JSONManager.h"
#include "script/ScriptSystem.h"

#include <algorithm>
#include <string>

namespace Varn::Test
{

using ECS::IEntity;

class Prefabs : public EngineTest
{
protected:
    System::JSONManager& Loader() { return *engine->jsonManager; }
    IEntity* Find(const std::string& name)
    {
        return ECS::EntityManager::FindByName(CurrentScene().entities, name);
    }
    static Math::Vector4 PositionOf(const IEntity* entity)
    {
        return entity->GetComponent<Component::Transform>()->position;
    }
    std::size_t Count(const std::string& name) const
    {
        const auto& entities = engine->scenes->current->entities;
        return static_cast<std::size_t>(std::count_if(entities.begin(), entities.end(),
                                                      [&](const IEntity* e) { return e->name == name; }));
    }
    std::size_t LogCount(const std::string& line) const
    {
        const auto& lines = engine->logger.Lines();
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }

    ScratchFolder scratch;
};

TEST_F(Prefabs, AnInstanceIsAtItsPlaceInTheWorldBeforeTheTransformsRun)
{
    // A bullet fired this step must not meet, in this step's collisions, what lies at the origin.
    const std::string path =
        scratch.Write("shot.prefab", R"([{"ID":"Shot","ID Type":0,"Current Parent ID":1,"Transform":{}},)"
                                     R"({"ID":"Trail","ID Type":0,"Current Parent ID":2,"Parent ID":1,)"
                                     R"("Transform":{"Position":{"X":-4,"Y":0,"Z":0,"W":0}}}])");
    IEntity* shot = Loader().LoadPrefab(path, {300, 40, 1, 0});
    ASSERT_NE(shot, nullptr);
    const auto& world = shot->GetComponent<Component::Transform>()->worldMatrix.m;
    EXPECT_EQ(world[0][3], 300.0f);
    EXPECT_EQ(world[1][3], 40.0f);
    const auto& trail = Find("Trail")->GetComponent<Component::Transform>()->worldMatrix.m;
    EXPECT_EQ(trail[0][3], 296.0f);
    EXPECT_EQ(trail[1][3], 40.0f);
}

TEST_F(Prefabs, RootsGoToTheRequestedPositionAndChildrenKeepTheirLocalOnes)
{
    const std::string path =
        scratch.Write("crate.prefab", R"([{"ID":"Crate","ID Type":0,"Current Parent ID":1,)"
                                      R"("Transform":{"Position":{"X":50,"Y":60,"Z":7,"W":0}}},)"
                                      R"({"ID":"Lid","ID Type":0,"Current Parent ID":2,"Parent ID":1,)"
                                      R"("Transform":{"Position":{"X":0,"Y":2,"Z":0,"W":0}}}])"
                                      "\nthis second line is never read");
    const std::size_t before = CurrentScene().entities.size();
    IEntity* crate = Loader().LoadPrefab(path, {3, 4, 5, 6});
    ASSERT_NE(crate, nullptr);
    EXPECT_EQ(crate->name, "Crate");
    EXPECT_EQ(PositionOf(crate), (Math::Vector4{3, 4, 5, 6}));
    IEntity* lid = Find("Lid");
    ASSERT_NE(lid, nullptr);
    EXPECT_EQ(lid->parent, crate);
    EXPECT_EQ(PositionOf(lid), (Math::Vector4{0, 2, 0, 0}));
    EXPECT_EQ(CurrentScene().entities.size(), before + 2);
    EXPECT_EQ(crate->scene, &CurrentScene());
    EXPECT_TRUE(Loader().newEntities.empty());
    EXPECT_TRUE(engine->logger.Lines().empty());
}

TEST_F(Prefabs, SecondInstanceComesFromTheCachedTextAndIsIndependent)
{
    const std::string path = scratch.Write(
        "coin.prefab", R"([{"ID":"Coin","ID Type":0,"Current Parent ID":1,"Transform":{}},)"
                       R"({"ID":"Shine","ID Type":0,"Current Parent ID":2,"Parent ID":1,"Transform":{}}])");
    IEntity* first = Loader().LoadPrefab(path, {1, 0, 0, 0});
    scratch.Remove("coin.prefab"); // only the cache can serve the second instance
    IEntity* second = Loader().LoadPrefab(path, {2, 0, 0, 0});
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(PositionOf(first).x, 1.0f);
    EXPECT_EQ(PositionOf(second).x, 2.0f);
    EXPECT_EQ(Count("Coin"), 2u);
    EXPECT_EQ(Count("Shine"), 2u);
    // Each shine hangs under the coin of its own instance.
    for (const IEntity* e : CurrentScene().entities)
    {
        if (e->name == "Shine")
        {
            EXPECT_TRUE(e->parent == first || e->parent == second);
        }
    }
    EXPECT_NE(Find("Shine")->parent, nullptr);
    EXPECT_EQ(Loader().fileCache.size(), 1u);
}

TEST_F(Prefabs, EntityWithoutLinkKeyIsNeverPositionedAndRootWithoutTransformIsSkipped)
{
    const std::string loose = scratch.Write(
        "loose.prefab", R"([{"ID":"Loose","ID Type":0,"Transform":{"Position":{"X":9,"Y":8,"Z":0,"W":0}}}])");
    IEntity* entity = Loader().LoadPrefab(loose, {1, 1, 1, 1});
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(PositionOf(entity), (Math::Vector4{9, 8, 0, 0}));

    const std::string bare =
        scratch.Write("bare.prefab", R"([{"ID":"Bare","ID Type":0,"Current Parent ID":1}])");
    IEntity* noTransform = Loader().LoadPrefab(bare, {1, 1, 1, 1});
    ASSERT_NE(noTransform, nullptr);
    EXPECT_EQ(noTransform->GetComponent<Component::Transform>(), nullptr);
}

TEST_F(Prefabs, BrokenFirstEntityGivesNullWhileTheOthersLoad)
{
    const std::string path =
        scratch.Write("half.prefab", R"([{"ID":"Bad","ID Type":0,"Current Parent ID":1,"Transform":[1]},)"
                                     R"({"ID":"Good","ID Type":0,"Current Parent ID":2,"Transform":{}}])");
    EXPECT_EQ(Loader().LoadPrefab(path, {4, 0, 0, 0}), nullptr);
    EXPECT_EQ(Count("Bad"), 0u);
    ASSERT_NE(Find("Good"), nullptr);
    EXPECT_EQ(PositionOf(Find("Good")).x, 4.0f);
    EXPECT_EQ(LogCount("Error: Load Failed. Transform Failed to Load"), 1u);
}

TEST_F(Prefabs, InvalidTextIsReportedAndAMissingFileIsTriedAgain)
{
    const std::string object = scratch.Write("object.prefab", R"({"ID":"NotAnArray"})");
    EXPECT_EQ(Loader().LoadPrefab(object, {}), nullptr);
    const std::string later = scratch.Path("later.prefab");
    EXPECT_EQ(Loader().LoadPrefab(later, {}), nullptr);
    EXPECT_EQ(LogCount("Error: Load Failed. Prefab is Invalid"), 2u);
    scratch.Write("later.prefab", R"([{"ID":"Late","ID Type":0,"Current Parent ID":1,"Transform":{}}])");
    IEntity* late = Loader().LoadPrefab(later, {});
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->name, "Late");
}

TEST_F(Prefabs, ScriptReferencesResolveAmongThePrefabsOwnEntities)
{
    const std::string script = scratch.Write("gun.orin", "ent target\n");
    const std::string path = scratch.Write(
        "pair.prefab",
        R"([{"ID":"Gun","ID Type":0,"Current Parent ID":1,"Transform":{},"Script":{"File Path":{"File Path 0":")" +
            script +
            R"("},"Entity List":{"target":2}}},)"
            R"({"ID":"Sight","ID Type":0,"Current Parent ID":2,"Transform":{}}])");
    IEntity* gun = Loader().LoadPrefab(path, {});
    ASSERT_NE(gun, nullptr);
    auto* component = gun->GetComponent<Component::ScriptComponent>();
    ASSERT_NE(component, nullptr);
    ASSERT_EQ(component->entityList.count("target"), 1u);
    EXPECT_EQ(component->entityList.at("target"), Find("Sight"));
}

// A clock that moves 20 ms each time it is read, so every frame has a step to run.
class RunningClock final : public Time::IClock
{
public:
    int64_t NowNanoseconds() const override { return now += 20000000; }
    mutable int64_t now = 1000000000;
};

class LoadingFrames : public WindowedEngineTest
{
protected:
    void SetUp() override
    {
        WindowedEngineTest::SetUp();
        engine->timer->SetClock(&running);
    }
    ECS::IEntity* Scripted(const std::string& name, const std::string& text)
    {
        ECS::IEntity* entity = engine->entities->CreateEntity(name);
        entity->AddComponent<Component::Transform>();
        auto* script = entity->AddComponent<Component::ScriptComponent>();
        script->filePath.push_back(engine->resources->LoadScript(scratch.Write(name + ".orin", text)));
        CurrentScene().AddEntity(entity);
        CurrentScene().scriptSystem->CompileEntity(entity);
        return entity;
    }

    RunningClock running;
    ScratchFolder scratch;
};

TEST_F(LoadingFrames, OldSceneKeepsRunningWhileLoadingAndItsLateRequestsAreDropped)
{
    std::string entities;
    for (int i = 0; i < 20; ++i)
    {
        entities += std::string(i == 0 ? "" : ",") + R"({"ID":"N)" + std::to_string(i) +
                    R"(","ID Type":0,"Transform":{}})";
    }
    const std::string next = scratch.Write("next.scene", "[" + entities + "]");
    System::ScriptSystem& scripts = *CurrentScene().scriptSystem;
    scripts.compiler.globals.floats["frames"] = 0.0f;
    ECS::IEntity* screen =
        Scripted("Screen", "[Event] True\n[Action]\nFloatOp #g_frames + 1 #g_frames\nLoadSceneSynchro " +
                               next + "\n[End]");

    scripts.Update(1.0f / 60.0f); // Initialize only
    scripts.Update(1.0f / 60.0f); // requests the switch and loads with frames
    EXPECT_EQ(scripts.compiler.globals.floats.at("frames"), 2.0f) << "one loading frame ran the old scene";
    EXPECT_EQ(CurrentScene().name, next);
    EXPECT_TRUE(screen->components.empty());
    ASSERT_EQ(CurrentScene().entities.size(), 20u);
    EXPECT_FALSE(scripts.sceneRequested);

    ECS::IEntity* first = CurrentScene().entities.front();
    scripts.Update(1.0f / 60.0f);
    EXPECT_EQ(CurrentScene().entities.front(), first) << "no second load";
    EXPECT_EQ(scripts.compiler.globals.floats.at("frames"), 2.0f);
}

} // namespace Varn::Test
