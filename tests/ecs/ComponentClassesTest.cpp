// Checks that hold for every component class: block name and keys as content spells them,
// registration with the right systems, and clones that are complete and independent.
#include "support/EngineTest.h"

#include "ai/AISystem.h"
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
#include "ecs/TransformSystem.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "ecs/UIText.h"
#include "graphics/AnimationSystem.h"
#include "graphics/CameraSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/ParticleSystem.h"
#include "graphics/UIButtonSystem.h"
#include "graphics/UIGraphicsSystem.h"
#include "graphics/UITextSystem.h"
#include "physics/PhysicsSystem.h"
#include "resource/ResourceManager.h"
#include "resource/Script.h"
#include "script/ScriptSystem.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <map>
#include <set>
#include <typeindex>

namespace
{

using namespace Varn;
using namespace Varn::Component;
using namespace Varn::UIComponent;
using ECS::IComponent;
using ECS::IEntity;
using ECS::Property;
using Varn::Test::DestroyComponent;

// What content and the systems expect of each class. `sample` sets keys to values other than
// the defaults, so a clone that drops a field shows up.
struct Row
{
    const char* block;
    std::vector<std::string> keys; // in property order
    std::set<std::string> systems;
    const char* sample;
};

const Row& RowOf(const std::type_info& type)
{
    static const std::map<std::type_index, Row> rows{
        {typeid(Transform),
         {"Transform",
          {"Position", "Angle", "Scale", "Flip X", "Flip Y"},
          {"transform"},
          R"({"Position":{"X":1,"Y":2,"Z":3,"W":4},"Flip Y":true})"}},
        {typeid(Camera),
         {"Camera",
          {"Zoom", "Start Position", "Start Zoom"},
          {"camera"},
          R"({"Zoom":2,"Start Position":{"X":5,"Y":6,"Z":0,"W":1},"Start Zoom":3})"}},
        {typeid(SpriteRenderer),
         {"Sprite Renderer",
          {"Opacity", "Texture", "Tint", "Mesh", "Shader", "Receive Light"},
          {"graphics"},
          R"({"Opacity":0.5,"Texture":"hero.dds","Tint":{"R":0.1,"G":0.2,"B":0.3,"A":0.4},"Receive Light":false})"}},
        {typeid(Animator),
         {"Animator Component",
          {"Animation List", "Seconds Per Frame", "Current Animation"},
          {"animation"},
          R"({"Animation List":{"Animation List 0":{"Start Frame":0,"End Frame":3,"Name":"Idle","Looping":true},
              "Animation List 1":{"Start Frame":4,"End Frame":9,"Name":"Run","Looping":false,"Reverse":true}},
              "Seconds Per Frame":0.05,"Current Animation":"Run"})"}},
        {typeid(Light),
         {"Light",
          {"Is Global", "Light Color", "Ambient", "Constant", "Linear", "Quadratic"},
          {"graphics"},
          R"({"Is Global":true,"Light Color":{"R":1,"G":0.5,"B":0,"A":1},"Ambient":3,"Constant":2,
              "Linear":0.5,"Quadratic":0.25})"}},
        {typeid(ParticleEmitter),
         {"Particle Emitter",
          {"Particle Texture",
           "Particle Shader",
           "Destroy on Death",
           "Burst",
           "Burst Count",
           "Glow",
           "Rotate To Direction",
           "Has Gravity",
           "Emit From Edge",
           "X Offset",
           "Y Offset",
           "Gravity Scale",
           "Count",
           "Start Color",
           "End Color",
           "Start Speed",
           "End Speed",
           "Start Scale",
           "End Scale",
           "Emission Rate Range",
           "Life",
           "Direction",
           "Spread"},
          {"particle", "graphics"},
          R"({"Particle Texture":"spark.dds","Destroy on Death":true,"Burst":true,"Burst Count":4,"Glow":false,
              "Rotate To Direction":true,"Has Gravity":true,"Emit From Edge":true,"X Offset":10,"Y Offset":20,
              "Gravity Scale":2,"Count":7,"Start Color":{"Min":{"R":1,"G":0,"B":0,"A":1}},
              "End Color":{"Max":{"R":0,"G":0,"B":1,"A":0}},"Start Speed":{"Min":1,"Max":2},"End Speed":{"Min":3},
              "Start Scale":{"Min":{"X":2,"Y":2,"Z":1,"W":0}},"End Scale":{"Max":{"X":0,"Y":0,"Z":0,"W":0}},
              "Emission Rate Range":{"Min":0.5,"Max":0.7},"Life":{"Max":4},"Direction":90,"Spread":30})"}},
        {typeid(RigidBody),
         {"Rigidbody",
          {"Rigidbody Mode", "Rotational", "Mass", "Drag", "Friction", "Bounciness", "Gravity Scale",
           "Velocity"},
          {"physics"},
          R"({"Rigidbody Mode":1,"Rotational":true,"Mass":3,"Drag":0.5,"Friction":0.1,"Bounciness":0.7,
              "Gravity Scale":-1,"Velocity":{"X":1,"Y":2,"Z":0,"W":0}})"}},
        {typeid(CircleCollider2D),
         {"Circle Collider",
          {"Radius_Scale", "Offset", "Is Trigger"},
          {"physics"},
          R"({"Radius_Scale":2,"Offset":{"X":1,"Y":1,"Z":0,"W":0},"Is Trigger":true})"}},
        {typeid(BoxCollider2D),
         {"Box Collider",
          {"Scale X", "Scale Y", "Offset", "Is Trigger", "Accuracy"},
          {"physics"},
          R"({"Scale X":2,"Scale Y":0.5,"Offset":{"X":0,"Y":-3,"Z":0,"W":0},"Is Trigger":true,"Accuracy":true})"}},
        {typeid(RaycastComponent),
         {"Raycast", {"Rays"}, {}, R"({"Rays":{"Rays 0":{"X":100,"Y":0,"Z":0,"W":0}}})"}},
        {typeid(ScriptComponent),
         {"Script",
          {"File Path", "Bool List", "Float List", "String List", "Entity List", "Timer"},
          {"script"},
          R"({"Bool List":{"open":true},"Float List":{"speed":2.5},"String List":{"next":"Level2"},
              "Timer":{"Name":"Respawn","Duration":3}})"}},
        {typeid(BehaviourComponent), {"Behaviour", {"Type"}, {"ai"}, R"({"Type":2})"}},
        {typeid(UIImage),
         {"UI Image",
          {"Opacity", "Texture", "Mesh", "Shader", "Tint"},
          {"ui graphics"},
          R"({"Opacity":0.25,"Texture":"menu.dds","Tint":{"R":0,"G":0,"B":0,"A":1}})"}},
        {typeid(UIText),
         {"UI Text",
          {"Text", "Font", "Shader", "Color"},
          {"ui text"},
          R"({"Text":"Start","Color":{"R":1,"G":1,"B":0,"A":1}})"}},
        {typeid(UIButton),
         {"UI Button",
          {"Opacity", "Button Texture Default", "Button Texture Hover", "Button Texture Down", "Button Mesh",
           "Button Shader"},
          {"ui graphics", "ui button"},
          R"({"Opacity":0.9,"Button Texture Default":"a.dds","Button Texture Hover":"b.dds",
              "Button Texture Down":"c.dds"})"}},
    };
    return rows.at(type);
}

