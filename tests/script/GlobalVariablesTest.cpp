#include "script/ScriptTestSupport.h"
#include "support/Environment.h"

#include "script/GlobalVariables.h"

#include <limits>

namespace Varn::Test
{

using Script::GlobalVariables;

namespace
{
std::string Read(const std::filesystem::path& path)
{
    std::string text;
    ReadTextFile(path.string(), text);
    return text;
}
} // namespace

// The per-user folder is a scratch folder (no APPDATA) for each test.
class GlobalVariablesFile : public ScriptTest
{
protected:
    GlobalVariablesFile()
    {
        unsetenv("APPDATA");
        setenv("XDG_DATA_HOME", save.root.c_str(), 1);
    }
    std::filesystem::path UserFile() const { return save.root / "Corvalune" / "GlobalVariables.orin"; }

    ScratchFolder save;
    SavedEnvironment environment{"APPDATA", "XDG_DATA_HOME", "HOME"};
};

// The defaults seed a save that does not exist yet, add their new names to one that does, and
// replace one in which no line can be read (set aside, never overwritten); a save with some
// damaged lines keeps its good ones and stays in place.
TEST_F(GlobalVariablesFile, TheDefaultsSeedAMissingOrUnreadableSaveAndADamagedOneKeepsItsGoodLines)
{
    ScratchFolder game(ScratchFolder::ENTER);
    const std::string defaults =
        "Bool sound 1\r\nFloat lives 3\nFloat speed abc\nString title Hello big world\n"
        "float lower 2\nJunk\nBool muted no\n";
    game.Write("Resources/Scripts/GlobalVariables.orin", defaults);

    std::filesystem::remove(UserFile()); // the fixture's scene made an empty one
    GlobalVariables globals{engine->logger};
    globals.Load();
    EXPECT_EQ(Read(UserFile()), "Bool sound 1\nFloat lives 3\nFloat speed abc\nString title Hello big world\n"
                                "float lower 2\nJunk\nBool muted no\n");
    EXPECT_EQ(globals.floats, (std::map<std::string, float>{{"lives", 3.0f}}));
    EXPECT_EQ(globals.bools, (std::map<std::string, bool>{{"sound", true}}));
    EXPECT_EQ(globals.strings, (std::map<std::string, std::string>{{"title", "Hello big world"}}));

    // A later default file adds its new names to an existing save, whose values win.
    game.Write("Resources/Scripts/GlobalVariables.orin", "Float lives 9\nFloat extra 1\n");
    globals.Load();
    EXPECT_EQ(globals.floats, (std::map<std::string, float>{{"extra", 1.0f}, {"lives", 3.0f}}));

    game.Write("Resources/Scripts/GlobalVariables.orin", "Float lives 3\nFloat coins 0\n");
    const std::string damaged =
        std::string("\x01\x02\xff\0 garbage\n", 13) + "Float lives 1\nFloat coins many\nJunk\n";
    save.Write(UserFile().string(), damaged);
    engine->logger.Clear();

    GlobalVariables kept{engine->logger};
    kept.Load();
    EXPECT_EQ(kept.floats, (std::map<std::string, float>{{"coins", 0.0f}, {"lives", 1.0f}}));
    EXPECT_TRUE(engine->logger.Lines().empty());
    EXPECT_EQ(Read(UserFile()), damaged);
    EXPECT_FALSE(std::filesystem::exists(UserFile().string() + ".unreadable"));

    // White space alone is an empty save, not an unreadable one.
    save.Write(UserFile().string(), "\n \r\n");
    kept.Load();
    EXPECT_EQ(kept.floats, (std::map<std::string, float>{{"coins", 0.0f}, {"lives", 3.0f}}));
    EXPECT_TRUE(engine->logger.Lines().empty());
    EXPECT_FALSE(std::filesystem::exists(UserFile().string() + ".unreadable"));

    game.Write("Resources/Scripts/GlobalVariables.orin", "Float lives 3\nString title Hello\n");
    const std::string garbage("\x89PNG\r\n\x1a\n\0\0\0\rIHDR \xff\xfe Float\0", 26);
    const std::string older("\0\0\0\0", 4);
    const std::string aside = UserFile().string() + ".unreadable";
    save.Write(aside, older); // set aside by an earlier start: never replaced
    save.Write(UserFile().string(), garbage);
    engine->logger.Clear();

    GlobalVariables fresh{engine->logger};
    fresh.Load();
    EXPECT_EQ(fresh.floats, (std::map<std::string, float>{{"lives", 3.0f}}));
    EXPECT_EQ(fresh.strings, (std::map<std::string, std::string>{{"title", "Hello"}}));
    EXPECT_EQ(engine->logger.Lines(),
              (Strings{"Error: Failed To read " + UserFile().string() +
                       ": no line holds a global; it is kept as " + aside + ".2 and the defaults are used"}));
    EXPECT_EQ(Read(UserFile()), "Float lives 3\nString title Hello\n");
    EXPECT_EQ(Read(aside + ".2"), garbage);
    EXPECT_EQ(Read(aside), older);

    // The new save is the player's from now on.
    fresh.floats["lives"] = 1.0f;
    ASSERT_TRUE(fresh.Save());
    GlobalVariables again{engine->logger};
    again.Load();
    EXPECT_EQ(again.floats, (std::map<std::string, float>{{"lives", 1.0f}}));
}

// A value reads back as it was saved: carriage returns at a line end are not part of it (each
// save used to drop one of them), and floats are the shortest text that reads back the same.
TEST_F(GlobalVariablesFile, WithoutAFolderNothingIsSavedAndSavedValuesReadBackAsTheyWereInTheShortestText)
{
    // Without any folder there are no globals and nothing is written; APPDATA then names the
    // same folder the fixture's XDG_DATA_HOME did.
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    EXPECT_EQ(GlobalVariables::UserFolder(), "");
    GlobalVariables homeless{engine->logger};
    homeless.Load();
    homeless.floats["lives"] = 1.0f;
    EXPECT_FALSE(homeless.Save());
    setenv("APPDATA", save.root.string().c_str(), 1);
    EXPECT_EQ(GlobalVariables::UserFolder(), save.root.string() + "/Corvalune");

    ScratchFolder game(ScratchFolder::ENTER);
    game.Write("Resources/Scripts/GlobalVariables.orin", "String title Hello\n");
    save.Write(UserFile().string(), "String title Hello there\r\r\r\nString motto a\rb\r\n");
    GlobalVariables first{engine->logger};
    first.Load();
    EXPECT_EQ(first.strings,
              (std::map<std::string, std::string>{{"motto", "a\rb"}, {"title", "Hello there"}}));
    ASSERT_TRUE(first.Save());
    GlobalVariables second{engine->logger};
    second.Load();
    EXPECT_EQ(second.strings, first.strings);
    EXPECT_EQ(Read(UserFile()), "String motto a\rb\nString title Hello there\n");

    GlobalVariables globals{engine->logger};
    globals.Load();
    globals.bools["sound"] = false;
    const std::map<std::string, float> floats{{"best", 83.1234589f},
                                              {"big", 1234567.0f},
                                              {"small", 0.1f},
                                              {"lives", 3.0f},
                                              {"tiny", std::numeric_limits<float>::denorm_min()},
                                              {"debt", -2.71828175e-3f},
                                              {"most", std::numeric_limits<float>::max()}};
    globals.floats = floats;
    globals.strings["title"] = "Hello big world";
    ASSERT_TRUE(globals.Save());
    const std::string text = Read(UserFile());
    EXPECT_EQ(text.rfind("Bool sound 0\n", 0), 0u);
    EXPECT_NE(text.find("Float small 0.1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Float lives 3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Float big 1234567\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Float lives 3\nFloat most "), std::string::npos) << "floats keep the map's order";

    GlobalVariables third{engine->logger};
    third.Load();
    EXPECT_EQ(third.floats, floats) << text; // bit for bit, the denormal included
    EXPECT_EQ(third.Text(), text);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(save.root / "Corvalune"),
                            std::filesystem::directory_iterator{}),
              1)
        << "no temporary file is left behind";
}

