// Benchmark driver: times SystemHelper::listVariables on the user scope
// grown to each requested number of extra variables, and prints one line
// per call, "list_<count>_ms <milliseconds>", for scripts/bench to reduce to
// medians. Every variable it adds to HKCU\Environment is removed again.
//
//   bench_listing <calls per size> <count>...   (counts in rising order)

#include "syshelper/SystemHelper.h"
#include "tests/bench/GuiProcess.h"
#include "tests/support/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using benchsupport::nowMs;

namespace {

constexpr bool userScope = true;

std::wstring benchVariableName(int index)
{
    wchar_t name[32] = {};
    swprintf(name, std::size(name), L"ZOVREL_BENCH_%05d", index);
    return name;
}

// Each added variable is remembered (absent) first, so it is deleted again
// however the run ends short of a crash.
class AddedVariables {
public:
    bool growTo(int count)
    {
        while (static_cast<int>(saved_.size()) < count) {
            const std::wstring name = benchVariableName(static_cast<int>(saved_.size()));
            saved_.push_back(std::make_unique<testsupport::SavedVariable>(testsupport::userEnvironment, name));
            const testsupport::StoredValue value{REG_SZ, L"C:\\Zovrel\\bench\\" + name};
            if (testsupport::writeValue(testsupport::userEnvironment, name, value) != ERROR_SUCCESS) return false;
        }
        return true;
    }

private:
    std::vector<std::unique_ptr<testsupport::SavedVariable>> saved_;
};

// Milliseconds for one call; `entries` is how many the call listed.
double timeOneListing(int32_t& entries)
{
    const SystemHelperPtr helper = SystemHelper::create();
    TextList listed;
    const double started = nowMs();
    entries = helper->listVariables(userScope, listed);
    return nowMs() - started;
}

bool measureSize(int count, int calls, int32_t existing)
{
    char figure[32] = {};
    std::snprintf(figure, sizeof figure, "list_%d_ms", count);
    for (int call = 0; call < calls; ++call) {
        int32_t entries = 0;
        const double elapsed = timeOneListing(entries);
        if (entries != existing + count) {
            std::printf("failed list_%d listed %d entries, expected %d\n", count, static_cast<int>(entries),
                        static_cast<int>(existing + count));
            return false;
        }
        std::printf("%s %.3f\n", figure, elapsed);
        std::fflush(stdout);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_listing <calls per size> <count>...\n");
        return 2;
    }
    const int calls = std::atoi(argv[1]);
    int32_t existing = 0;
    timeOneListing(existing);
    if (existing < 0) {
        std::printf("failed list the shell object cannot be created\n");
        return 1;
    }
    AddedVariables added;
    for (int index = 2; index < argc; ++index) {
        const int count = std::atoi(argv[index]);
        if (!added.growTo(count) || !measureSize(count, calls, existing)) return 1;
    }
    return 0;
}