std::map<std::string, const System::ISystem*> SystemsOf(const Scene& scene)
{
    return {{"transform", scene.transformSystem},    {"physics", scene.physicsSystem},
            {"script", scene.scriptSystem},          {"particle", scene.particleSystem},
            {"camera", scene.cameraSystem},          {"ai", scene.aiSystem},
            {"graphics", scene.graphicsSystem},      {"animation", scene.animationSystem},
            {"ui graphics", scene.uiGraphicsSystem}, {"ui text", scene.uiTextSystem},
            {"ui button", scene.uiButtonSystem}};
}

// The names of the systems whose working set holds `entity`.
std::set<std::string> SystemsHolding(const Scene& scene, const IEntity* entity)
{
    std::set<std::string> names;
    for (const auto& [name, system] : SystemsOf(scene))
    {
        const auto& working = system->Entities();
        if (std::find(working.begin(), working.end(), entity) != working.end())
        {
            names.insert(name);
        }
    }
    return names;
}

// Fields that a windowless test cannot fill through the reader (GPU resources, script files,
// resolved entity references) get distinct stand-in addresses; they are compared, never used.
template <typename T> T* StandIn(int slot)
{
    static char addresses[5];
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
        if (auto* entities = property.As<std::map<std::string, IEntity*>>())
        {
            (*entities)["door"] = StandIn<IEntity>(4);
        }
    }
}

