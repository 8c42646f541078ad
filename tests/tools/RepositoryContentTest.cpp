// The game's own content, checked as corvalune_check_content checks it: each broken file of
// Resources/ fails this test with its name and what is wrong with it.
#include "support/DrawingTest.h"

#include "check_content/ContentChecker.h"

namespace Varn::Test
{

using RepositoryContent = Drawing;

TEST_F(RepositoryContent, EveryFilePassesTheContentChecker)
{
    engine->logger.Clear();
    Tools::ContentChecker checker;
    checker.Run();
    for (const std::string& line : checker.Lines())
    {
        ADD_FAILURE() << line;
    }
    EXPECT_GT(checker.prefabs + checker.scenes, 0u) << "no content found under " << CORVALUNE_SOURCE_DIR;
    EXPECT_TRUE(checker.problems.empty()) << checker.Summary();
}

} // namespace Varn::Test
