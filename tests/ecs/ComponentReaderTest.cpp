// The generic block reader: every value form, and that malformed values leave fields alone.
#include "support/EngineTest.h"

#include "ecs/Animator.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/ComponentReader.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/RaycastComponent.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "ecs/UIText.h"
#include "resource/FontSet.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceManager.h"
#include "resource/Shader.h"

#include <rapidjson/document.h>

#include <filesystem>
#include <fstream>

namespace
{

using namespace Varn;
using namespace Varn::Component;
using Math::Vector4;

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
    EXPECT_EQ(emitter.startColor.min, Helper::VarnColor(1, 1, 1, 1));
    EXPECT_EQ(emitter.startColor.max, Helper::VarnColor(1, 0, 0, 1));

    // Enumerations are integers too.
    RigidBody& body = Add<RigidBody>();
    Read(body, R"({"Rigidbody Mode":1})");
    Read(body, R"({"Rigidbody Mode":"STATIC"})");
    EXPECT_EQ(body.rigidbodyMode, RigidBody::KINEMATIC);
    BehaviourComponent& behaviour = Add<BehaviourComponent>();
    Read(behaviour, R"({"Type":3})");
    EXPECT_EQ(behaviour.type, SPAWNER);
}

TEST_F(ComponentReader, SpriteColourNeedsFourChannelsBadValuesDoNotStopTheBlockTexturesGoByName)
{
    SpriteRenderer& sprite = Add<SpriteRenderer>();
    Read(sprite, R"({"Opacity":"half","Tint":{"R":0.5,"G":0.25,"B":0},"Receive Light":false})");
    EXPECT_FLOAT_EQ(sprite.opacity, 1.0f);
    EXPECT_EQ(sprite.tint, Helper::VarnColor(1, 1, 1, 1));
    EXPECT_FALSE(sprite.receiveLight);

    Read(sprite, R"({"Tint":{"R":0.5,"G":0.25,"B":0,"A":0.75}})");
    EXPECT_EQ(sprite.tint, Helper::VarnColor(0.5f, 0.25f, 0.0f, 0.75f));

    // A texture path gets or creates the texture of that exact name.
    EXPECT_EQ(sprite.texture, engine->resources->GetTexture(System::ResourceManager::DEFAULT_TEXTURE));
    Read(sprite, R"({"Texture":"Resources\\Sprites\\hero.dds"})");
    ASSERT_EQ(engine->resources->textures.count("Resources\\Sprites\\hero.dds"), 1u);
    EXPECT_EQ(sprite.texture, engine->resources->textures.at("Resources\\Sprites\\hero.dds").get());

    Resource::Texture2D* before = sprite.texture;
    Read(sprite, R"({"Texture":{"Path":"other.dds"}})");
    EXPECT_EQ(sprite.texture, before);
}

TEST_F(ComponentReader, AnimationListNeedsItsFirstKeyThenTakesWellFormedMembersInOrder)
{
    Animator& animator = Add<Animator>();
    Read(animator, R"({"Animation List":{
        "Animation List 1":{"Start Frame":0,"End Frame":3,"Name":"Run","Looping":true}}})");
    ASSERT_EQ(animator.animationList.size(), 1u);
    EXPECT_EQ(animator.animationList[0].name, "Default");

    Read(animator, R"({"Animation List":{
        "Walk":{"Start Frame":4,"End Frame":7,"Name":"Walk","Looping":false,"Reverse":true},
        "Animation List 0":{"Start Frame":0,"End Frame":3,"Name":"Idle","Looping":true},
        "No Looping":{"Start Frame":8,"End Frame":9,"Name":"Jump"},
        "Looping Not Bool":{"Start Frame":8,"End Frame":9,"Name":"Fall","Looping":1},
        "Not An Object":"Attack",
        "Animation List 2":{"Start Frame":10,"End Frame":12,"Name":"Die","Looping":false,"Reverse":1}}})");
    ASSERT_EQ(animator.animationList.size(), 3u);
    Animation walk(4, 7, "Walk", false);
    walk.reverse = true;
    EXPECT_EQ(animator.animationList[0], walk);
    EXPECT_EQ(animator.animationList[1], Animation(0, 3, "Idle", true));
    EXPECT_EQ(animator.animationList[2], Animation(10, 12, "Die", false));
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

