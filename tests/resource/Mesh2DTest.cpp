// Sprite-sheet quads: one per name, none for an empty sheet.
#include "resource/Mesh2D.h"
#include "resource/ResourceTestSupport.h"

namespace Varn::Test
{

using SheetMesh = WindowedEngineTest;

TEST_F(SheetMesh, GetMeshIsGetOrCreateByNameAndRefusesEmptySheets)
{
    auto& resources = *engine->resources;
    Resource::Mesh2D* first = resources.GetMesh("walk", 8, 1);
    EXPECT_EQ(resources.GetMesh("walk", 2, 2), first);
    EXPECT_EQ(first->columns, 8u);

    EXPECT_EQ(resources.GetMesh("empty", 0, 3), nullptr);
    EXPECT_EQ(resources.FindMesh("empty"), nullptr);
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Failed to Create Mesh"});
}

} // namespace Varn::Test