TEST_F(GlobalVariablesFile, AFailedSaveLeavesThePreviousFileWholeAndAtShutdownIsPrinted)
{
    GlobalVariables globals{engine->logger};
    globals.Load();
    globals.floats["lives"] = 3.0f;
    ASSERT_TRUE(globals.Save());
    // Something in the way of the temporary file makes the write fail before the rename.
    std::filesystem::create_directory(UserFile().string() + ".tmp");
    globals.floats["lives"] = 1.0f;
    engine->logger.Clear();
    EXPECT_FALSE(globals.Save());
    EXPECT_EQ(Read(UserFile()), "Float lives 3\n");
    EXPECT_EQ(engine->logger.Lines(), (Strings{"Error: Failed To write " + UserFile().string()}));

    // A file put where the folder was lets no one, root included, write into it.
    std::filesystem::remove_all(save.root / "Corvalune");
    save.Write("Corvalune", "not a folder");
    engine->logger.Log("a line of a frame that never finished");

    testing::internal::CaptureStdout();
    Scene::Engine::Shutdown();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: Failed To write " + UserFile().string() + "\n");
}

TEST_F(GlobalVariablesFile, ScriptsChangeGlobalsAndTheScriptSystemWritesThemBackWhenDestroyed)
{
    GlobalVariables seed{engine->logger};
    seed.Load();
    seed.floats["lives"] = 3.0f;
    seed.strings["title"] = "Old title";
    ASSERT_TRUE(seed.Save());

    engine->scenes->SetCurrent(engine->NewScene()); // reads the file above
    ECS::IEntity* e = Once("Hero", "SetFloat #g_lives 2\nSetString #g_title New\nSetString #l_out #g_lives");
    EXPECT_EQ(Said(), (Strings{"Something is wrong with Hero"}))
        << "lives is a float global, not a string one";
    EXPECT_EQ(Script(e).stringList.at("out"), "") << "the destination was created before the value failed";

    Scene::Engine::Shutdown();
    EXPECT_EQ(Read(UserFile()), "Float lives 2\nString title New\n");
}

} // namespace Varn::Test
