// Emission, pools, simulation and drawing of particle emitters.
#include "support/DrawingTest.h"
#include "support/EngineTest.h"

#include "core/Random.h"
#include "ecs/EntityManager.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "graphics/ParticleSystem.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>

namespace Varn::Test
{
namespace
{

using Component::ParticleEmitter;
using Particle::ParticleCell;
using RGB = std::array<int, 3>;

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
        Helper::SetRandomFractionSource(
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
        Helper::SetRandomFractionSource({});
        EngineTest::TearDown();
    }

    ParticleEmitter& Emitter(float x = 0.0f, float y = 0.0f, IEntity* parent = nullptr)
    {
        entity = Make<ParticleEmitter>("Emitter", {x, y, 0, 0}, {1, 1, 1, 0}, parent);
        return *entity->GetComponent<ParticleEmitter>();
    }

    void Step(float dt = STEP) { CurrentScene().particleSystem->Update(dt); }
    void Steps(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            Step();
        }
    }

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

TEST_F(ParticleSystemTest, PoolGrowsByCountOnlyWhenASpawnFindsEveryCellAlive)
{
    ParticleEmitter& slow = Emitter();
    Steps(300);
    EXPECT_EQ(slow.particles.size(), 20u) << "one particle every 0.2 s living 1 s never fills 20 cells";

    CurrentScene().RemoveEntity(entity, true);
    ParticleEmitter& fast = Emitter();
    fast.emissionRateRange = {0.01f, 0.01f}; // one spawn per step
    Steps(20);
    EXPECT_EQ(fast.particles.size(), 20u);
    EXPECT_EQ(AliveCount(fast), 20u);
    Step();
    ASSERT_EQ(fast.particles.size(), 40u);
    EXPECT_TRUE(fast.particles[39].second.alive) << "the spawn takes the last of the new cells";
    EXPECT_FALSE(fast.particles[20].second.alive);
    Step();
    EXPECT_TRUE(fast.particles[20].second.alive) << "then the first dead cell again";
    EXPECT_EQ(fast.particles.size(), 40u);
}

TEST_F(ParticleSystemTest, BurstSpawnsCountAtOnceAndRepeatsUntilDestroyOnDeathUsesItUp)
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
}

TEST_F(ParticleSystemTest, SpentEmitterStaysWhileTheSceneIsNotPlayingAndItsBurstsAreNotCounted)
{
    CurrentScene().playing = false;
    ParticleEmitter& emitter = Emitter();
    emitter.burst = true;
    emitter.destroyOnDeath = true;
    emitter.burstCount = 1;
    Step();
    EXPECT_EQ(emitter.burstCount, 1);
    emitter.burstCount = 0;
    Steps(90);
    EXPECT_EQ(AliveCount(emitter), 0u) << "a spent emitter emits nothing";
    EXPECT_EQ(entity->GetComponent<ParticleEmitter>(), &emitter);
}

TEST_F(ParticleSystemTest, SpeedFallsLinearlyToItsEndOverTheLife)
{
    ParticleEmitter& emitter = Emitter();
    emitter.endSpeed = {0.0f, 0.0f};
    emitter.spread = 0.0f;
    emitter.emissionRateRange = {10.0f, 10.0f};
    const ParticleCell& cell = emitter.particles[0].second;
    Step(0.25f);
    EXPECT_FLOAT_EQ(cell.speedRate, -100.0f);
    EXPECT_FLOAT_EQ(cell.speed, 75.0f);
    EXPECT_FLOAT_EQ(cell.position.x, 75.0f * 0.25f) << "moved at the speed after this step's change";
    Step(0.25f);
    Step(0.25f);
    EXPECT_FLOAT_EQ(cell.speed, 25.0f);
    EXPECT_FLOAT_EQ(cell.position.x, (75.0f + 50.0f + 25.0f) * 0.25f);
}

