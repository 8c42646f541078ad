// The docs quote the example files, and the examples load cleanly, so the documentation cannot
// drift from the engine; the game's own content is checked the same way.
#include "support/DrawingTest.h"

#include "check_content/ContentChecker.h"
#include "scene/JSONManager.h"

namespace Varn::Test
{

using DocExamples = Drawing;

// The JSON shown in the scene guide is copied from the example files, whole entities or whole
// prefabs, so a change to an example that the guide does not follow fails here.
TEST_F(DocExamples, EveryJsonBlockOfTheSceneGuideAndTheReadmesFirstSceneComeFromExampleFiles)
{
    const std::string docs = std::string(CORVALUNE_SOURCE_DIR) + "/docs/";
    std::string guide, scene, prefab, placer;
    ASSERT_TRUE(ReadTextFile(docs + "SCENES.md", guide));
    ASSERT_TRUE(ReadTextFile(docs + "examples/components.scene", scene));
    ASSERT_TRUE(ReadTextFile(docs + "examples/lantern.prefab", prefab));
    ASSERT_TRUE(ReadTextFile(docs + "examples/orin/placer.orin", placer));

    rapidjson::Document entities, lantern;
    ASSERT_TRUE(Scene::EntityReader::Parse(scene.substr(scene.find('[')), entities));
    ASSERT_TRUE(Scene::EntityReader::Parse(prefab, lantern));
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

    // The README's first scene is the example file.
    std::string readme, first;
    ASSERT_TRUE(ReadTextFile(std::string(CORVALUNE_SOURCE_DIR) + "/README.md", readme));
    ASSERT_TRUE(ReadTextFile(docs + "examples/first.scene", first));
    EXPECT_NE(readme.find("```\n" + first + "```"), std::string::npos);
}

// Every scene, prefab and script of the game's Resources and under docs/examples loads without a
// logged error, compiles, and names only files that exist: each broken file fails this test with
// its name and what is wrong with it, as corvalune_check_content reports it.
TEST_F(DocExamples, EveryFileOfTheGameAndEveryExampleFilePassesTheContentChecker)
{
    // Examples name each other by paths from the repository's top folder.
    folder.Link("docs");
    engine->logger.Clear();
    Tools::ContentChecker game, examples;
    game.Run();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             "docs/examples", std::filesystem::directory_options::follow_directory_symlink))
    {
        if (entry.is_regular_file())
        {
            examples.CheckFile(entry.path());
        }
    }
    for (const Tools::ContentChecker* checker : {&game, &examples})
    {
        for (const std::string& line : checker->Lines())
        {
            ADD_FAILURE() << line;
        }
    }
    EXPECT_GT(game.prefabs + game.scenes, 0u) << "no content found under " << CORVALUNE_SOURCE_DIR;
    EXPECT_GE(examples.scenes, 2u);
    EXPECT_GE(examples.prefabs, 1u);
    EXPECT_GE(examples.scripts, 4u);
}

} // namespace Varn::Test
