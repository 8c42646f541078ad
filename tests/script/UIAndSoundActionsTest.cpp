#include "script/ScriptTestSupport.h"

#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "ecs/UIText.h"
#include "resource/AudioManager.h"
#include "resource/Texture2D.h"

#include <chrono>
#include <thread>

namespace Varn::Test
{

using UIComponent::UIButton;
using UIComponent::UIText;

using UIActions = ScriptTest;
using SoundActions = ScriptTest;

namespace
{
const std::string TONE = std::string(CORVALUNE_SOURCE_DIR) + "/tests/resource/data/tone.ogg"; // 0.25 s
const std::string SPRITE = std::string(CORVALUNE_SOURCE_DIR) + "/Resources/Sprites/basicParticleSprite.dds";

void WithButton(ECS::IEntity* e)
{
    e->AddComponent<UIButton>()->isDown = true;
}
} // namespace

TEST_F(UIActions, TextJoinsItsWordsAndDropsRepeatsOfTheFirst)
{
    auto text = [this](const std::string& name, const std::string& actions)
    {
        return RunOnce(name, actions, [](ECS::IEntity* e) { e->AddComponent<UIText>(); })
            ->GetComponent<UIText>()
            ->text;
    };
    EXPECT_EQ(text("Greeting", "SetText Hello World"), "Hello World");
    EXPECT_EQ(text("Starter", "SetText Go Go"), "Go");
    EXPECT_EQ(text("Chant", "SetText Go Team Go Team"), "Go Team Team");
    RunOnce("Blank", "SetText Hello");
    EXPECT_EQ(Log().back(), "Missing UIText component in Blank.");
}

TEST_F(UIActions, ButtonImagesByStateAndOnlyUpReleasesTheButton)
{
    UIButton& button =
        *RunOnce("Menu", "SetButtonImage Hover " + SPRITE + "\nSetButtonState Down", WithButton)
             ->GetComponent<UIButton>();
    EXPECT_EQ(button.buttonTextureHover, engine->resources->GetTexture(SPRITE));
    EXPECT_EQ(button.buttonTextureHover->width, 32) << "the picture is read at once";
    EXPECT_NE(button.buttonTextureDefault, button.buttonTextureHover);
    EXPECT_TRUE(button.isDown) << "only Up means something";

    UIButton& released = *RunOnce("Back", "SetButtonState Up", WithButton)->GetComponent<UIButton>();
    EXPECT_FALSE(released.isDown);

    UIButton& odd = *RunOnce("Odd", "SetButtonImage Pressed " + SPRITE + "\nSetButtonState Up", WithButton)
                         ->GetComponent<UIButton>();
    EXPECT_TRUE(odd.isDown) << "an unknown state stops the script";
    EXPECT_EQ(Log().back(), "Something is wrong with Odd");

    ECS::IEntity* image = RunOnce("Icon", "SetUIImage " + SPRITE,
                                  [](ECS::IEntity* e) { e->AddComponent<UIComponent::UIImage>(); });
    EXPECT_EQ(image->GetComponent<UIComponent::UIImage>()->texture, engine->resources->GetTexture(SPRITE));
}

TEST_F(SoundActions, ALoopingSoundPlaysUntilStoppedOrASceneLoad)
{
    System::AudioManager& audio = *engine->audio;
    ASSERT_TRUE(audio.IsOpen());
    RunOnce("Jukebox", "PlaySound " + TONE + " false true false\nPlaySound " + TONE + " true false false");
    EXPECT_EQ(audio.PlayingCount(false), 1);
    EXPECT_EQ(audio.PlayingCount(true), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(600)); // the tone lasts 0.25 s
    audio.Update(0.6);
    EXPECT_EQ(audio.PlayingCount(false), 1) << "the looping one goes on";
    EXPECT_EQ(audio.PlayingCount(true), 0);

    RunOnce("Silencer", "StopSound anything");
    EXPECT_EQ(audio.PlayingCount(false), 0);

    RunOnce("Again", "PlaySound " + TONE + " true true true\nLoadScene elsewhere.scene");
    EXPECT_EQ(audio.PlayingCount(true), 0) << "a scene request stops every sound";

    RunOnce("Short", "PlaySound " + TONE + " false true");
    EXPECT_EQ(Log().back(), "Invalid PlaySound parameters in Short.");
}

} // namespace Varn::Test
