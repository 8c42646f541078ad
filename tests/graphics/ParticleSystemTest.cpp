// Emission, pools and simulation of particle emitters.
#include "support/EngineTest.h"

#include "core/Random.h"
#include "ecs/ParticleEmitter.h"
#include "graphics/ParticleSystem.h"

#include <algorithm>
#include <deque>
#include <functional>

namespace Varn::Test
{
namespace
{

using ECS::IEntity;
using ECS::ParticleCell;
using ECS::ParticleEmitter;

constexpr float STEP = 0.016666668f; // what the frame loop passes for one fixed step

std::size_t AliveCount(const ParticleEmitter& emitter)
{
    return static_cast<std::size_t>(std::count_if(emitter.particles.begin(), emitter.particles.end(),
                                                  [](const auto& slot) { return slot.second.alive; }));
}

class ParticleSystemTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        // Draws are known: each takes the next queued fraction, or the middle once none is left.
        engine->random.SetFractionSource(
            [this]
            {
                if (fractions.empty())
                {
                    return 0.5f;
                }
                const float u = fractions.front();
                fractions.pop_front();
                return u;
            });
    }
    void TearDown() override
    {
        engine->random.SetFractionSource({});
        EngineTest::TearDown();
    }

    ParticleEmitter& Emitter(float x = 0.0f, float y = 0.0f, IEntity* parent = nullptr)
    {
        entity = Make<ParticleEmitter>("Emitter", {x, y, 0, 0}, {1, 1, 1, 0}, parent);
        return *entity->GetComponent<ParticleEmitter>();
    }

    void Step(float dt = STEP) { CurrentScene().particleSystem->Update(dt); }

    std::deque<float> fractions;
    IEntity* entity = nullptr;
};

// The steps at which the emitter's live count went up, over `steps` steps of `dt`.
std::vector<int> SpawnSteps(const std::function<void(float)>& step, const ParticleEmitter& emitter, int steps,
                            float dt)
{
    std::vector<int> spawns;
    std::size_t alive = AliveCount(emitter);
    for (int i = 1; i <= steps; ++i)
    {
        step(dt);
        if (AliveCount(emitter) != alive)
        {
            spawns.push_back(i);
            alive = AliveCount(emitter);
        }
    }
    return spawns;
}

TEST_F(ParticleSystemTest, ContinuousEmitterSpawnsAtTheFirstStepThenEachTimeItsIntervalIsUsedUp)
{
    ParticleEmitter& emitter = Emitter();
    emitter.life = {100.0f, 100.0f};
    const auto step = [this](float dt) { Step(dt); };
    // Exact binary fractions: the timer lands on 0 itself, which counts as used up.
    emitter.emissionRateRange = {0.25f, 0.25f};
    EXPECT_EQ(SpawnSteps(step, emitter, 13, 0.0625f), (std::vector<int>{1, 5, 9, 13}));

    // The default 0.2 s at the frame loop's step: five emissions a second, every 12 steps, even
    // though float rounding leaves a sliver of the interval after the twelfth.
    CurrentScene().RemoveEntity(entity, true);
    ParticleEmitter& fixedStep = Emitter();
    fixedStep.life = {100.0f, 100.0f};
    const std::vector<int> spawns = SpawnSteps(step, fixedStep, 61, STEP);
    ASSERT_GE(spawns.size(), 5u);
    EXPECT_EQ(spawns[0], 1);
    for (std::size_t i = 1; i < spawns.size(); ++i)
    {
        EXPECT_EQ(spawns[i] - spawns[i - 1], 12);
    }
    EXPECT_EQ(AliveCount(fixedStep), spawns.size()) << "one particle per emission";
}