template <typename T> bool SameValue(const T& a, const T& b)
{
    return a == b;
}
// A selection is the same when it names an equal run (the two point into different lists).
bool SameValue(Animation* const& a, Animation* const& b)
{
    return a == nullptr ? b == nullptr : b != nullptr && *a == *b;
}

template <typename... T> struct TypeList
{
};
using FieldTypes =
    TypeList<bool, float, int32_t, uint32_t, std::string, Math::Vector4, Helper::VarnColor,
             Resource::Texture2D*, Resource::Mesh2D*, Resource::Shader*, Resource::FontSet*,
             Math::Range<float>, Math::Range<Math::Vector4>, Math::Range<Helper::VarnColor>,
             std::vector<Animation>, Animation*, std::vector<Resource::Script*>, std::map<std::string, bool>,
             std::map<std::string, float>, std::map<std::string, std::string>,
             std::map<std::string, IEntity*>, std::vector<RaycastComponent::Ray>, Time::NamedTimer,
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

TYPED_TEST(EveryComponent, BlockNameAndKeysAreThoseContentUsesAndAllReadable)
{
    TypeParam component;
    component.BuildProperties();
    EXPECT_EQ(component.componentName, RowOf(typeid(TypeParam)).block);
    EXPECT_TRUE(component.enabled);
    std::vector<std::string> keys;
    for (const Property& property : component.properties)
    {
        keys.push_back(property.key);
        EXPECT_TRUE(ECS::ComponentReader::CanRead(property))
            << property.key << " (" << property.typeName << ")";
    }
    EXPECT_EQ(keys, RowOf(typeid(TypeParam)).keys);
}

TYPED_TEST(EveryComponent, JoiningASceneRegistersWithItsSystemsAndDestructionUnregisters)
{
    Scene& scene = this->CurrentScene();
    IEntity* entity = this->engine->entities->CreateEntity("Subject");
    entity->template AddComponent<TypeParam>();
    EXPECT_TRUE(SystemsHolding(scene, entity).empty()) << "adding a component must not register it";

    scene.AddEntity(entity);
    EXPECT_EQ(SystemsHolding(scene, entity), RowOf(typeid(TypeParam)).systems);

    DestroyComponent<TypeParam>(entity);
    EXPECT_TRUE(SystemsHolding(scene, entity).empty());
}

TYPED_TEST(EveryComponent, CloneCopiesEveryValueIntoFieldsOfItsOwn)
{
    IEntity* entity = this->engine->entities->CreateEntity("Original");
    TypeParam& original = *entity->template AddComponent<TypeParam>();
    rapidjson::Document block;
    block.Parse(RowOf(typeid(TypeParam)).sample);
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
        EXPECT_EQ(mine.typeName, original.properties[i].typeName);
        const auto* field = static_cast<const char*>(mine.field);
        EXPECT_TRUE(field >= begin && field < begin + sizeof(TypeParam))
            << mine.key << " points outside the clone";
        ExpectSameField(FieldTypes{}, original.properties[i], mine);
    }
}