TEST_F(ComponentReader, ScriptPathsAreReadByIndexAndUnknownFilesSkipped)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "corvalune-reader-scripts";
    std::filesystem::create_directories(folder);
    const std::string first = (folder / "first.orin").string();
    const std::string second = (folder / "second.orin").string();
    std::ofstream(first) << "Event: Initialize\n";
    std::ofstream(second) << "Event: Update\n";

    ScriptComponent& script = Add<ScriptComponent>();
    const std::string block = R"({"File Path":{"File Path 1":")" + second + R"(","Stray":")" + first +
                              R"(","File Path 0":")" + first + R"(","File Path 2":"missing.orin"}})";
    Read(script, block.c_str());
    ASSERT_EQ(script.filePath.size(), 2u);
    EXPECT_EQ(script.filePath[0], engine->resources->LoadScript(first));
    EXPECT_EQ(script.filePath[1], engine->resources->LoadScript(second));

    const std::string withoutFirstKey = R"({"File Path":{"File Path 1":")" + first + R"("}})";
    Read(script, withoutFirstKey.c_str());
    EXPECT_EQ(script.filePath.size(), 2u);
    std::filesystem::remove_all(folder);
}

TEST_F(ComponentReader, NamedValueListsTakeMembersOfTheRightFormAndTimersNeedNameAndDuration)
{
    ScriptComponent& script = Add<ScriptComponent>();
    Read(script, R"({"Bool List":{"open":true,"locked":1},
        "Float List":{"speed":2,"jump":"high","drag":0.5},
        "String List":{"next":"Level2","count":3}})");
    EXPECT_EQ(script.boolList, (std::map<std::string, bool>{{"open", true}, {"locked", false}}));
    EXPECT_EQ(script.floatList, (std::map<std::string, float>{{"speed", 2.0f}, {"drag", 0.5f}}));
    EXPECT_EQ(script.stringList, (std::map<std::string, std::string>{{"next", "Level2"}}));

    // A timer needs both its duration and its name.
    Read(script, R"({"Timer":{"Duration":2.5}})");
    Read(script, R"({"Timer":{"Name":"Respawn","Duration":"soon"}})");
    EXPECT_EQ(script.timer, Time::NamedTimer{});
    Read(script, R"({"Timer":{"Name":"Respawn","Duration":2.5}})");
    EXPECT_EQ(script.timer.name, "Respawn");
    EXPECT_FLOAT_EQ(script.timer.duration, 2.5f);
}

TEST_F(ComponentReader, EntityReferencesWaitForTheLoaderToResolveThem)
{
    ScriptComponent& script = Add<ScriptComponent>();
    Read(script, R"({"Entity List":{"door":12,"key":"seven","anything":-1}})");
    EXPECT_TRUE(script.entityList.empty());
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(references[0].component, &script);
    EXPECT_EQ(references[0].map, &script.entityList);
    EXPECT_EQ(references[0].entryName, "door");
    EXPECT_EQ(references[0].linkKey, 12u);
    EXPECT_EQ(references[1].entryName, "anything");
    EXPECT_EQ(references[1].linkKey, 0xFFFFFFFFu);

    ECS::IEntity* door = engine->entities->CreateEntity("Door");
    references[0].Resolve(door);
    EXPECT_EQ(script.entityList.at("door"), door);

    // Without a list to record into, references are dropped rather than dereferenced.
    rapidjson::Document block;
    block.Parse(R"({"Entity List":{"gate":3}})");
    EXPECT_TRUE(ECS::ComponentReader(*engine->resources).Read(script, block));
    EXPECT_EQ(script.entityList.count("gate"), 0u);
}

