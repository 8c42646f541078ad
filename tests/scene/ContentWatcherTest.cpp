// Files changed on disk while the game runs are reloaded: scripts compile again for the
// entities that run them, textures decode again in place, prefabs are read again at their next
// instantiation, and the current scene loads again.
#include "support/EngineTest.h"
#include "support/ScratchFolder.h"

#include "ecs/ScriptComponent.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "scene/ContentWatcher.h"
#include "scene/JSONManager.h"
#include "script/ScriptSystem.h"

#include <SDL.h>
#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

using namespace gl33core;

namespace Varn::Test
{

namespace
{
constexpr const char* SCRIPT = "Resources\\Scripts\\hello.orin";
constexpr const char* TEXTURE = "Resources\\Sprites\\box.png";
constexpr const char* PREFAB = "Resources\\Prefabs\\thing.prefab";
constexpr const char* SCENE = "Resources\\Scenes\\watched.scene";

std::string Printing(const std::string& word)
{
    return "[Event] Initialize\n[Action]\nPrint " + word + "\n[End]\n";
}

std::string SceneWith(const std::string& name)
{
    return R"([{"ID":")" + name + R"(","ID Type":0,"Transform":{},"Sprite Renderer":{"Texture":")" +
           R"(Resources\\Sprites\\box.png"},"Script":{"File Path":{"File Path 0":"Resources\\Scripts\\hello.orin"}}},)" +
           R"({"ID":"Eye","ID Type":0,"Transform":{},"Camera":{}}])";
}

std::string Image(const char* name)
{
    std::string bytes;
    ReadTextFile(std::string(CORVALUNE_SOURCE_DIR) + "/Resources/Sprites/" + name, bytes);
    return bytes;
}
} // namespace

class ContentWatching : public WindowedEngineTest
{
protected:
    // Writes the file and moves its time on, as a save a moment later would.
    void Edit(const std::string& relative, const std::string& bytes)
    {
        const std::filesystem::path file = folder.Write(relative, bytes);
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) +
                                                   std::chrono::seconds(++edits));
    }

    // The lines the scene's scripts print in one pass.
    std::vector<std::string> RunScripts()
    {
        engine->logger.Clear();
        CurrentScene().scriptSystem->Update(1.0f / 60.0f);
        return engine->logger.Lines();
    }

    ScratchFolder folder{ScratchFolder::ENTER}; // made before the window looks for content
    int edits = 0;
};

TEST_F(ContentWatching, ChangedScriptsTexturesPrefabsAndTheSceneAreReloaded)
{
    Edit(SCRIPT, Printing("first"));
    Edit(TEXTURE, Image("Items/gem.png"));
    Edit(PREFAB, R"([{"ID":"Thing","ID Type":0,"Transform":{}}])");
    Edit(SCENE, SceneWith("Hello"));
    engine->jsonManager->LoadScene(SCENE, false);
    ASSERT_NE(engine->jsonManager->LoadPrefab(PREFAB, {}), nullptr);
    Scene::ContentWatcher& watcher = *engine->watcher;
    EXPECT_EQ(watcher.Check(), 0) << "the first look only notes the times";
    EXPECT_EQ(RunScripts(), std::vector<std::string>{"first "});

    // A script: every entity that runs it compiles again and starts over.
    Edit(SCRIPT, Printing("second"));
    EXPECT_EQ(watcher.Check(), 1);
    EXPECT_EQ(RunScripts(), std::vector<std::string>{"second "});

    // A broken edit says why and keeps the program that works.
    const auto* script = Get("Hello")->GetComponent<ECS::ScriptComponent>();
    const auto working = script->program;
    Edit(SCRIPT, "[Event] Initialise\n[Action]\nPrint third\n[End]\n");
    engine->logger.Clear();
    EXPECT_EQ(watcher.Check(), 1);
    const std::vector<std::string>& said = engine->logger.Lines();
    EXPECT_NE(std::find(said.begin(), said.end(), "ORINCompiler: [ERROR]Invalid Event in Hello"), said.end());
    EXPECT_EQ(script->program, working);

    // A texture, on F5 without --watch: decoded again into the same object.
    Resource::Texture2D* texture = engine->resources->textures.at(TEXTURE).get();
    EXPECT_EQ(texture->width, 96);
    Edit(TEXTURE, Image("Particles/spark.png"));
    engine->Update();
    EXPECT_EQ(texture->width, 96) << "nothing is looked at unless watching or asked";
    SDL_Event f5{};
    f5.type = SDL_KEYDOWN;
    f5.key.keysym.scancode = SDL_SCANCODE_F5;
    engine->window->HandleEvent(f5);
    engine->Update();
    EXPECT_EQ(engine->resources->textures.at(TEXTURE).get(), texture);
    EXPECT_EQ(texture->width, 8);
    GLint uploadedWidth = 0;
    glBindTexture(GL_TEXTURE_2D, texture->textureId);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &uploadedWidth);
    EXPECT_EQ(uploadedWidth, 8) << "and uploaded again";

    // A prefab is read again when next instantiated; the scene loads again, with --watch.
    Edit(PREFAB, R"([{"ID":"Widget","ID Type":0,"Transform":{}}])");
    Edit(SCENE, SceneWith("Howdy"));
    watcher.watching = true;
    clock.AdvanceMilliseconds(600);
    engine->Update();
    EXPECT_NE(Find("Howdy"), nullptr);
    EXPECT_EQ(Find("Hello"), nullptr);
    const ECS::IEntity* widget = engine->jsonManager->LoadPrefab(PREFAB, {});
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->name, "Widget");
}

} // namespace Varn::Test