// Entities with several components that share one system.
class SharedSystems : public Varn::Test::EngineTest
{
protected:
    // An entity in the current scene with one component of each class given.
    template <typename... C> IEntity* Make(const char* name)
    {
        IEntity* entity = engine->entities->CreateEntity(name);
        (entity->AddComponent<C>(), ...);
        CurrentScene().AddEntity(entity);
        return entity;
    }

    std::set<std::string> Holding(const IEntity* entity) { return SystemsHolding(CurrentScene(), entity); }
};

// Each test empties two entities in different orders, so that every class is removed once
// while another class still keeps the entity in the shared system.
TEST_F(SharedSystems, PhysicsKeepsAnEntityUntilItsLastBodyOrColliderGoes)
{
    const std::set<std::string> physics{"physics"};
    IEntity* crate = Make<RigidBody, BoxCollider2D, CircleCollider2D>("Crate");
    IEntity* ball = Make<RigidBody, BoxCollider2D, CircleCollider2D>("Ball");

    DestroyComponent<BoxCollider2D>(crate);
    EXPECT_EQ(Holding(crate), physics);
    DestroyComponent<RigidBody>(crate);
    EXPECT_EQ(Holding(crate), physics);
    DestroyComponent<CircleCollider2D>(crate);
    EXPECT_TRUE(Holding(crate).empty());

    DestroyComponent<CircleCollider2D>(ball);
    EXPECT_EQ(Holding(ball), physics);
    DestroyComponent<RigidBody>(ball);
    EXPECT_EQ(Holding(ball), physics);
    DestroyComponent<BoxCollider2D>(ball);
    EXPECT_TRUE(Holding(ball).empty());
}

TEST_F(SharedSystems, GraphicsKeepsAnEntityWhileASpriteLightOrEmitterRemains)
{
    const std::set<std::string> graphics{"graphics"};
    const std::set<std::string> graphicsAndParticles{"graphics", "particle"};
    IEntity* torch = Make<SpriteRenderer, Light, ParticleEmitter>("Torch");
    IEntity* lamp = Make<SpriteRenderer, Light, ParticleEmitter>("Lamp");
    EXPECT_EQ(Holding(torch), graphicsAndParticles);

    DestroyComponent<ParticleEmitter>(torch);
    EXPECT_EQ(Holding(torch), graphics);
    DestroyComponent<SpriteRenderer>(torch);
    EXPECT_EQ(Holding(torch), graphics);
    DestroyComponent<Light>(torch);
    EXPECT_TRUE(Holding(torch).empty());

    DestroyComponent<Light>(lamp);
    EXPECT_EQ(Holding(lamp), graphicsAndParticles);
    DestroyComponent<ParticleEmitter>(lamp);
    EXPECT_EQ(Holding(lamp), graphics);
    DestroyComponent<SpriteRenderer>(lamp);
    EXPECT_TRUE(Holding(lamp).empty());
}

TEST_F(SharedSystems, UIDrawingKeepsAnEntityWhileAnImageOrButtonRemains)
{
    IEntity* framed = Make<UIImage, UIButton>("Framed Button");
    IEntity* plain = Make<UIImage, UIButton>("Plain Button");

    DestroyComponent<UIButton>(framed);
    EXPECT_EQ(Holding(framed), std::set<std::string>{"ui graphics"});
    DestroyComponent<UIImage>(plain);
    EXPECT_EQ(Holding(plain), (std::set<std::string>{"ui graphics", "ui button"}));

    // Removing whole entities empties every working set.
    CurrentScene().RemoveEntity(framed, false);
    CurrentScene().RemoveEntity(plain, false);
    EXPECT_TRUE(Holding(framed).empty());
    EXPECT_TRUE(Holding(plain).empty());
}

} // namespace