TEST_F(ComponentReader, RaysNeedTheirFirstKeyAndAllFourMembers)
{
    RaycastComponent& raycast = Add<RaycastComponent>();
    Read(raycast, R"({"Rays":{"Rays 1":{"X":1,"Y":0,"Z":0,"W":0}}})");
    EXPECT_TRUE(raycast.rays.empty());

    Read(raycast, R"({"Rays":{"Down":{"X":0,"Y":-100,"Z":0,"W":0},"Rays 0":{"X":100,"Y":0,"Z":0,"W":1},
        "Short":{"X":5,"Y":5,"Z":0}}})");
    ASSERT_EQ(raycast.rays.size(), 2u);
    EXPECT_EQ(raycast.rays[0].direction, Vector4(0, -100, 0, 0));
    EXPECT_EQ(raycast.rays[1].direction, Vector4(100, 0, 0, 1));
    EXPECT_EQ(raycast.rays[1].hitPoint, Vector4(0, 0, 0, 1));
    EXPECT_EQ(raycast.rays[1].marker, nullptr);
}

// Meshes, shaders and fonts are OpenGL objects, so these run with a real context.
class ComponentReaderWithContext : public Varn::Test::WindowedEngineTest
{
protected:
    bool Read(ECS::IComponent& component, const char* json)
    {
        rapidjson::Document block;
        block.Parse(json);
        return ECS::ComponentReader(*engine->resources).Read(component, block);
    }
};

TEST_F(ComponentReaderWithContext, MeshNeedsANameAndTwoSizesAndShaderAndFontNamesGoThroughTheManager)
{
    auto* sprite = engine->entities->CreateEntity("Sheet")->AddComponent<SpriteRenderer>();
    Resource::Mesh2D* before = sprite->mesh;
    Read(*sprite, R"({"Mesh":{"Mesh":"sheet4x2","Mesh X":4}})");
    Read(*sprite, R"({"Mesh":{"Mesh":"sheet0x2","Mesh X":0,"Mesh Y":2}})");
    Read(*sprite, R"({"Mesh":{"Mesh":"sheet4x-1","Mesh X":4,"Mesh Y":-1}})");
    EXPECT_EQ(sprite->mesh, before);
    EXPECT_EQ(engine->resources->FindMesh("sheet0x2"), nullptr);

    Read(*sprite, R"({"Mesh":{"Mesh":"sheet4x2","Mesh X":4,"Mesh Y":2}})");
    ASSERT_NE(sprite->mesh, nullptr);
    EXPECT_EQ(sprite->mesh, engine->resources->FindMesh("sheet4x2"));
    EXPECT_EQ(sprite->mesh->columns, 4u);
    EXPECT_EQ(sprite->mesh->rows, 2u);

    // Shader and font names go through the resource manager.
    const char* vertex = "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n";
    const char* fragment = "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n";
    engine->resources->shaders["testShader"] = std::make_unique<Resource::Shader>(vertex, fragment, nullptr);
    auto* text = engine->entities->CreateEntity("Label")->AddComponent<UIComponent::UIText>();

    Read(*text, R"({"Shader":"testShader"})");
    EXPECT_EQ(text->shader, engine->resources->shaders.at("testShader").get());
    Read(*text, R"({"Shader":7})");
    EXPECT_EQ(text->shader, engine->resources->shaders.at("testShader").get());
    // A name nobody loaded gives what the lookup gives: nothing.
    Read(*text, R"({"Shader":"noSuchShader"})");
    EXPECT_EQ(text->shader, nullptr);

    static char standIn; // only compared, never used
    text->font = reinterpret_cast<Resource::FontSet*>(&standIn);
    const char* path = "/usr/share/fonts/truetype/firacode/FiraCode-Regular.ttf";
    Read(*text, R"({"Font":"/usr/share/fonts/truetype/firacode/FiraCode-Regular.ttf"})");
    EXPECT_NE(text->font, reinterpret_cast<Resource::FontSet*>(&standIn));
    EXPECT_EQ(text->font, engine->resources->FindFont(path));
}

} // namespace
