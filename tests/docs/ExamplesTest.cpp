// The examples in docs/ are loaded and drawn here, so the documentation cannot drift from the
// engine.
#include "support/DrawingTest.h"

#include "check_content/ContentChecker.h"
#include "core/FilePath.h"
#include "ecs/Animator.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/Light.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/RaycastComponent.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "ecs/UIText.h"
#include "graphics/Screenshot.h"
#include "resource/Mesh2D.h"
#include "scene/JSONManager.h"
#include "script/ScriptSystem.h"

#include <algorithm>
#include <filesystem>

#include <png.h>

namespace Varn::Test
{

class DocExamples : public Drawing
{
protected:
    void SetUp() override { Open("[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=640\n"); }

    // Examples name each other by paths from the repository's top folder.
    void LinkDocs()
    {
        std::filesystem::create_directory_symlink(std::filesystem::path(CORVALUNE_SOURCE_DIR) / "docs",
                                                  folder.root / "docs");
    }
    IEntity* Named(const std::string& name)
    {
        return ECS::EntityManager::FindByName(CurrentScene().entities, name);
    }
};

TEST_F(DocExamples, ShowcaseSceneLoadsCleanlyAndShowsItsHero)
{
    engine->jsonManager->LoadScene(std::string(CORVALUNE_SOURCE_DIR) + "/docs/examples/showcase.scene",
                                   false);
    EXPECT_TRUE(engine->logger.Lines().empty()) << engine->logger.Lines().front();
    EXPECT_EQ(engine->jsonManager->TagNames(~uint64_t{0}),
              (std::vector<std::string>{"Default", "Player", "Enemy"}));
    Frame();

    const Graphics::Screenshot shot = Graphics::Screenshot::Capture(*engine->window);
    ASSERT_EQ(shot.width, 640);
    ASSERT_EQ(shot.height, 360);
    // The hero stands at (-120, -375) in the world: warm, lit by the lantern.
    const auto hero = shot.At(static_cast<int>(320 + (-120) / 3.0f), static_cast<int>(180 + 375 / 3.0f));
    EXPECT_GT(hero[0], 200);
    EXPECT_GT(hero[0], hero[2] + 100);
    const auto sky = shot.At(20, 20);
    EXPECT_LT(sky[0], 30);
}

// Every block a scene can hold, read into the components; the entity's script then places the
// lantern prefab as the scene format guide describes.
TEST_F(DocExamples, ComponentsSceneFillsEveryBlockAndPlacesItsLantern)
{
    LinkDocs();
    engine->jsonManager->LoadScene("docs/examples/components.scene", false);
    ASSERT_TRUE(engine->logger.Lines().empty()) << engine->logger.Lines().front();
    Scene& scene = CurrentScene();
    IEntity* hero = Named("Hero");
    IEntity* ground = Named("Ground");
    ASSERT_NE(hero, nullptr);
    ASSERT_NE(ground, nullptr);
    EXPECT_EQ(scene.mainCamera, Named("Main Camera"));
    EXPECT_EQ(engine->jsonManager->TagNames(hero->tags), std::vector<std::string>{"Player"});
    EXPECT_EQ(engine->jsonManager->TagNames(Named("Grunt")->tags), std::vector<std::string>{"Enemy"});
    EXPECT_EQ(Named("Hat")->parent, hero);

    const auto* sprite = hero->GetComponent<SpriteRenderer>();
    EXPECT_EQ(sprite->mesh->columns, 4u);
    EXPECT_EQ(sprite->mesh->rows, 2u);
    const auto* animator = hero->GetComponent<Component::Animator>();
    ASSERT_EQ(animator->animationList.size(), 2u);
    EXPECT_EQ(animator->currentAnimation->name, "Walk");
    EXPECT_EQ(hero->GetComponent<Component::RaycastComponent>()->rays.size(), 2u);
    EXPECT_EQ(ground->GetComponent<Component::RigidBody>()->rigidbodyMode, Component::RigidBody::STATIC);
    EXPECT_TRUE(Named("Hat")->GetComponent<Component::CircleCollider2D>()->isTrigger);
    EXPECT_EQ(Named("Grunt")->GetComponent<Component::BehaviourComponent>()->type,
              Component::BehaviourType::PATROLLING_MELEE);
    EXPECT_TRUE(Named("Moonlight")->GetComponent<Component::Light>()->isGlobal);
    EXPECT_FLOAT_EQ(Named("Fireflies")->GetComponent<Component::ParticleEmitter>()->startSpeed.max, 30.0f);
    EXPECT_EQ(Named("Title")->GetComponent<UIComponent::UIText>()->text, "Components");
    EXPECT_FALSE(Named("Secret")->gameObjectActive);
    EXPECT_EQ(Named("Secret")->room, 2u);

    // Values of declared variables come from the lists; "floor" names Ground by its link key.
    const auto& script = *hero->GetComponent<Component::ScriptComponent>();
    EXPECT_FLOAT_EQ(script.floatList.at("PlayerHealth"), 100.0f);
    EXPECT_TRUE(script.boolList.at("armed"));
    EXPECT_EQ(script.entityList.at("floor"), ground);
    EXPECT_EQ(script.timer.name, "reload");

    scene.scriptSystem->Update(1.0f / 60.0f);
    IEntity* lantern = Named("Lantern");
    IEntity* sparks = Named("Lantern Sparks");
    ASSERT_NE(lantern, nullptr);
    ASSERT_NE(sparks, nullptr);
    EXPECT_EQ(script.entityList.at("lamp"), lantern);
    const Transform& root = *lantern->GetComponent<Transform>();
    EXPECT_FLOAT_EQ(root.position.x, 300.0f);
    EXPECT_FLOAT_EQ(root.position.y, -200.0f);
    EXPECT_EQ(lantern->layer, 2u);
    // The child keeps its place under the root and its own layer.
    EXPECT_EQ(sparks->parent, lantern);
    EXPECT_FLOAT_EQ(sparks->GetComponent<Transform>()->position.y, 40.0f);
    EXPECT_EQ(sparks->layer, 3u);
    EXPECT_EQ(engine->logger.Lines(),
              std::vector<std::string>{"placed Lantern on Ground with 100.000000 health "});
}

// The JSON shown in the scene guide is copied from the example files, whole entities or whole
// prefabs, so a change to an example that the guide does not follow fails here.
TEST_F(DocExamples, EveryJsonBlockOfTheSceneGuideComesFromAnExampleFile)
{
    const std::string docs = std::string(CORVALUNE_SOURCE_DIR) + "/docs/";
    std::string guide, scene, prefab, placer;
    ASSERT_TRUE(Helper::ReadTextFile(docs + "SCENES.md", guide));
    ASSERT_TRUE(Helper::ReadTextFile(docs + "examples/components.scene", scene));
    ASSERT_TRUE(Helper::ReadTextFile(docs + "examples/lantern.prefab", prefab));
    ASSERT_TRUE(Helper::ReadTextFile(docs + "examples/orin/placer.orin", placer));

    rapidjson::Document entities, lantern;
    ASSERT_TRUE(System::JSONManager::Parse(scene.substr(scene.find('[')), entities));
    ASSERT_TRUE(System::JSONManager::Parse(prefab, lantern));
    std::vector<const rapidjson::Value*> sources{&lantern};
    for (const rapidjson::Value& entity : entities.GetArray())
    {
        sources.push_back(&entity);
    }
    int blocks = 0;
    const std::string open = "```json\n";
    for (std::size_t start = guide.find(open); start != std::string::npos; start = guide.find(open, start))
    {
        start += open.size();
        const std::string text = guide.substr(start, guide.find("```", start) - start);
        rapidjson::Document shown;
        ASSERT_FALSE(shown.Parse(text.c_str()).HasParseError()) << text;
        EXPECT_TRUE(std::any_of(sources.begin(), sources.end(),
                                [&shown](const rapidjson::Value* source) { return *source == shown; }))
            << "not in an example file:\n"
            << text;
        ++blocks;
    }
    EXPECT_GE(blocks, 4);
    // The header lines and the script are quoted as they are.
    EXPECT_NE(guide.find(scene.substr(0, scene.find('['))), std::string::npos);
    EXPECT_NE(guide.find(placer), std::string::npos);
}

TEST_F(DocExamples, TheReadmesFirstSceneIsTheExampleFile)
{
    std::string readme, scene;
    ASSERT_TRUE(Helper::ReadTextFile(std::string(CORVALUNE_SOURCE_DIR) + "/README.md", readme));
    ASSERT_TRUE(
        Helper::ReadTextFile(std::string(CORVALUNE_SOURCE_DIR) + "/docs/examples/first.scene", scene));
    EXPECT_NE(readme.find("```\n" + scene + "```"), std::string::npos);
}

// Every scene, prefab and script under docs/examples loads without a logged error, compiles,
// and names only files that exist.
TEST_F(DocExamples, EveryExampleFilePassesTheContentChecker)
{
    LinkDocs();
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             "docs/examples", std::filesystem::directory_options::follow_directory_symlink))
    {
        if (entry.is_regular_file())
        {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    engine->logger.Clear();
    Tools::ContentChecker checker;
    for (const std::filesystem::path& file : files)
    {
        checker.CheckFile(file);
    }
    for (const std::string& line : checker.Lines())
    {
        ADD_FAILURE() << line;
    }
    EXPECT_GE(checker.scenes, 2u);
    EXPECT_GE(checker.prefabs, 1u);
    EXPECT_GE(checker.scripts, 4u);
}

TEST_F(DocExamples, ScreenshotsRoundTripThroughPng)
{
    Sprite(0, 0, 0, 600, 0, {1, 0, 0, 1});
    Frame();
    const Graphics::Screenshot shot = Graphics::Screenshot::Capture(*engine->window);
    const std::string path = folder.Path("shot.png");
    ASSERT_TRUE(shot.SavePng(path));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, path.c_str()), 0);
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr), 0);
    EXPECT_EQ(static_cast<int>(image.width), shot.width);
    EXPECT_EQ(pixels, shot.rgba);
    EXPECT_EQ(shot.At(shot.width / 2, shot.height / 2)[0], 255);
    EXPECT_EQ(shot.At(2, 2)[0], 0);

    EXPECT_FALSE(shot.SavePng(folder.Path("no/such/folder/shot.png")));
    EXPECT_EQ(engine->logger.Lines().size(), 1u);
}

} // namespace Varn::Test