TEST_F(ParticleSystemTest, NoSpreadAtNinetyDegreesGoesStraightUpFromTheEmitter)
{
    ParticleEmitter& emitter = Emitter(50.0f, -20.0f);
    emitter.direction = 90.0f;
    emitter.spread = 0.0f;
    emitter.xOffset = emitter.yOffset = 0.0f;
    Steps(30);
    ASSERT_EQ(AliveCount(emitter), 3u);
    for (const auto& [visible, cell] : emitter.particles)
    {
        if (cell.alive)
        {
            EXPECT_NEAR(cell.position.x, 50.0f, 1e-3f);
            EXPECT_GT(cell.position.y, -20.0f);
            EXPECT_NEAR(cell.direction.y, 1.0f, 1e-6f);
        }
    }
    // Oldest particle first: 30 steps at 100 units a second.
    EXPECT_NEAR(emitter.particles[0].second.position.y, -20.0f + 50.0f, 0.01f);
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
    System::ParticleSystem::Spawn(emitter, emitter.particles[0].second, 10.0f, 20.0f, 3.0f);
    EXPECT_EQ(cell.color, (Helper::VarnColor{0.25f, 0.125f, 0.0625f, 0.25f}));
    EXPECT_FLOAT_EQ(cell.colorRate.r, 0.75f);
    EXPECT_EQ(cell.scale, (Math::Vector4{2.5f, 4.0f, 1.75f, 7.0f})) << "w is the min's";
    EXPECT_EQ(cell.scaleRate.x, -2.5f);
    EXPECT_EQ(cell.position, (Math::Vector4{-10.0f, 20.0f, 3.0f, 1.0f}));
    EXPECT_NEAR(cell.direction.x, -1.0f, 1e-6f) << "the top of 0..180 degrees";
    EXPECT_NEAR(cell.direction.y, 0.0f, 1e-6f);
    EXPECT_TRUE(cell.alive);
}

TEST_F(ParticleSystemTest, GravityLowersDirectionWithoutRenormalising)
{
    ParticleEmitter& emitter = Emitter();
    emitter.hasGravity = true;
    emitter.life = {5.0f, 5.0f};
    emitter.emissionRateRange = {10.0f, 10.0f};
    const ParticleCell& cell = emitter.particles[0].second;
    Step(0.0f);
    const float startY = cell.direction.y;
    Steps(60);
    EXPECT_NEAR(cell.direction.y, startY - 0.98f, 1e-4f);
    EXPECT_GT(std::hypot(cell.direction.x, cell.direction.y), 1.2f);

    emitter.particles[0].second.alive = false;
    emitter.gravityScale = 2.0f;
    emitter.emissionTimer = 0.0f;
    Step(0.5f);
    EXPECT_NEAR(cell.direction.y, startY - 0.98f, 1e-4f) << "scale 2 for half a second";
}

TEST_F(ParticleSystemTest, ModelCoversTheTextureAndTurnsToTheDirectionOnlyWhenAsked)
{
    ParticleEmitter& emitter = Emitter(30.0f, 40.0f);
    emitter.particleTexture = engine->resources->GetTexture("Resources\\Sprites\\wide.dds");
    emitter.particleTexture->width = 8;
    emitter.particleTexture->height = 4;
    emitter.startScale = emitter.endScale = {{2, 3, 1, 0}, {2, 3, 1, 0}};
    emitter.startSpeed = emitter.endSpeed = {0.0f, 0.0f};
    emitter.direction = 90.0f;
    emitter.spread = 0.0f;
    const Math::Matrix4& model = emitter.particles[0].second.model;
    Step();
    Math::Matrix4 expected;
    expected.m[0][0] = 16.0f;
    expected.m[1][1] = 12.0f;
    expected.m[2][2] = expected.m[3][3] = 1.0f;
    expected.m[0][3] = 30.0f;
    expected.m[1][3] = 40.0f;
    EXPECT_EQ(model, expected);

    emitter.rotateToDirection = true;
    Step();
    // Moving along +y: the texture's x axis now points up.
    EXPECT_NEAR(model.m[0][0], 0.0f, 1e-5f);
    EXPECT_NEAR(model.m[0][1], -12.0f, 1e-5f);
    EXPECT_NEAR(model.m[1][0], 16.0f, 1e-5f);
    EXPECT_NEAR(model.m[1][1], 0.0f, 1e-5f);
    EXPECT_EQ(model.m[0][3], 30.0f);
    EXPECT_EQ(model.m[1][3], 40.0f);
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
    const Math::Vector4 lastPosition = cell.position;
    const Math::Matrix4 lastModel = cell.model;
    Step(0.25f);
    ASSERT_FALSE(cell.alive);
    EXPECT_EQ(cell.position, lastPosition);
    EXPECT_EQ(cell.model, lastModel);
    const Math::Vector4 end = cell.position;
    EXPECT_EQ(end.x, 125.0f);

    emitter.emitFromEdge = true;
    emitter.emissionTimer = 0.0f;
    Step(0.25f);
    EXPECT_TRUE(cell.alive);
    EXPECT_EQ(cell.position.x, end.x + 25.0f) << "not restarted at the emitter";
    EXPECT_EQ(cell.position.y, 50.0f);
}

