// Clones of every component class are complete and independent of their original.
#include "support/EngineTest.h"

#include "ecs/Animator.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/Camera.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/ComponentReader.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Light.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/RaycastComponent.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "ecs/UIText.h"
#include "resource/ResourceManager.h"
#include "resource/Script.h"

#include <rapidjson/document.h>

#include <map>
#include <typeindex>

namespace
{

using namespace Varn;
using namespace Varn::ECS;
using ECS::IComponent;
using ECS::IEntity;
using ECS::Property;

// Samples set keys to values other than the defaults, so a clone that drops a field shows up.
const char* SampleOf(const std::type_info& type)
{
    static const std::map<std::type_index, const char*> samples{
        {typeid(Transform), R"({"Position":{"X":1,"Y":2,"Z":3,"W":4},"Flip Y":true})"},
        {typeid(Camera), R"({"Zoom":2,"Start Position":{"X":5,"Y":6,"Z":0,"W":1},"Start Zoom":3})"},
        {typeid(SpriteRenderer),
         R"({"Opacity":0.5,"Texture":"hero.dds","Tint":{"R":0.1,"G":0.2,"B":0.3,"A":0.4},"Receive Light":false})"},
        {typeid(Animator),
         R"({"Animation List":{"Animation List 0":{"Start Frame":0,"End Frame":3,"Name":"Idle","Looping":true},
              "Animation List 1":{"Start Frame":4,"End Frame":9,"Name":"Run","Looping":false,"Reverse":true}},
              "Seconds Per Frame":0.05,"Current Animation":"Run"})"},
        {typeid(Light),
         R"({"Is Global":true,"Light Color":{"R":1,"G":0.5,"B":0,"A":1},"Ambient":3,"Constant":2,
              "Linear":0.5,"Quadratic":0.25})"},
        {typeid(ParticleEmitter),
         R"({"Particle Texture":"spark.dds","Destroy on Death":true,"Burst":true,"Burst Count":4,"Glow":false,
              "Rotate To Direction":true,"Has Gravity":true,"Emit From Edge":true,"X Offset":10,"Y Offset":20,
              "Gravity Scale":2,"Count":7,"Start Color":{"Min":{"R":1,"G":0,"B":0,"A":1}},
              "End Color":{"Max":{"R":0,"G":0,"B":1,"A":0}},"Start Speed":{"Min":1,"Max":2},"End Speed":{"Min":3},
              "Start Scale":{"Min":{"X":2,"Y":2,"Z":1,"W":0}},"End Scale":{"Max":{"X":0,"Y":0,"Z":0,"W":0}},
              "Emission Rate Range":{"Min":0.5,"Max":0.7},"Life":{"Max":4},"Direction":90,"Spread":30})"},
        {typeid(RigidBody),
         R"({"Rigidbody Mode":1,"Rotational":true,"Mass":3,"Drag":0.5,"Friction":0.1,"Bounciness":0.7,
              "Gravity Scale":-1,"Velocity":{"X":1,"Y":2,"Z":0,"W":0}})"},
        {typeid(CircleCollider2D),
         R"({"Radius_Scale":2,"Offset":{"X":1,"Y":1,"Z":0,"W":0},"Is Trigger":true})"},
        {typeid(BoxCollider2D),
         R"({"Scale X":2,"Scale Y":0.5,"Offset":{"X":0,"Y":-3,"Z":0,"W":0},"Is Trigger":true,"Accuracy":true})"},
        {typeid(RaycastComponent), R"({"Rays":{"Rays 0":{"X":100,"Y":0,"Z":0,"W":0}}})"},
        {typeid(ScriptComponent),
         R"({"Bool List":{"open":true},"Float List":{"speed":2.5},"String List":{"next":"Level2"},
              "Timer":{"Name":"Respawn","Duration":3}})"},
        {typeid(BehaviourComponent), R"({"Type":2})"},
        {typeid(UIImage), R"({"Opacity":0.25,"Texture":"menu.dds","Tint":{"R":0,"G":0,"B":0,"A":1}})"},
        {typeid(UIText), R"({"Text":"Start","Color":{"R":1,"G":1,"B":0,"A":1}})"},
        {typeid(UIButton), R"({"Opacity":0.9,"Button Texture Default":"a.dds","Button Texture Hover":"b.dds",
              "Button Texture Down":"c.dds"})"},
    };
    return samples.at(type);
}

// Fields that a windowless test cannot fill through the reader (GPU resources, script files,
// resolved entity references) get distinct stand-in addresses; they are compared, never used.
template <typename T> T* StandIn(int slot)
{
    static char addresses[4];
    return reinterpret_cast<T*>(&addresses[slot]);
}

