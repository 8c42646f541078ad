// Every input that once broke a loader, replayed through its fuzz target's entry (the same
// function the fuzzer calls): the process has to survive each one, the entry's own check has
// to hold, and the failure lines named in "<input>.expected" (one per line, each a part of a
// log line) have to be logged.
#include "FuzzEntries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace Varn::Test
{

namespace
{

namespace fs = std::filesystem;

const std::string EXPECTED = ".expected";

fs::path Folder(const std::string& target)
{
    return fs::path(CORVALUNE_SOURCE_DIR) / "fuzz" / "regressions" / target;
}

std::vector<fs::path> Inputs(const std::string& target)
{
    std::vector<fs::path> inputs;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(Folder(target), error))
    {
        if (entry.is_regular_file() && entry.path().extension() != EXPECTED)
        {
            inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::string Bytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> ExpectedLines(const fs::path& input)
{
    std::vector<std::string> lines;
    std::istringstream text(Bytes(input.string() + EXPECTED));
    for (std::string line; std::getline(text, line);)
    {
        if (!line.empty())
        {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& log)
{
    std::string text;
    for (const std::string& line : log)
    {
        text += "\n  " + line;
    }
    return text;
}

void Replay(const std::string& name)
{
    const Fuzz::Target* target = Fuzz::FindTarget(name);
    ASSERT_NE(target, nullptr);
    const std::vector<fs::path> inputs = Inputs(name);
    // A renamed or emptied folder would otherwise pass without replaying anything.
    ASSERT_FALSE(inputs.empty()) << "no inputs in " << Folder(name);
    for (const fs::path& input : inputs)
    {
        SCOPED_TRACE(input.filename().string());
        const std::string bytes = Bytes(input);
        const Fuzz::Outcome outcome =
            target->run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        EXPECT_TRUE(outcome.consistent) << "log:" << Joined(outcome.log);
        for (const std::string& expected : ExpectedLines(input))
        {
            const bool logged = std::any_of(outcome.log.begin(), outcome.log.end(),
                                            [&](const std::string& line)
                                            { return line.find(expected) != std::string::npos; });
            EXPECT_TRUE(logged) << "\"" << expected << "\" not logged; log:" << Joined(outcome.log);
        }
    }
}

} // namespace

// The image decoder's files once aborted, crashed or hung it: they are refused under every extension.
TEST(RegressionCorpus, ContentLoadersSurviveEveryRecordedInput)
{
    for (const Fuzz::Target& target : Fuzz::Targets())
    {
        SCOPED_TRACE(target.name);
        Replay(target.name);
    }
}

} // namespace Varn::Test
