#include "support/EngineTest.h"

#include "ecs/Animator.h"

namespace
{

using Varn::ECS::Animation;
using Varn::ECS::Animator;

using AnimatorTest = Varn::Test::EngineTest;

TEST_F(AnimatorTest, CloneSelectsTheSameRunInItsOwnList)
{
    Animator original;
    original.animationList = {Animation(0, 3, "Idle", true), Animation(4, 9, "Run", false)};
    original.SetAnimation("Run");
    original.animationList[1].currentFrame = 6;
    original.frameTimer = 0.04f;

    auto cloned = original.Clone();
    auto& copy = static_cast<Animator&>(*cloned);
    ASSERT_EQ(copy.animationList.size(), 2u);
    EXPECT_EQ(copy.currentAnimation, &copy.animationList[1]);
    EXPECT_EQ(copy.currentAnimation->currentFrame, 6);
    EXPECT_FLOAT_EQ(copy.frameTimer, 0.04f);

    // Advancing the copy leaves the original where it was.
    copy.currentAnimation->currentFrame = 7;
    EXPECT_EQ(original.currentAnimation->currentFrame, 6);
}

} // namespace
