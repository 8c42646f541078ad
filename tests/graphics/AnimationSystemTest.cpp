#include "support/EngineTest.h"

#include "ecs/Animator.h"
#include "ecs/SpriteRenderer.h"
#include "graphics/AnimationSystem.h"
#include "resource/Mesh2D.h"

namespace Varn::Test
{

using Graphics::AnimationSystem;

class SpriteAnimation : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        entity = engine->entities->CreateEntity("Walker");
        animator = entity->AddComponent<ECS::Animator>();
        sprite = entity->AddComponent<ECS::SpriteRenderer>();
        sprite->mesh = &sheet;
        CurrentScene().AddEntity(entity);
    }

    void Play(ECS::Animation run)
    {
        animator->animationList = {std::move(run)};
        animator->currentAnimation = &animator->animationList[0];
        animator->secondsPerFrame = 0.1f;
        animator->frameTimer = 0.1f;
    }

    // The frames shown after each of `steps` steps of dt seconds.
    std::vector<int> Shown(int steps, float dt)
    {
        std::vector<int> frames;
        for (int i = 0; i < steps; ++i)
        {
            CurrentScene().animationSystem->Update(dt);
            frames.push_back(static_cast<int>(sprite->frame));
        }
        return frames;
    }

    Resource::Mesh2D sheet{4, 2}; // no OpenGL context here: only columns and rows are read
    ECS::IEntity* entity = nullptr;
    ECS::Animator* animator = nullptr;
    ECS::SpriteRenderer* sprite = nullptr;
};

TEST_F(SpriteAnimation, RunsWrapEitherWayOneShotsHoldTheirLastFrameAndCellsCountAcrossThenDown)
{
    Play(ECS::Animation(0, 3, "Walk", true));
    EXPECT_EQ(Shown(5, 0.1f), (std::vector<int>{1, 2, 3, 0, 1}));
    Play(ECS::Animation(0, 3, "Die", false));
    EXPECT_EQ(Shown(5, 0.1f), (std::vector<int>{1, 2, 3, 3, 3}));

    // A reverse run wraps to its end.
    ECS::Animation run(2, 5, "Back", true);
    run.reverse = true;
    Play(run);
    EXPECT_EQ(Shown(2, 0.1f), (std::vector<int>{5, 4}));

    // The cell offset counts across, then down; frames past the sheet wrap to its first cells.
    Play(ECS::Animation(5, 5, "Cell", true));
    animator->currentAnimation->currentFrame = 4;
    Shown(1, 0.1f);
    EXPECT_EQ(sprite->frame, 5u);
    EXPECT_EQ(sprite->texOffset, (std::array<float, 2>{0.25f, 0.5f}));
    EXPECT_EQ(AnimationSystem::CellOffset(7, 4, 2), (std::array<float, 2>{0.75f, 0.5f}));
    EXPECT_EQ(AnimationSystem::CellOffset(3, 0, 2), (std::array<float, 2>{0.0f, 0.0f}));

    // The melee enemy's attack counts frames 12-15 on a four-cell strip: they show cells 0-3.
    EXPECT_EQ(AnimationSystem::CellOffset(15, 4, 1), (std::array<float, 2>{0.75f, 0.0f}));
    EXPECT_EQ(AnimationSystem::CellOffset(12, 4, 1), (std::array<float, 2>{0.0f, 0.0f}));
    EXPECT_EQ(AnimationSystem::CellOffset(9, 2, 2), (std::array<float, 2>{0.5f, 0.0f}));
    Play(ECS::Animation(12, 15, "Attack", true));
    animator->currentAnimation->currentFrame = 12;
    Shown(1, 0.1f);
    EXPECT_EQ(sprite->frame, 13u);
    EXPECT_LT(sprite->texOffset[1], 1.0f);
}

} // namespace Varn::Test
