#include "support/EngineTest.h"

#include "ecs/EntityManager.h"
#include "ecs/Light.h"
#include "ecs/Transform.h"

#include <utility>

namespace Varn::Test
{

using ECS::EntityManager;
using ECS::IEntity;

TEST(EntityPool, CreatesFromTheFrontNamesUnnamedEntitiesInOrderAndReusesAFreshEntity)
{
    EntityManager manager;
    EXPECT_EQ(manager.PoolSize(), 4000u);
    IEntity* e = manager.CreateEntity();
    EXPECT_EQ(e, manager.PoolEntity(0));
    EXPECT_EQ(e->id, 0u);
    EXPECT_EQ(e->name, "New Entity 0");
    // Still free (no components), so it is handed out again, with a new id.
    EXPECT_EQ(manager.CreateEntity(), e);
    EXPECT_EQ(e->id, 1u);
    EXPECT_EQ(e->name, "New Entity 1");

    e->AddComponent<ECS::Transform>();
    IEntity* other = manager.CreateEntity("Other");
    EXPECT_NE(other, e);
    e->layer = 3;
    e->room = 7;
    e->currentParentId = 12;
    e->gameObjectActive = false;
    e->tags = 0xF0;
    e->prefabOwner = "Crates";
    e->parent = other;

    e->RemoveAllComponents();
    EXPECT_EQ(manager.CreateEntity("Barrel"), e);
    EXPECT_EQ(e->name, "Barrel");
    EXPECT_EQ(e->id, 3u);
    EXPECT_EQ(e->tags, 0u);
    EXPECT_TRUE(e->prefabOwner.empty());
    EXPECT_EQ(e->layer, 0u);
    EXPECT_EQ(e->room, 0u);
    EXPECT_EQ(e->currentParentId, 0u);
    EXPECT_TRUE(e->gameObjectActive);
    EXPECT_EQ(e->parent, nullptr);
}

TEST(EntityPool, DoublesWhenFullAndHandsOutTheFirstNewEntity)
{
    EntityManager manager;
    for (std::size_t i = 0; i < 4000; ++i)
    {
        manager.CreateEntity()->AddComponent<ECS::Transform>();
    }
    IEntity* extra = manager.CreateEntity("Extra");
    EXPECT_EQ(manager.PoolSize(), 8000u);
    EXPECT_EQ(extra, manager.PoolEntity(4000));
    EXPECT_EQ(extra->id, 4000u);
}

TEST(EntityPool, TheLowestFreedEntityComesBackFirstWhicheverWayItWasFreed)
{
    EntityManager manager(8);
    std::vector<IEntity*> made;
    for (int i = 0; i < 6; ++i)
    {
        made.push_back(manager.CreateEntity());
        made.back()->AddComponent<ECS::Transform>();
    }
    made[4]->RemoveAllComponents();
    made[1]->RemoveComponent<ECS::Transform>(); // its last component
    EXPECT_EQ(manager.CreateEntity(), made[1]);
    made[1]->AddComponent<ECS::Transform>();
    EXPECT_EQ(manager.CreateEntity(), made[4]);
    made[4]->AddComponent<ECS::Transform>();
    EXPECT_EQ(manager.CreateEntity(), manager.PoolEntity(6)) << "then the never-used ones, in order";

    // An entity that keeps a component is not free; one made alone, outside a pool, tells no one.
    made[2]->AddComponent<ECS::Light>();
    made[2]->RemoveComponent<ECS::Transform>();
    EXPECT_EQ(manager.CreateEntity(), manager.PoolEntity(6));
    IEntity alone;
    alone.AddComponent<ECS::Transform>();
    alone.RemoveAllComponents();
    EXPECT_EQ(manager.CreateEntity(), manager.PoolEntity(6));
}

namespace
{
template <int N> struct Filler
{
};
struct LateComponent : ECS::IComponent
{
    LateComponent() : IComponent("Late") {}
    void BuildProperties() override {}
    std::unique_ptr<ECS::IComponent> Clone() const override { return std::make_unique<LateComponent>(); }
};
template <int... N> void UseClassIds(std::integer_sequence<int, N...>)
{
    (ComponentTypeIdOf<Filler<N>>(), ...);
}
} // namespace

// Class ids below 64 are answered from the entity's mask, the rest from its list: both must
// follow every way a component comes and goes.
TEST(EntityComponents, AreFoundAfterEveryAddAndRemoveOnBothSidesOfTheMask)
{
    const uint32_t light = ComponentTypeIdOf<ECS::Light>();
    const uint32_t transform = ComponentTypeIdOf<ECS::Transform>();
    UseClassIds(std::make_integer_sequence<int, 64>{});
    const uint32_t late = ComponentTypeIdOf<LateComponent>();
    ASSERT_GE(late, 64u);
    ASSERT_LT(transform, 64u);

    IEntity e;
    EXPECT_FALSE(e.HasComponent(transform));
    EXPECT_FALSE(e.HasComponent(late));
    ECS::Transform* t = e.AddComponent<ECS::Transform>();
    e.AddComponent(std::make_unique<LateComponent>());
    e.AddComponent<ECS::Light>();
    EXPECT_EQ(e.FindComponent(transform), t);
    EXPECT_TRUE(e.HasComponent(late));
    EXPECT_NE(e.GetComponent<LateComponent>(), nullptr);

    e.RemoveComponent<ECS::Transform>();
    e.RemoveComponent<LateComponent>();
    EXPECT_EQ(e.GetComponent<ECS::Transform>(), nullptr);
    EXPECT_FALSE(e.HasComponent(transform));
    EXPECT_FALSE(e.HasComponent(late));
    EXPECT_TRUE(e.HasComponent(light)) << "another class's bit survives a removal";

    e.AddComponent(std::make_unique<LateComponent>());
    e.RemoveAllComponents();
    EXPECT_FALSE(e.HasComponent(light));
    EXPECT_FALSE(e.HasComponent(late));
    t = e.AddComponent<ECS::Transform>();
    EXPECT_EQ(e.GetComponent<ECS::Transform>(), t);
    EXPECT_TRUE(e.HasComponent(transform));
}

} // namespace Varn::Test
