#include "support/EngineTest.h"

#include "ecs/EntityManager.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"

#include <cstring>
#include <random>

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

// The turn about z alone is written out; it must give the general product's bits, signed zeros
// included, or a side-view scene would move differently from one with a tilt.
TEST(Transform, LocalMatrixOfATurnAboutZIsTheGeneralProductBitForBit)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> any(-400.0f, 400.0f);
    for (int i = 0; i < 2000; ++i)
    {
        Transform t;
        const float quarter = static_cast<float>(i % 9) * 45.0f - 180.0f; // exact turns give exact zeros
        t.angle = {i % 11 == 0 ? -0.0f : 0.0f, 0.0f, i % 3 == 0 ? quarter : any(random), 0};
        t.position = {any(random), i % 4 == 0 ? -0.0f : any(random), any(random), 0};
        t.scale = {any(random), i % 5 == 0 ? -0.0f : any(random), i % 6 == 0 ? 0.0f : any(random), 0};
        t.flipX = i % 2 == 0;
        t.flipY = i % 7 == 0;
        Matrix4 translation = Matrix4::Identity(), flipScale = Matrix4::Identity();
        translation.m[0][3] = t.position.x, translation.m[1][3] = t.position.y,
        translation.m[2][3] = t.position.z;
        flipScale.m[0][0] = (t.flipX ? -1.0f : 1.0f) * t.scale.x;
        flipScale.m[1][1] = (t.flipY ? -1.0f : 1.0f) * t.scale.y;
        flipScale.m[2][2] = t.scale.z;
        const Matrix4 general = translation * Transform::RotationMatrix(t.angle) * flipScale;
        const Matrix4 local = t.ComputeLocalMatrix();
        ASSERT_EQ(std::memcmp(&general, &local, sizeof general), 0) << "case " << i;
    }
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