TEST_F(ParticleSystemTest, EveryCellOfALargePoolIsSimulatedExactlyOnce)
{
    ParticleEmitter& emitter = Emitter();
    emitter.count = 1003; // four uneven slices
    emitter.particles.assign(1003, {});
    for (auto& [visible, cell] : emitter.particles)
    {
        cell.alive = true;
        cell.life = 10.0f;
    }
    emitter.particles[1002].second.alive = false;
    CurrentScene().particleSystem->Simulate(emitter, 0.5f);
    for (std::size_t i = 0; i < 1002; ++i)
    {
        ASSERT_EQ(emitter.particles[i].second.life, 9.5f) << "cell " << i;
    }
    EXPECT_EQ(emitter.particles[1002].second.life, 10.0f) << "dead cells are left alone";
}

TEST_F(ParticleSystemTest, EmitterWithoutCellsAndACountOfZeroSpawnsNothingAndDoesNotCrash)
{
    ParticleEmitter& emitter = Emitter();
    emitter.count = 0;
    emitter.particles.clear(); // as a copy of a count-0 emitter starts
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

} // namespace

// Instanced particles on the real offscreen context.
class ParticleDrawing : public Drawing
{
protected:
    // An emitter whose pool holds the given particles, already simulated into place.
    ParticleEmitter& Particles(std::initializer_list<Math::Vector4> positions, Helper::VarnColor color,
                               bool glow)
    {
        IEntity* e = engine->entities->CreateEntity("Emitter");
        e->AddComponent<Transform>()->position = {0, 0, 1, 0}; // drawn after sprites at z 0
        auto* emitter = e->AddComponent<ParticleEmitter>();
        // The opaque white sprite rather than the soft dot, so covered pixels take the colour.
        emitter->particleTexture = engine->resources->GetTexture(System::ResourceManager::DEFAULT_TEXTURE);
        emitter->glow = glow;
        emitter->emissionTimer = 1000.0f; // nothing new is emitted
        CurrentScene().AddEntity(e);
        std::size_t i = 0;
        for (const Math::Vector4& position : positions)
        {
            ParticleCell& cell = emitter->particles[i++].second;
            cell.alive = true;
            cell.life = 10.0f;
            cell.position = position;
            cell.color = color;
            cell.scale = {3, 3, 1, 0}; // 96 world units: 16 pixels
        }
        CurrentScene().particleSystem->Simulate(*emitter, 0.0f);
        return *emitter;
    }
};

TEST_F(ParticleDrawing, EveryLiveVisibleParticleIsDrawnInOneInstancedDraw)
{
    ParticleEmitter& emitter =
        Particles({{-300, 0, 0, 1}, {300, 120, 0, 1}, {0, -200, 0, 1}}, {1, 0, 0, 1}, false);
    emitter.particles[2].second.life = -1.0f;
    emitter.particles[2].second.alive = false; // dead cells are not drawn
    Frame();
    EXPECT_EQ(At(-300, 0), (RGB{255, 0, 0}));
    EXPECT_EQ(At(300, 120), (RGB{255, 0, 0}));
    EXPECT_EQ(At(0, -200), (RGB{0, 0, 0}));
    EXPECT_EQ(At(0, 0), (RGB{0, 0, 0}));
    EXPECT_EQ(At(-300 + 66, 0), (RGB{0, 0, 0})) << "a scale-3 particle covers 96 units";
}

TEST_F(ParticleDrawing, GlowAddsLightWhilePlainParticlesCoverWhatIsBehind)
{
    Sprite(0, 0, 0, 600, 0, {0, 0, 1, 1}); // blue backdrop
    ParticleEmitter& plain = Particles({{-150, 0, 1, 1}}, {1, 0, 0, 1}, false);
    Particles({{150, 0, 1, 1}}, {1, 0, 0, 1}, true);
    Frame();
    EXPECT_EQ(At(-150, 0), (RGB{255, 0, 0}));
    const RGB glowing = At(150, 0);
    EXPECT_GT(glowing[0], 200);
    EXPECT_EQ(glowing[2], 255) << "the backdrop shows through added light";

    plain.particles[0].second.position = {-3000, 0, 1, 1}; // off screen: culled
    CurrentScene().particleSystem->Simulate(plain, 0.0f);
    Frame();
    EXPECT_FALSE(plain.particles[0].first);
    EXPECT_EQ(At(-150, 0), (RGB{0, 0, 255}));
}

} // namespace Varn::Test
