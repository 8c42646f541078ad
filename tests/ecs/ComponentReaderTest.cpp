// The generic block reader: every value form, and that malformed values leave fields alone.
#include "support/EngineTest.h"

#include "ecs/Animator.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/ComponentReader.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/RigidBody.h"
#include "ecs/Transform.h"
#include "resource/ResourceManager.h"

#include <rapidjson/document.h>

namespace
{

using namespace Varn;
using namespace Varn::ECS;

class ComponentReader : public Varn::Test::EngineTest
{
protected:
    template <typename C> C& Add()
    {
        if (entity == nullptr)
        {
            entity = engine->entities->CreateEntity("Reader Subject");
        }
        return *entity->AddComponent<C>();
    }

    // Parses `json` and reads it into `component`; the test fails on text that is not JSON.
    bool Read(ECS::IComponent& component, const char* json)
    {
        rapidjson::Document block;
        block.Parse(json);
        EXPECT_FALSE(block.HasParseError()) << json;
        return ECS::ComponentReader(*engine->resources).Read(component, block, &references);
    }

    ECS::IEntity* entity = nullptr;
    std::vector<ECS::PendingEntityReference> references;
};

TEST_F(ComponentReader, TransformBlockKeepsDefaultsOnlyTrueIsTrueAndVectorsNeedFourMembers)
{
    Transform& transform = Add<Transform>();
    EXPECT_TRUE(Read(transform, "{}"));
    EXPECT_TRUE(transform.enabled);
    EXPECT_EQ(transform.position, Vector4(0, 0, 0, 0));
    EXPECT_EQ(transform.scale, Vector4(1, 1, 1, 0));

    for (const char* notABlock : {"[]", "3", "\"Transform\"", "null", "true"})
    {
        transform.enabled = false;
        EXPECT_FALSE(Read(transform, notABlock)) << notABlock;
        EXPECT_FALSE(transform.enabled) << notABlock;
    }

    // Only true reads as true.
    transform.flipX = true;
    EXPECT_TRUE(Read(transform, R"({"Enabled":1,"Flip X":"true","Flip Y":true})"));
    EXPECT_FALSE(transform.enabled);
    EXPECT_FALSE(transform.flipX);
    EXPECT_TRUE(transform.flipY);

    EXPECT_TRUE(Read(transform, R"({"Enabled":true})"));
    EXPECT_TRUE(transform.enabled);

    // A vector without all four members is left unchanged.
    Read(transform, R"({"Position":{"X":5,"Y":6}})");
    EXPECT_EQ(transform.position, Vector4(0, 0, 0, 0));
    Read(transform, R"({"Position":{"X":5,"Y":6,"Z":7,"W":"1"}})");
    EXPECT_EQ(transform.position, Vector4(0, 0, 0, 0));
    Read(transform, R"({"Position":{"W":8,"Z":7,"Y":6,"X":5}})");
    EXPECT_EQ(transform.position, Vector4(5, 6, 7, 8));
}

TEST_F(ComponentReader, NumbersMustFitTheirFieldOrAreIgnoredAndRangesReadMinAndMaxApart)
{
    ParticleEmitter& emitter = Add<ParticleEmitter>();
    Read(emitter, R"({"X Offset":3,"Y Offset":2.5,"Spread":"wide","Burst Count":-4,"Count":9})");
    EXPECT_FLOAT_EQ(emitter.xOffset, 3.0f);
    EXPECT_FLOAT_EQ(emitter.yOffset, 2.5f);
    EXPECT_FLOAT_EQ(emitter.spread, 360.0f);
    EXPECT_EQ(emitter.burstCount, -4);
    EXPECT_EQ(emitter.count, 9u);

    // Fractions, out-of-range values and negative counts are the wrong form.
    Read(emitter, R"({"Burst Count":2.5,"Count":-1})");
    EXPECT_EQ(emitter.burstCount, -4);
    EXPECT_EQ(emitter.count, 9u);
    Read(emitter, R"({"Burst Count":2147483648,"Count":4294967296})");
    EXPECT_EQ(emitter.burstCount, -4);
    EXPECT_EQ(emitter.count, 9u);

    // A range reads its min and max each on its own.
    Read(emitter, R"({"Start Speed":{"Min":5},"Life":{"Max":3,"Min":"long"},
        "End Scale":{"Min":{"X":2,"Y":2},"Max":{"X":0,"Y":0,"Z":0,"W":0}},
        "Start Color":{"Max":{"R":1,"G":0,"B":0,"A":1}}})");
    EXPECT_FLOAT_EQ(emitter.startSpeed.min, 5.0f);
    EXPECT_FLOAT_EQ(emitter.startSpeed.max, 100.0f);
    EXPECT_FLOAT_EQ(emitter.life.min, 1.0f);
    EXPECT_FLOAT_EQ(emitter.life.max, 3.0f);
    EXPECT_EQ(emitter.endScale.min, Vector4(1, 1, 1, 0));
    EXPECT_EQ(emitter.endScale.max, Vector4(0, 0, 0, 0));
    EXPECT_EQ(emitter.startColor.min, VarnColor(1, 1, 1, 1));
    EXPECT_EQ(emitter.startColor.max, VarnColor(1, 0, 0, 1));

    // Enumerations are integers too.
    RigidBody& body = Add<RigidBody>();
    Read(body, R"({"Rigidbody Mode":1})");
    Read(body, R"({"Rigidbody Mode":"STATIC"})");
    EXPECT_EQ(body.rigidbodyMode, RigidBody::KINEMATIC);
    BehaviourComponent& behaviour = Add<BehaviourComponent>();
    Read(behaviour, R"({"Type":3})");
    EXPECT_EQ(behaviour.type, SPAWNER);
}

TEST_F(ComponentReader, ReplacedAnimationListKeepsTheSelectionInsideTheNewList)
{
    Animator& animator = Add<Animator>();
    // "Default" is gone from the new list: the first run is selected.
    Read(animator, R"({"Animation List":{
        "Animation List 0":{"Start Frame":0,"End Frame":3,"Name":"Idle","Looping":true},
        "Animation List 1":{"Start Frame":4,"End Frame":7,"Name":"Run","Looping":true}}})");
    EXPECT_EQ(animator.currentAnimation, &animator.animationList[0]);

    // A selected name that survives the replacement stays selected.
    Read(animator, R"({"Current Animation":"Run"})");
    EXPECT_EQ(animator.currentAnimation, &animator.animationList[1]);
    Read(animator, R"({"Animation List":{
        "Animation List 0":{"Start Frame":0,"End Frame":1,"Name":"Hit","Looping":false},
        "Animation List 1":{"Start Frame":2,"End Frame":5,"Name":"Run","Looping":true}}})");
    ASSERT_EQ(animator.animationList.size(), 2u);
    EXPECT_EQ(animator.currentAnimation, &animator.animationList[1]);
    EXPECT_EQ(animator.currentAnimation->startFrame, 2);

    // Unknown names and lists with nothing usable change nothing.
    Read(animator, R"({"Current Animation":"Swim","Animation List":{"Animation List 0":{"Name":"Broken"}}})");
    ASSERT_EQ(animator.animationList.size(), 2u);
    EXPECT_EQ(animator.currentAnimation, &animator.animationList[1]);
}

} // namespace
