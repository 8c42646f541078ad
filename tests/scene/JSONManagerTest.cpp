#include "support/EngineTest.h"
#include "support/ScratchFolder.h"

#include "core/Timer.h"
#include "ecs/Camera.h"
#include "ecs/EntityManager.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "scene/JSONManager.h"

#include <malloc.h>

#include <algorithm>
#include <iterator>

namespace Varn::Test
{

using ECS::IEntity;

class SceneLoading : public EngineTest
{
protected:
    Scene::JSONManager& Loader() { return *engine->jsonManager; }

    void Load(const std::string& text, bool frames = false)
    {
        Loader().LoadScene(scratch.Write("test.scene", text), frames);
        // A load with loading frames is carried on by the frame loop.
        while (Loader().scenes.Busy())
        {
            engine->Update();
        }
    }
    std::vector<std::string> Names() { return NamesOf(CurrentScene().entities); }

    ScratchFolder scratch;
};

TEST_F(SceneLoading, TagsPastTheThirtySecondHaveNoBitAndAreReported)
{
    for (int i = 1; i < 32; ++i)
    {
        const std::string name = std::to_string(i) + "T";
        EXPECT_EQ(Loader().RegisterTag(name), uint64_t{1} << (i - 1));
    }
    EXPECT_EQ(Loader().RegisterTag("T32"), uint64_t{1} << 31);
    EXPECT_EQ(Loader().RegisterTag("T33"), 0u);
    ASSERT_EQ(engine->logger.Lines().size(), 1u);
    EXPECT_NE(engine->logger.Lines()[0].find("T33"), std::string::npos);
}

TEST_F(SceneLoading, HeaderLinesComeFirstAndNothingAfterTheSceneLineIsRead)
{
    // The scene line's carriage return belongs to it, as does text after a header's last comma.
    Load("Tags:Player, Enemy,Boss\n"
         R"([{"ID":"Hero","ID Type":2,"Transform":{}},{"ID":"Foe","ID Type":4,"Transform":{}}])"
         "\r\n[{\"ID\":\"Ghost\",\"ID Type\":0,\"Transform\":{}}]\n");
    EXPECT_TRUE(engine->logger.Lines().empty());
    EXPECT_EQ(Names(), (std::vector<std::string>{"Hero", "Foe"}));
    EXPECT_EQ(Loader().TagNames(~uint64_t{0}), (std::vector<std::string>{"Default", "Player", " Enemy"}));

    // No header and no line feed at the end: the whole file is the scene line.
    Load(R"([{"ID":"Alone","ID Type":0,"Transform":{}}])");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alone"}));
    EXPECT_EQ(Loader().TagNames(~uint64_t{0}), (std::vector<std::string>{"Default"}));

    // Header lines with no scene line after them are no scene; the second line says where.
    Load("Tags:Player,\n");
    EXPECT_EQ(engine->logger.Lines(),
              (std::vector<std::string>{"Error: Load Failed. Scene is Invalid",
                                        scratch.Path("test.scene") + ":2:1: The document is empty."}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alone"}));

    // A long header line before a long scene line, and a line after it, which is still not read.
    std::string longScene = "Tags:" + std::string(300'000, 't') + ",\n[";
    for (int i = 0; i < 6000; ++i)
    {
        longScene += R"({"ID":"E)" + std::to_string(i) + R"(","ID Type":0,"Transform":{}},)";
    }
    longScene.back() = ']';
    Load(longScene + "\n[{\"ID\":\"Ghost\",\"ID Type\":0,\"Transform\":{}}]");
    EXPECT_EQ(CurrentScene().entities.size(), 6000u);
    EXPECT_EQ(CurrentScene().entities.back()->name, "E5999");
}

TEST_F(SceneLoading, InvalidFileKeepsTheSceneAsItWas)
{
    Load(R"([{"ID":"Keeper","ID Type":0,"Transform":{}}])");
    // Each message is followed by where the file went wrong: line, column (bytes) and what.
    const std::string file = scratch.Path("test.scene");
    const std::pair<std::string, std::string> cases[] = {
        {"{\"not\":\"an array\"}", file + ":1: the scene line is not a JSON array of entities"},
        {"Tags:A,\nAudio:b.ogg,\n[{broken", file + ":3:3: Missing a name for object member."},
        {"", file + ":1:1: The document is empty."}};
    for (const auto& [text, where] : cases)
    {
        engine->logger.Clear();
        Load(text);
        ASSERT_EQ(engine->logger.Lines(),
                  (std::vector<std::string>{"Error: Load Failed. Scene is Invalid", where}));
        EXPECT_EQ(Names(), (std::vector<std::string>{"Keeper"}));
        EXPECT_EQ(Loader().loading.progress, Loader().loading.progressTotal + 1);
    }
    engine->logger.Clear();
    Loader().LoadScene(scratch.Path("missing.scene"), false);
    EXPECT_EQ(engine->logger.Lines(),
              (std::vector<std::string>{"Error: Load Failed. Scene is Invalid",
                                        scratch.Path("missing.scene") + ": the file cannot be read"}));

    // Hostile nesting is refused before anything walks it; a bracket inside a string is text.
    engine->logger.Clear();
    Load(std::string(200000, '[') + std::string(200000, ']'));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Keeper"}));
    rapidjson::Document document;
    EXPECT_TRUE(Scene::EntityReader::Parse("[{\"ID\":\"" + std::string(100, '[') + "\"}]", document));
    // An escaped quote does not end the string; an escaped backslash before a quote does.
    EXPECT_TRUE(Scene::EntityReader::Parse(R"([{"ID":"a\" )" + std::string(100, '[') + R"("}])", document));
    EXPECT_FALSE(Scene::EntityReader::Parse(
        R"([{"ID":"a\\","B":)" + std::string(65, '[') + std::string(65, ']') + "}]", document));
    EXPECT_FALSE(Scene::EntityReader::Parse(std::string(65, '[') + std::string(65, ']'), document));
    EXPECT_TRUE(Scene::EntityReader::Parse(std::string(64, '[') + std::string(64, ']'), document));

    // In place, strings are decoded into the line itself, and a line says the same as copied.
    std::string line = R"([{"ID":"a\"b"}])" + std::string("\n");
    ASSERT_TRUE(Scene::EntityReader::ParseInPlace(line.data(), line.size() - 1, document));
    EXPECT_EQ(std::string(document[0]["ID"].GetString()), "a\"b");
    EXPECT_GE(document[0]["ID"].GetString(), line.data());
    EXPECT_LT(document[0]["ID"].GetString(), line.data() + line.size());
    for (const std::string& text :
         {std::string(R"([{"ID":"a"}])") + '\0' + "]", std::string("[1,\0 2]"),
          std::string(R"([{"ID":"a)") + '\0' + R"(b"}])", std::string("[{\"A\":1}"), std::string(70, '[')})
    {
        Scene::EntityReader::ParseError inPlace, copied;
        line = text;
        const bool parsedInPlace =
            Scene::EntityReader::ParseInPlace(line.data(), line.size(), document, &inPlace);
        EXPECT_EQ(parsedInPlace, Scene::EntityReader::Parse(text, document, &copied)) << text;
        EXPECT_EQ(inPlace.column, copied.column) << text;
        EXPECT_EQ(inPlace.what, copied.what) << text;
    }
    EXPECT_EQ(engine->logger.Lines(), (std::vector<std::string>{"Error: Load Failed. Scene is Invalid",
                                                                file + ":1:65: nested deeper than 64"}));
}

TEST_F(SceneLoading, KeysNothingReadsAreToldOncePerLoadAndTheRestOfTheFileStillLoads)
{
    // The lines about keys; the default sprite, which this folder lacks, says its own.
    const auto told = [this]
    {
        std::vector<std::string> lines;
        std::copy_if(engine->logger.Lines().begin(), engine->logger.Lines().end(), std::back_inserter(lines),
                     [](const std::string& line) { return line.find(": unknown ") != std::string::npos; });
        return lines;
    };
    const std::string text =
        R"([{"ID":"Walker","ID Type":0,"Transform":{},"Sprite Renderer":{"Texure":"a.dds","Opacity":0.5},)"
        R"("Sprite Rendrer":{}},{"ID":"Walker","ID Type":0,"Sprite Renderer":{"Texure":"b.dds"}}])";
    const std::string file = scratch.Path("test.scene");
    const std::vector<std::string> expected = {file +
                                                   R"(: unknown key "Texure" in Sprite Renderer of "Walker")",
                                               file + R"(: unknown member "Sprite Rendrer" of "Walker")"};
    Load(text);
    EXPECT_EQ(told(), expected) << "the second Walker's same slip is not told twice";
    EXPECT_EQ(Names(), (std::vector<std::string>{"Walker", "Walker"}));
    EXPECT_EQ(Get("Walker")->GetComponent<ECS::SpriteRenderer>()->opacity, 0.5f);
    engine->logger.Clear();
    Load(text);
    EXPECT_EQ(told(), expected) << "a new load tells again";

    // A prefab tells on its first instantiation only: it may be made many times a second.
    engine->logger.Clear();
    const std::string prefab =
        scratch.Write("shot.prefab", R"([{"ID":"Shot","ID Type":0,"Transform":{"Scael":{}}}])");
    ASSERT_NE(Loader().LoadPrefab(prefab, {}), nullptr);
    ASSERT_NE(Loader().LoadPrefab(prefab, {}), nullptr);
    EXPECT_EQ(told(), (std::vector<std::string>{prefab + R"(: unknown key "Scael" in Transform of "Shot")"}));
}

TEST_F(SceneLoading, BrokenBlockDropsOnlyThatEntityAndFreesIt)
{
    Load(R"([{"ID":"Before","ID Type":0,"Transform":{}},)"
         R"({"ID":"Broken","ID Type":0,"Current Parent ID":4,"Transform":{},"Raycast":[1,2]},)"
         R"({"ID":"After","ID Type":0,"Parent ID":4,"Current Parent ID":5,"Transform":{}}])");
    EXPECT_EQ(engine->logger.Lines(),
              (std::vector<std::string>{"Error: Load Failed. Raycast Component Failed to Load"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Before", "After"}));
    EXPECT_EQ(Get("After")->parent, nullptr) << "a dropped entity is no parent";
    // The dropped entity went back to the pool rather than staying in use.
    std::size_t inUse = 0;
    for (std::size_t i = 0; i < engine->entities->PoolSize(); ++i)
    {
        inUse += engine->entities->PoolEntity(i)->components.empty() ? 0 : 1;
    }
    EXPECT_EQ(inUse, 2u);
}

// An entity without a single component block would stay free in the pool, so the next one read
// would be handed the same object: dropped, with the entity error, and the rest load as written.
TEST_F(SceneLoading, AnEntityWithoutComponentsIsDroppedNotSharedWithTheNext)
{
    Load(R"([{"ID":"Empty","ID Type":0,"Current Parent ID":4},{"ID":"Bare","ID Type":0},)"
         R"({"ID":"Child","ID Type":0,"Parent ID":4,"Current Parent ID":5,"Transform":{}},)"
         R"({"ID":"Last","ID Type":0,"Transform":{}}])");
    EXPECT_EQ(engine->logger.Lines(), (std::vector<std::string>{"Error: Load Failed. Entity is Invalid",
                                                                "Error: Load Failed. Entity is Invalid"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Child", "Last"}));
    EXPECT_NE(Find("Child"), Find("Last"));
    EXPECT_EQ(Get("Child")->parent, nullptr);
}

TEST_F(SceneLoading, ScriptReferencesResolveAfterTheWholeFile)
{
    // Only variables the scripts declare survive their compile.
    const std::string script = scratch.Write("guard.orin", "ent target\nent nobody\n");
    Load(R"([{"ID":"Guard","ID Type":0,"Script":{"File Path":{"File Path 0":")" + script +
         R"("},"Entity List":{"target":3,"nobody":42}}},)"
         R"({"ID":"Thief","ID Type":0,"Current Parent ID":3,"Transform":{}}])");
    const auto& list = Get("Guard")->GetComponent<ECS::ScriptComponent>()->entityList;
    ASSERT_EQ(list.count("target"), 1u);
    EXPECT_EQ(list.at("target"), Find("Thief"));
    EXPECT_EQ(list.count("nobody") == 0 || list.at("nobody") == nullptr, true);
}

TEST_F(SceneLoading, FirstCameraBecomesMainCameraAtItsStartValues)
{
    IEntity* oldCamera = CurrentScene().mainCamera;
    Load(R"([{"ID":"Prop","ID Type":0,"Transform":{}},)"
         R"({"ID":"Cam","ID Type":0,"Transform":{},"Camera":{"Zoom":3,"Start Zoom":2,)"
         R"("Start Position":{"X":10,"Y":20,"Z":0,"W":0}}},)"
         R"({"ID":"Cam2","ID Type":0,"Transform":{},"Camera":{}}])");
    IEntity* camera = CurrentScene().mainCamera;
    ASSERT_EQ(camera, Find("Cam"));
    EXPECT_EQ(camera->GetComponent<ECS::Camera>()->zoom, 2.0f);
    EXPECT_EQ(camera->GetComponent<ECS::Transform>()->position, (Vector4{10, 20, 0, 0}));
    EXPECT_TRUE(oldCamera->components.empty()) << "the previous camera went back to the pool";
    // Its matrices are ready for the first frame drawn after the load.
    EXPECT_EQ(camera->GetComponent<ECS::Camera>()->viewLeft, 10.0f - 960.0f * 2.0f);

    Load("[]");
    EXPECT_TRUE(CurrentScene().entities.empty());
    EXPECT_EQ(CurrentScene().mainCamera, nullptr);
    engine->Update(); // a frame with no camera must not fall over
}

TEST_F(SceneLoading, LoadLeavesValidMatricesAndAFreshClock)
{
    input->state.keys.set('W');
    engine->input->Update();
    clock.AdvanceMilliseconds(700.0);
    Load(R"([{"ID":"Parent","ID Type":0,"Current Parent ID":1,"GameObject Active":false,)"
         R"("Transform":{"Position":{"X":100,"Y":0,"Z":0,"W":0}}},)"
         R"({"ID":"Kid","ID Type":0,"Current Parent ID":2,"Parent ID":1,)"
         R"("Transform":{"Position":{"X":1,"Y":2,"Z":0,"W":0}}}])");
    const auto* kid = Get("Kid")->GetComponent<ECS::Transform>();
    EXPECT_EQ(kid->worldMatrix.m[0][3], 101.0f) << "inactive entities get matrices once after a load";
    EXPECT_EQ(kid->worldMatrix.m[1][3], 2.0f);
    EXPECT_EQ(engine->timer->deltaTime, 0.0);
    EXPECT_EQ(engine->timer->lastTime, clock.now);
    EXPECT_FALSE(engine->input->IsKeyDown('W'));
    engine->input->Update();
    EXPECT_FALSE(engine->input->IsKeyPressed('W')) << "a key held through a load is no new press";
}

// Quick loading work draws the screen once, however many slices the load has.
TEST_F(SceneLoading, LoadingFramesRunNoOftenerThanTheirInterval)
{
    FrameCounter* frames = engine->timer->CreateCounter(false);
    std::string text = "[";
    for (int i = 0; i < 45; ++i)
    {
        text += std::string(i ? "," : "") + R"({"Transform":{}})";
    }
    Load(text + "]", true);
    EXPECT_EQ(CurrentScene().entities.size(), 45u);
    EXPECT_FLOAT_EQ(frames->elapsed, Timer::COUNTER_STEP);
    Load(text + "]", false);
    EXPECT_FLOAT_EQ(frames->elapsed, Timer::COUNTER_STEP);
}

// Reloading a scene must not keep the text of the loads before it: a player retrying a level a
// hundred times would otherwise carry a hundred copies of its parsed file.
TEST_F(SceneLoading, LoadingTheSameSceneAgainHoldsNoMoreMemory)
{
#if defined(__SANITIZE_ADDRESS__) || defined(CORVALUNE_THREAD_SANITIZED)
    GTEST_SKIP() << "the sanitizers' allocators do not report the heap in use";
#else
    std::string text = "[";
    for (int i = 0; i < 2000; ++i)
    {
        text += std::string(i == 0 ? "" : ",") + R"({"ID":"Block )" + std::to_string(i) +
                std::string(300, 'x') +
                R"(","ID Type":0,"Transform":{"Position":{"X":1.5,"Y":2.5,"Z":0.0,"W":0.0}}})";
    }
    text += "]";
    const std::string path = scratch.Write("big.scene", text);
    auto inUse = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
    // Until the second load is done, the pool grows to hold the old entities and the new.
    Loader().LoadScene(path, false);
    Loader().LoadScene(path, false);
    const std::size_t afterTwo = inUse();
    for (int i = 0; i < 8; ++i)
    {
        Loader().LoadScene(path, false);
    }
    ASSERT_EQ(CurrentScene().entities.size(), 2000u);
    // Each parse of this file takes over a megabyte.
    EXPECT_TRUE(engine->logger.Lines().empty());
    EXPECT_LT(inUse(), afterTwo + 256 * 1024);
#endif
}

} // namespace Varn::Test