void FillWithStandIns(IComponent& component)
{
    for (const Property& property : component.properties)
    {
        if (auto* mesh = property.As<Resource::Mesh2D*>())
        {
            *mesh = StandIn<Resource::Mesh2D>(0);
        }
        if (auto* shader = property.As<Resource::Shader*>())
        {
            *shader = StandIn<Resource::Shader>(1);
        }
        if (auto* font = property.As<Resource::FontSet*>())
        {
            *font = StandIn<Resource::FontSet>(2);
        }
        if (auto* scripts = property.As<std::vector<Resource::Script*>>())
        {
            scripts->push_back(StandIn<Resource::Script>(3));
        }
        if (auto* entities = property.As<std::map<std::string, ECS::EntityHandle>>())
        {
            // A handle reads its entity, so this one is real (and in use: it has a component).
            static IEntity door;
            if (door.components.empty())
            {
                door.AddComponent<Transform>();
            }
            (*entities)["door"] = &door;
        }
    }
}

template <typename T> bool SameValue(const T& a, const T& b)
{
    return a == b;
}
// A selection is the same when it names an equal run in the clone's own list, not the original's.
bool SameValue(ECS::Animation* const& a, ECS::Animation* const& b)
{
    return a == nullptr ? b == nullptr : b != nullptr && a != b && *a == *b;
}

template <typename... T> struct TypeList
{
};
using FieldTypes =
    TypeList<bool, float, int32_t, uint32_t, std::string, Vector4, VarnColor, Resource::Texture2D*,
             Resource::Mesh2D*, Resource::Shader*, Resource::FontSet*, Range<float>, Range<Vector4>,
             Range<VarnColor>, std::vector<ECS::Animation>, ECS::Animation*, std::vector<Resource::Script*>,
             std::map<std::string, bool>, std::map<std::string, float>, std::map<std::string, std::string>,
             std::map<std::string, ECS::EntityHandle>, std::vector<RaycastComponent::Ray>, ECS::NamedTimer,
             RigidBody::RIGIDBODY_MODE, BehaviourType>;

template <typename T> bool ExpectSameIf(const Property& a, const Property& b)
{
    if (!a.Is<T>())
    {
        return false;
    }
    EXPECT_TRUE(SameValue(*a.As<T>(), *b.As<T>())) << a.key;
    return true;
}

template <typename... T> void ExpectSameField(TypeList<T...>, const Property& a, const Property& b)
{
    const bool known = (ExpectSameIf<T>(a, b) || ...);
    EXPECT_TRUE(known) << a.key << " has a type this test cannot compare";
}

template <typename C> class EveryComponent : public Varn::Test::EngineTest
{
};

using Components = ::testing::Types<Transform, Camera, SpriteRenderer, Animator, Light, ParticleEmitter,
                                    RigidBody, CircleCollider2D, BoxCollider2D, RaycastComponent,
                                    ScriptComponent, BehaviourComponent, UIImage, UIText, UIButton>;
TYPED_TEST_SUITE(EveryComponent, Components);

TYPED_TEST(EveryComponent, CloneCopiesEveryValueIntoFieldsOfItsOwn)
{
    IEntity* entity = this->engine->entities->CreateEntity("Original");
    TypeParam& original = *entity->template AddComponent<TypeParam>();
    rapidjson::Document block;
    block.Parse(SampleOf(typeid(TypeParam)));
    ASSERT_TRUE(block.IsObject());
    ASSERT_TRUE(ECS::ComponentReader(*this->engine->resources).Read(original, block));
    FillWithStandIns(original);
    original.enabled = false;

    std::unique_ptr<IComponent> cloned = original.Clone();
    auto* copy = dynamic_cast<TypeParam*>(cloned.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->componentName, original.componentName);
    EXPECT_FALSE(copy->enabled);
    EXPECT_EQ(copy->owner, nullptr);
    ASSERT_EQ(copy->properties.size(), original.properties.size());
    const auto* begin = reinterpret_cast<const char*>(copy);
    for (size_t i = 0; i < copy->properties.size(); ++i)
    {
        const Property& mine = copy->properties[i];
        EXPECT_EQ(mine.key, original.properties[i].key);
        EXPECT_STREQ(mine.typeName, original.properties[i].typeName);
        const auto* field = static_cast<const char*>(mine.field);
        EXPECT_TRUE(field >= begin && field < begin + sizeof(TypeParam))
            << mine.key << " points outside the clone";
        ExpectSameField(FieldTypes{}, original.properties[i], mine);
    }
}

// Live particles belong to the emitter that spawned them: a clone starts with a fresh pool.
TEST(ParticleEmitterClone, StartsWithAFreshPoolOfItsCount)
{
    ParticleEmitter original;
    original.count = 8;
    original.particles[3].second.alive = true;
    original.particles[3].first = true;
    original.emissionTimer = 0.15f;

    auto cloned = original.Clone();
    const auto& copy = static_cast<const ParticleEmitter&>(*cloned);
    EXPECT_EQ(copy.particles.size(), 8u);
    EXPECT_FALSE(copy.particles[3].first);
    EXPECT_FALSE(copy.particles[3].second.alive);
    EXPECT_EQ(copy.emissionTimer, 0.0f);
    EXPECT_TRUE(original.particles[3].second.alive);
}

} // namespace
