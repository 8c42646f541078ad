#include "script/ScriptTestSupport.h"

#include "ecs/Camera.h"
#include "ecs/RigidBody.h"
#include "ecs/TransformSystem.h"

namespace Varn::Test
{

using Strings = std::vector<std::string>;

class TransformActions : public ScriptTest
{
protected:
    // Compiles the actions as an Initialize event and runs one step of `dt` seconds.
    ECS::IEntity* Once(const std::string& name, const std::string& actions, float dt = 1.0f / 60.0f)
    {
        ECS::IEntity* e = Compiled(name, "[Event] Initialize\n[Action]\n" + actions + "\n[End]");
        Scripts().Update(dt);
        return e;
    }
    static Component::Transform& TransformOf(ECS::IEntity* e)
    {
        return *e->GetComponent<Component::Transform>();
    }
};

TEST_F(TransformActions, TranslateRotateAndScaleUseTheStepOnlyWhenAskedWhileSettersReplaceXYZ)
{
    ECS::IEntity* plain = Once("Plain", "Translate 1 0 0\nTranslate 0 2 0", 0.5f);
    ECS::IEntity* fixed = Once("Fixed", "Translate 1 0 3 fixed", 0.5f);
    EXPECT_FLOAT_EQ(TransformOf(plain).position.x, 0.016666668f);
    EXPECT_FLOAT_EQ(TransformOf(plain).position.y, 2.0f * 0.016666668f);
    EXPECT_FLOAT_EQ(TransformOf(fixed).position.x, 0.5f);
    EXPECT_FLOAT_EQ(TransformOf(fixed).position.z, 1.5f);
    Once("Bad", "Translate 1 0", 0.5f);
    EXPECT_EQ(Log().back(), "Invalid Translate parameters in Bad.");

    // Rotate and Scale use the step too; the setters replace x, y and z.
    ECS::IEntity* e = Once("Hero", "Rotate 0 0 90\nScale 2 0 0\nSetPosition 3 4 5", 0.5f);
    EXPECT_EQ(TransformOf(e).angle, (Math::Vector4{0, 0, 45, 0}));
    EXPECT_EQ(TransformOf(e).scale.x, 2.0f);
    EXPECT_EQ(TransformOf(e).scale.y, 1.0f);
    EXPECT_EQ(TransformOf(e).position, (Math::Vector4{3, 4, 5, 0}));
    ECS::IEntity* f = Once("Foe", "SetRotation 1 2 3\nSetScale 4 5 6");
    EXPECT_EQ(TransformOf(f).angle, (Math::Vector4{1, 2, 3, 0}));
    EXPECT_EQ(TransformOf(f).scale, (Math::Vector4{4, 5, 6, 0}));
}

TEST_F(TransformActions, LookAtTurnsTheFacingSideMirrorsWhenFlippedAndFindsOneEntityByIdOrName)
{
    ECS::IEntity* up = Once("Up", "LookAt 0 5 0");
    EXPECT_FLOAT_EQ(TransformOf(up).angle.z, 90.0f);
    ECS::IEntity* back = Once("Back", "LookAt -3 0 0");
    EXPECT_FLOAT_EQ(TransformOf(back).angle.z, 180.0f);
    ECS::IEntity* flipped = Compiled("Flipped", "[Event] Initialize\n[Action]\nLookAt 0 5 0\n[End]");
    TransformOf(flipped).flipX = true;
    TransformOf(flipped).angle.x = 7.0f;
    Step();
    EXPECT_FLOAT_EQ(TransformOf(flipped).angle.z, -90.0f);
    EXPECT_EQ(TransformOf(flipped).angle.x, 7.0f);

    ECS::IEntity* target = Plain("Target");
    TransformOf(target).position = {0, -2, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    ECS::IEntity* byName = Once("ByName", "LookAt Target");
    EXPECT_FLOAT_EQ(TransformOf(byName).angle.z, -90.0f);
    ECS::IEntity* byId = Once("ById", "LookAt " + std::to_string(target->id));
    EXPECT_FLOAT_EQ(TransformOf(byId).angle.z, -90.0f);
    Once("Lost", "LookAt Nobody");
    EXPECT_EQ(Log().back(), "Something is wrong with Lost");
}

TEST_F(TransformActions, MoveTowardsSetsTheVelocityAndNeedsARigidBody)
{
    Once("Walker", "MoveTowards 3 4 0 10");
    EXPECT_EQ(Log().back(), "Missing RigidBody component in Walker.");
    ECS::IEntity* e = Compiled("Runner", "[Event] Initialize\n[Action]\nMoveTowards 4 5 0 10\n[End]");
    TransformOf(e).position = {1, 1, 0, 0};
    auto* body = e->AddComponent<Component::RigidBody>();
    CurrentScene().transformSystem->UpdateAll();
    Step();
    EXPECT_FLOAT_EQ(body->velocity.x, 6.0f);
    EXPECT_FLOAT_EQ(body->velocity.y, 8.0f);
}

TEST_F(TransformActions, CameraFollowMovesByTheFractionAndFailsWithoutACamera)
{
    ECS::IEntity* e = Compiled("Cam", "[Event] Initialize\n[Action]\nCameraFollow 10 20 0 3 0.5\n[End]");
    auto* camera = e->AddComponent<Component::Camera>();
    camera->zoom = 1.0f;
    Step();
    EXPECT_EQ(TransformOf(e).position, (Math::Vector4{5, 10, 0, 0}));
    EXPECT_EQ(camera->zoom, 2.0f);
    EXPECT_EQ(camera->startPosition, (Math::Vector4{5, 10, 0, 0}));
    Once("Hero", "CameraFollow 10 20 0 3 0.5");
    EXPECT_EQ(Log().back(), "Something is wrong with Hero");
}

TEST_F(TransformActions, ParallaxFollowsTheMainCameraByTheFactor)
{
    ECS::IEntity* camera = CurrentScene().mainCamera;
    TransformOf(camera).position = {100, 50, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    ECS::IEntity* e = Compiled("Hills", "[Event] Initialize\n[Action]\nParallax 20 10 0.5 1 2\n[End]");
    TransformOf(e).position.z = -4.0f;
    Step();
    EXPECT_EQ(TransformOf(e).position, (Math::Vector4{41, 22, -4, 0}));
    Once("Bad", "Parallax 1 2");
    EXPECT_EQ(Log().back(), "Invalid ParallaxAction parameters in Bad.");
}

} // namespace Varn::Test
