#include "support/EngineTest.h"

#include "ecs/EntityManager.h"
#include "ecs/Light.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/UIButtonSystem.h"
#include "graphics/UIGraphicsSystem.h"
#include "resource/Texture2D.h"

namespace Varn::Test
{

using ECS::IEntity;
using ECS::Transform;

using SceneMembership = EngineTest;

TEST_F(SceneMembership, HierarchyIsFoundThroughTheSceneListAndActivityFollowsEveryAncestor)
{
    IEntity* root = Make<>("Root");
    IEntity* a = Make<>("A", {}, {1, 1, 1, 0}, root);
    IEntity* a1 = Make<>("A1", {}, {1, 1, 1, 0}, a);
    IEntity* b = Make<>("B", {}, {1, 1, 1, 0}, root);
    IEntity* a2 = Make<>("A2", {}, {1, 1, 1, 0}, a);
    EXPECT_EQ(root->GetChildCount(), 2);
    EXPECT_EQ(root->GetChild(0), a);
    EXPECT_EQ(root->GetChild(1), b);
    EXPECT_EQ(root->GetChild(2), nullptr);
    EXPECT_EQ(a->GetChild(1), a2);
    EXPECT_EQ(NamesOf(root->GetDescendants()), (std::vector<std::string>{"A1", "A2", "A", "B"}));

    // Activity follows every ancestor.
    Transform* t = a1->GetComponent<Transform>();
    EXPECT_TRUE(t->IsActive());
    root->gameObjectActive = false;
    EXPECT_FALSE(t->IsActive());
    root->gameObjectActive = true;
    t->enabled = false;
    EXPECT_FALSE(t->IsActive());
}

TEST_F(SceneMembership, SystemsFollowTheComponentsAnEntityGainsAndLoses)
{
    ECS::Scene& scene = CurrentScene();
    IEntity* lamp = engine->entities->CreateEntity("Lamp");
    lamp->AddComponent<Transform>();
    lamp->AddComponent<ECS::SpriteRenderer>();
    lamp->AddComponent<ECS::Light>();
    EXPECT_FALSE(scene.graphicsSystem->Has(lamp)) << "not in a scene yet";
    scene.AddEntity(lamp);
    IEntity* later = Make<>("Later");
    later->AddComponent<ECS::Light>();
    EXPECT_EQ(scene.graphicsSystem->Entities(), (std::vector<IEntity*>{lamp, later}));

    // The light keeps the lamp drawn when its sprite goes; with both gone it leaves the pass,
    // and joins again at the end when a sprite comes back.
    lamp->RemoveComponent<ECS::SpriteRenderer>();
    EXPECT_TRUE(scene.graphicsSystem->Has(lamp));
    lamp->RemoveComponent<ECS::Light>();
    EXPECT_EQ(scene.graphicsSystem->Entities(), (std::vector<IEntity*>{later}));
    EXPECT_TRUE(scene.transformSystem->Has(lamp));
    lamp->AddComponent<ECS::SpriteRenderer>();
    EXPECT_EQ(scene.graphicsSystem->Entities(), (std::vector<IEntity*>{later, lamp}));

    // A button joins both UI passes showing its default texture; an image keeps the entity in
    // the drawing pass after the button goes.
    Resource::Texture2D plain{engine->logger};
    auto button = std::make_unique<ECS::UIButton>();
    button->BuildProperties();
    button->buttonTextureDefault = &plain;
    button->currentTexture = nullptr;
    auto* added = static_cast<ECS::UIButton*>(lamp->AddComponent(std::move(button)));
    EXPECT_EQ(added->currentTexture, &plain);
    EXPECT_TRUE(scene.uiButtonSystem->Has(lamp));
    EXPECT_TRUE(scene.uiGraphicsSystem->Has(lamp));
    lamp->AddComponent<ECS::UIImage>();
    lamp->RemoveComponent<ECS::UIButton>();
    EXPECT_FALSE(scene.uiButtonSystem->Has(lamp));
    EXPECT_TRUE(scene.uiGraphicsSystem->Has(lamp));

    lamp->RemoveAllComponents();
    for (const ISystem* system : std::initializer_list<const ISystem*>{
             scene.transformSystem, scene.graphicsSystem, scene.uiGraphicsSystem, scene.uiButtonSystem})
    {
        EXPECT_FALSE(system->Has(lamp));
    }
}

TEST_F(SceneMembership, RecursiveRemovalFreesTheSubtreeAndKeepsTheOrderOfTheRest)
{
    IEntity* before = Make<>("Before");
    IEntity* root = Make<>("Root");
    IEntity* child = Make<>("Child", {}, {1, 1, 1, 0}, root);
    Make<>("Grandchild", {}, {1, 1, 1, 0}, child);
    IEntity* after = Make<>("After");

    CurrentScene().RemoveEntity(root, true);
    EXPECT_EQ(NamesOf(CurrentScene().entities), (std::vector<std::string>{"Main Camera", "Before", "After"}));
    EXPECT_TRUE(root->components.empty());
    EXPECT_TRUE(child->components.empty());
    EXPECT_EQ(child->parent, nullptr);
    EXPECT_EQ(CurrentScene().transformSystem->Entities(),
              (std::vector<IEntity*>{CurrentScene().mainCamera, before, after}));
    // Freed entities are the first candidates for reuse.
    EXPECT_EQ(engine->entities->CreateEntity("Next"), root);
}

TEST_F(SceneMembership, NonRecursiveRemovalLeavesChildrenWhereTheyAre)
{
    IEntity* parent = Make<>("Parent", {100, 0, 0, 0});
    parent->GetComponent<Transform>()->angle.z = 90.0f;
    parent->GetComponent<Transform>()->flipX = true;
    IEntity* child = Make<>("Child", {10, 0, 0, 0}, {1, 1, 1, 0}, parent);
    CurrentScene().transformSystem->UpdateAll();

    CurrentScene().RemoveEntity(parent, false);
    ASSERT_EQ(child->parent, nullptr);
    const Transform* t = child->GetComponent<Transform>();
    // Local x = 10 under a parent turned 90 degrees and mirrored: (100, -10) in the world.
    EXPECT_NEAR(t->position.x, 100.0f, 1e-4f);
    EXPECT_NEAR(t->position.y, -10.0f, 1e-4f);
    EXPECT_EQ(t->position.w, 1.0f);
    EXPECT_TRUE(t->flipX);
    EXPECT_EQ(NamesOf(CurrentScene().entities), (std::vector<std::string>{"Main Camera", "Child"}));

    CurrentScene().transformSystem->UpdateAll();
    EXPECT_NEAR(t->worldMatrix.m[0][3], 100.0f, 1e-4f);
    EXPECT_NEAR(t->worldMatrix.m[1][3], -10.0f, 1e-4f);
}

} // namespace Varn::Test
