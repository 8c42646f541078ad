#include "support/EngineTest.h"

#include "ecs/ParticleEmitter.h"

#include <algorithm>

namespace
{

using Varn::ECS::ParticleEmitter;

using ParticleEmitterTest = Varn::Test::EngineTest;

bool AllFresh(const std::vector<ParticleEmitter::Slot>& pool)
{
    return std::all_of(pool.begin(), pool.end(),
                       [](const ParticleEmitter::Slot& slot)
                       {
                           const auto& cell = slot.second;
                           return !slot.first && !cell.alive && cell.position == Varn::Vector4() &&
                                  cell.color == Varn::VarnColor(1, 1, 1, 1) && cell.scale.x == 1.0f &&
                                  cell.scale.y == 1.0f;
                       });
}

TEST_F(ParticleEmitterTest, CloneStartsWithAFreshPoolOfItsCount)
{
    ParticleEmitter original;
    original.count = 8;
    original.particles[3].second.alive = true;
    original.particles[3].first = true;
    original.emissionTimer = 0.15f;

    auto cloned = original.Clone();
    const auto& copy = static_cast<const ParticleEmitter&>(*cloned);
    EXPECT_EQ(copy.count, 8u);
    EXPECT_EQ(copy.particles.size(), 8u);
    EXPECT_TRUE(AllFresh(copy.particles));
    EXPECT_FLOAT_EQ(copy.emissionTimer, 0.0f);
    EXPECT_TRUE(original.particles[3].second.alive);
}

} // namespace
