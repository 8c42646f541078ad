#include "support/EngineTest.h"
#include "support/ScratchFolder.h"

#include "ecs/EntityManager.h"
#include "ecs/Transform.h"
#include "scene/JSONManager.h"

#include <algorithm>
#include <string>

namespace Varn::Test
{

using ECS::IEntity;

class Prefabs : public EngineTest
{
protected:
    Scene::JSONManager& Loader() { return *engine->jsonManager; }
    static Vector4 PositionOf(const IEntity* entity)
    {
        return entity->GetComponent<ECS::Transform>()->position;
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
    const auto& world = shot->GetComponent<ECS::Transform>()->worldMatrix.m;
    EXPECT_EQ(world[0][3], 300.0f);
    EXPECT_EQ(world[1][3], 40.0f);
    const auto& trail = Get("Trail")->GetComponent<ECS::Transform>()->worldMatrix.m;
    EXPECT_EQ(trail[0][3], 296.0f);
    EXPECT_EQ(trail[1][3], 40.0f);
    EXPECT_EQ(Get("Trail")->parent, shot);
    EXPECT_EQ(PositionOf(Find("Trail")), (Vector4{-4, 0, 0, 0})) << "children keep their local place";
    EXPECT_EQ(shot->scene, &CurrentScene());
    EXPECT_TRUE(engine->logger.Lines().empty());
}

TEST_F(Prefabs, SecondInstanceComesFromTheCachedTextAndIsIndependent)
{
    const std::string line =
        R"([{"ID":"Coin","ID Type":0,"Current Parent ID":1,"Transform":{}},)"
        R"({"ID":"Shine","ID Type":0,"Current Parent ID":2,"Parent ID":1,"Transform":{}}])";
    const std::string path = scratch.Write("coin.prefab", line + "\nnotes an editor left, never read\n");
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
    EXPECT_EQ(Loader().prefabs.fileCache, (std::map<std::string, std::string>{{path, line}}))
        << "the first line only";
}

TEST_F(Prefabs, BrokenFirstEntityInvalidTextOrMissingFileGivesNullAndSaysWhy)
{
    const std::string path =
        scratch.Write("half.prefab", R"([{"ID":"Bad","ID Type":0,"Current Parent ID":1,"Transform":[1]},)"
                                     R"({"ID":"Good","ID Type":0,"Current Parent ID":2,"Transform":{}}])");
    EXPECT_EQ(Loader().LoadPrefab(path, {4, 0, 0, 0}), nullptr);
    EXPECT_EQ(Count("Bad"), 0u);
    ASSERT_NE(Find("Good"), nullptr);
    EXPECT_EQ(PositionOf(Find("Good")).x, 4.0f);
    EXPECT_EQ(LogCount("Error: Load Failed. Transform Failed to Load"), 1u);

    // Text that is no prefab is reported; a missing file is tried again next time.
    const std::string object = scratch.Write("object.prefab", R"({"ID":"NotAnArray"})");
    EXPECT_EQ(Loader().LoadPrefab(object, {}), nullptr);
    const std::string later = scratch.Path("later.prefab");
    EXPECT_EQ(Loader().LoadPrefab(later, {}), nullptr);
    EXPECT_EQ(LogCount("Error: Load Failed. Prefab is Invalid"), 2u);
    EXPECT_EQ(LogCount(object + ":1: the prefab line is not a JSON array of entities"), 1u);
    EXPECT_EQ(LogCount(later + ": the file is missing or empty"), 1u);
    scratch.Write("later.prefab", R"([{"ID":"Late","ID Type":0,"Current Parent ID":1,"Transform":{}}])");
    IEntity* late = Loader().LoadPrefab(later, {});
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->name, "Late");
}

} // namespace Varn::Test
