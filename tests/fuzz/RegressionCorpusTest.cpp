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

// The image decoder's files once aborted, crashed or hung it: they are refused under every extension.
TEST(RegressionCorpus, ContentLoadersSurviveEveryRecordedInput)
{
    for (const Fuzz::Target& target : Fuzz::Targets())
    {
        SCOPED_TRACE(target.name);
        const fs::path folder = fs::path(CORVALUNE_SOURCE_DIR) / "fuzz" / "regressions" / target.name;
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
            for (std::string line; std::getline(expected, line);)
            {
                const bool logged =
                    line.empty() || std::any_of(outcome.log.begin(), outcome.log.end(),
                                                [&](const std::string& logLine)
                                                { return logLine.find(line) != std::string::npos; });
                EXPECT_TRUE(logged) << "\"" << line << "\" not logged; log:" << Joined(outcome.log);
            }
        }
    }
}

} // namespace Varn::Test
