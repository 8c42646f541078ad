// The examples in docs/ are loaded and drawn here, so the documentation cannot drift from the
// engine.
#include "support/DrawingTest.h"

#include "check_content/ContentChecker.h"
#include "graphics/Screenshot.h"
#include "scene/JSONManager.h"

#include <algorithm>
#include <filesystem>

#include <png.h>

namespace Varn::Test
{

class DocExamples : public Drawing
{
protected:
    void SetUp() override { Open("[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=640\n"); }
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

// Every scene, prefab and script under docs/examples loads without a logged error, compiles,
// and names only files that exist.
TEST_F(DocExamples, EveryExampleFilePassesTheContentChecker)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             std::filesystem::path(CORVALUNE_SOURCE_DIR) / "docs/examples"))
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
    EXPECT_GE(checker.scripts, 3u);
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
