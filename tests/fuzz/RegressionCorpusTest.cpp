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
#include <string>
#include <vector>

namespace Varn::Test
{

namespace
{

namespace fs = std::filesystem;

const std::string EXPECTED = ".expected";

std::string Bytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The recorded inputs of one target, in name order, without their ".expected" files.
std::vector<fs::path> Inputs(const fs::path& folder)
{
    std::vector<fs::path> inputs;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
    {
        if (entry.is_regular_file() && entry.path().extension() != EXPECTED)
        {
            inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

bool Logged(const std::vector<std::string>& log, const std::string& part)
{
    return std::any_of(log.begin(), log.end(),
                       [&part](const std::string& line) { return line.find(part) != std::string::npos; });
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

} // namespace

TEST(RegressionCorpus, ContentLoadersSurviveEveryRecordedInput)
{
    for (const Fuzz::Target& target : Fuzz::Targets())
    {
        SCOPED_TRACE(target.name);
        const fs::path folder = fs::path(CORVALUNE_SOURCE_DIR) / "fuzz" / "regressions" / target.name;
        const std::vector<fs::path> inputs = Inputs(folder);
        // A renamed or emptied folder would otherwise pass without replaying anything.
        EXPECT_FALSE(inputs.empty()) << "no inputs in " << folder;
        for (const fs::path& input : inputs)
        {
            SCOPED_TRACE(input.filename().string());
            const std::string bytes = Bytes(input);
            const Fuzz::Outcome outcome =
                target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            EXPECT_TRUE(outcome.consistent) << "log:" << Joined(outcome.log);
            std::ifstream expected(input.string() + EXPECTED);
            for (std::string part; std::getline(expected, part);)
            {
                EXPECT_TRUE(part.empty() || Logged(outcome.log, part))
                    << "\"" << part << "\" not logged; log:" << Joined(outcome.log);
            }
        }
    }
}

} // namespace Varn::Test
