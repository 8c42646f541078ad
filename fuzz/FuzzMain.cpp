// The libFuzzer entry of one target, named when the file is compiled (CORVALUNE_FUZZ_TARGET);
// all the work is in FuzzEntries, which the regression test replays too.
#include "FuzzEntries.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Any undefined behaviour ends the run as a finding, except the library reports listed in the
// suppression file. Read by the sanitizer runtime before main; UBSAN_OPTIONS still adds to it.
extern "C" const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1:suppressions=" CORVALUNE_SOURCE_DIR "/fuzz/ubsan.supp";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Varn::Fuzz::HoldDevicesForProcess();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const Varn::Fuzz::Target* const target = Varn::Fuzz::FindTarget(CORVALUNE_FUZZ_TARGET);
    if (target == nullptr)
    {
        std::fprintf(stderr, "no fuzz target named %s\n", CORVALUNE_FUZZ_TARGET);
        std::abort();
    }
    const Varn::Fuzz::Outcome outcome = target->run(data, size);
    if (!outcome.consistent)
    {
        // An abort is what libFuzzer records as a finding; the log says what the run saw.
        std::fprintf(stderr, "%s: the entry's check failed; the run logged:\n", CORVALUNE_FUZZ_TARGET);
        for (const std::string& line : outcome.log)
        {
            std::fprintf(stderr, "  %s\n", line.c_str());
        }
        std::abort();
    }
    return 0;
}
