#include "support/EngineTest.h"

#include "ecs/EntityManager.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"

namespace Varn::Test
{

using ECS::IEntity;
using ECS::Transform;

class Transforms : public EngineTest
{
protected:
    Transform* Make(IEntity* parent = nullptr)
    {
        IEntity* e = engine->entities->CreateEntity();
        Transform* t = e->AddComponent<Transform>();
        e->parent = parent;
        CurrentScene().AddEntity(e);
        return t;
    }
    void Step() { CurrentScene().transformSystem->Update(0.0f); }
};

TEST_F(Transforms, QuarterTurnWithDoubleWidthMapsXOntoWorldUpAndFlipsCombineDownTheHierarchy)
{
    Transform* parent = Make();
    parent->angle = {0, 0, 90, 0};
    parent->scale = {2, 1, 1, 0};
    Transform* child = Make(parent->owner);
    Step();
    // The child's local x axis, through the parent, points up with length 2.
    EXPECT_NEAR(child->worldMatrix.m[0][0], 0.0f, 1e-6f);
    EXPECT_NEAR(child->worldMatrix.m[1][0], 2.0f, 1e-6f);
    EXPECT_NEAR(child->worldScale.x, 2.0f, 1e-6f);
    EXPECT_NEAR(child->worldScale.y, 1.0f, 1e-6f);

    // Flips combine down the hierarchy.
    Transform* root = Make();
    Transform* middle = Make(root->owner);
    Transform* leaf = Make(middle->owner);
    root->flipX = true;
    leaf->flipX = true;
    middle->flipY = true;
    Step();
    EXPECT_TRUE(middle->worldFlipX);
    EXPECT_TRUE(middle->worldFlipY);
    EXPECT_FALSE(leaf->worldFlipX);
    EXPECT_TRUE(leaf->worldFlipY);
}

TEST_F(Transforms, ParallelSlicesMatchASerialPass)
{
    // Deep chains across slice boundaries: every entity reads only its ancestors' raw fields.
    std::vector<Transform*> all;
    for (int i = 0; i < 403; ++i)
    {
        Transform* t = Make(i % 7 == 0 || all.empty() ? nullptr : all.back()->owner);
        t->position = {static_cast<float>(i), static_cast<float>(i % 13), 0, 0};
        t->angle = {0, 0, static_cast<float>(i * 7 % 360), 0};
        t->scale = {1.0f + static_cast<float>(i % 3), 1, 1, 0};
        t->flipX = i % 5 == 0;
        all.push_back(t);
    }
    Step();
    std::vector<Matrix4> parallel;
    for (const Transform* t : all)
    {
        parallel.push_back(t->worldMatrix);
    }
    for (IEntity* e : CurrentScene().transformSystem->Entities())
    {
        ECS::TransformSystem::UpdateEntity(e);
    }
    for (std::size_t i = 0; i < all.size(); ++i)
    {
        ASSERT_EQ(parallel[i], all[i]->worldMatrix) << "entity " << i;
    }
    EXPECT_GT(CurrentScene().transformSystem->lastUpdateSeconds, 0.0f);
}

} // namespace Varn::Test
