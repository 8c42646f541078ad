#include "support/EngineTest.h"

#include "ecs/ComponentReader.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/UIButton.h"
#include "resource/ResourceManager.h"

#include <rapidjson/document.h>

namespace
{

using Varn::UIComponent::UIButton;

using UIButtonTest = Varn::Test::EngineTest;

TEST_F(UIButtonTest, JoinsItsSceneShowingTheDefaultTextureItsBlockGave)
{
    Varn::ECS::IEntity* entity = engine->entities->CreateEntity("Start Button");
    UIButton& button = *entity->AddComponent<UIButton>();
    rapidjson::Document block;
    block.Parse(R"({"Button Texture Default":"start.dds","Button Texture Hover":"start_hover.dds"})");
    Varn::ECS::ComponentReader(*engine->resources).Read(button, block);
    EXPECT_EQ(button.currentTexture,
              engine->resources->GetTexture(Varn::System::ResourceManager::DEFAULT_TEXTURE));

    CurrentScene().AddEntity(entity);
    EXPECT_EQ(button.currentTexture, engine->resources->GetTexture("start.dds"));
}

} // namespace