TEST_F(ParticleSystemTest, BurstSpawnsCountAtOnceAndRepeatsUntilDestroyOnDeathUsesItUpAndNoCellsSpawnNothing)
{
    ParticleEmitter& repeating = Emitter();
    repeating.burst = true;
    Step();
    EXPECT_EQ(AliveCount(repeating), 20u);
    for (int step = 0; step < 13 && repeating.particles.size() == 20u; ++step)
    {
        Step();
    }
    EXPECT_EQ(repeating.particles.size(), 40u) << "the second burst found every cell alive";
    EXPECT_EQ(AliveCount(repeating), 40u);
    EXPECT_EQ(repeating.burstCount, 1) << "only destroy-on-death bursts are counted";
    CurrentScene().RemoveEntity(entity, true);

    IEntity* parent = Make("Parent");
    ParticleEmitter& once = Emitter(0, 0, parent);
    IEntity* emitterEntity = entity;
    IEntity* child = Make("Child", {}, {1, 1, 1, 0}, emitterEntity);
    once.burst = true;
    once.destroyOnDeath = true;
    once.burstCount = 1;

    Step();
    EXPECT_EQ(AliveCount(once), 20u);
    EXPECT_EQ(once.burstCount, 0);
    int steps = 1;
    while (AliveCount(once) > 0 && steps < 200)
    {
        Step();
        ++steps;
        ASSERT_NE(emitterEntity->GetComponent<ParticleEmitter>(), nullptr)
            << "removed before its last particle died";
    }
    EXPECT_EQ(AliveCount(once), 0u);
    EXPECT_NEAR(static_cast<float>(steps), 60.0f, 1.0f) << "no second burst: all 20 died together after 1 s";

    Step(); // the step after the last particle died
    const auto& listed = CurrentScene().entities;
    EXPECT_EQ(std::find(listed.begin(), listed.end(), emitterEntity), listed.end());
    EXPECT_EQ(std::find(listed.begin(), listed.end(), child), listed.end()) << "descendants go with it";
    EXPECT_NE(std::find(listed.begin(), listed.end(), parent), listed.end());
    EXPECT_TRUE(emitterEntity->components.empty());
    EXPECT_TRUE(CurrentScene().particleSystem->Entities().empty());

    // No cells at all, as a copy of a count-0 emitter starts: nothing to spawn into, burst or not.
    ParticleEmitter& emitter = Emitter();
    emitter.count = 0;
    emitter.particles.clear();
    Step();
    EXPECT_TRUE(emitter.particles.empty());
    emitter.burst = true;
    emitter.emissionTimer = 0.0f;
    Step();
    EXPECT_TRUE(emitter.particles.empty());

    emitter.enabled = false;
    emitter.count = 20;
    emitter.particles.assign(20, {});
    emitter.emissionTimer = 0.0f;
    Step();
    EXPECT_EQ(AliveCount(emitter), 0u) << "an inactive emitter emits nothing";
}

TEST_F(ParticleSystemTest, SpawnPicksColourAndScaleWithOneFractionAndSpreadsOverOffsetsAndAngle)
{
    ParticleEmitter& emitter = Emitter(10.0f, 20.0f);
    emitter.startColor = {{0, 0, 0, 0}, {1, 0.5f, 0.25f, 1}};
    emitter.startScale = {{1, 1, 1, 7}, {3, 5, 2, 9}};
    emitter.endScale = {{0, 0, 0, 0}, {0, 0, 0, 0}};
    emitter.xOffset = 40.0f;
    emitter.spread = 180.0f;
    emitter.direction = 90.0f;
    // Draw order: start colour, start scale, x offset, angle (equal bounds draw nothing).
    fractions = {0.25f, 0.75f, 0.0f, 1.0f};
    const ParticleCell& cell = emitter.particles[0].second;
    CurrentScene().particleSystem->Spawn(emitter, emitter.particles[0].second, 10.0f, 20.0f, 3.0f);
    EXPECT_EQ(cell.color, (VarnColor{0.25f, 0.125f, 0.0625f, 0.25f}));
    EXPECT_FLOAT_EQ(cell.colorRate.r, 0.75f);
    EXPECT_EQ(cell.scale, (Vector4{2.5f, 4.0f, 1.75f, 7.0f})) << "w is the min's";
    EXPECT_EQ(cell.scaleRate.x, -2.5f);
    EXPECT_EQ(cell.position, (Vector4{-10.0f, 20.0f, 3.0f, 1.0f}));
    EXPECT_NEAR(cell.direction.x, -1.0f, 1e-6f) << "the top of 0..180 degrees";
    EXPECT_NEAR(cell.direction.y, 0.0f, 1e-6f);
    EXPECT_TRUE(cell.alive);
}

// A life that reaches exactly zero dies in that step with its model untouched; emission from the
// edge carries on from where the cell's last particle ended.
TEST_F(ParticleSystemTest, ParticleDiesWhenItsLifeReachesExactlyZeroAndEdgeEmissionCarriesOn)
{
    ParticleEmitter& emitter = Emitter(100.0f, 50.0f);
    emitter.life = {0.5f, 0.5f};
    emitter.emissionRateRange = {10.0f, 10.0f};
    emitter.spread = 0.0f;
    const ParticleCell& cell = emitter.particles[0].second;
    Step(0.25f);
    ASSERT_TRUE(cell.alive);
    EXPECT_EQ(cell.life, 0.25f);
    const Vector4 lastPosition = cell.position;
    const Matrix4 lastModel = cell.model;
    Step(0.25f);
    ASSERT_FALSE(cell.alive);
    EXPECT_EQ(cell.position, lastPosition);
    EXPECT_EQ(cell.model, lastModel);
    const Vector4 end = cell.position;
    EXPECT_EQ(end.x, 125.0f);

    emitter.emitFromEdge = true;
    emitter.emissionTimer = 0.0f;
    Step(0.25f);
    EXPECT_TRUE(cell.alive);
    EXPECT_EQ(cell.position.x, end.x + 25.0f) << "not restarted at the emitter";
    EXPECT_EQ(cell.position.y, 50.0f);
}

} // namespace

} // namespace Varn::Test
