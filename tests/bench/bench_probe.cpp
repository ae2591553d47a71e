// Benchmark driver: starts the tool (and the baseline window program) under
// the caller's Wine prefix and prints one line per sample, "<figure> <value>",
// for scripts/bench to reduce to medians. It judges nothing itself.
//
//   bench_probe startup <runs> <name>=<program.exe>...
//       start-up until shown and idle, "startup_<name>_ms", for each program
//       in turn, round after round; for the program named "baseline" also
//       its peak working set once it is idle;
//   bench_probe click <tool.exe> <launches>
//       per launch: a first and a second configuration click on a JDK-shaped
//       folder, from the click until the result box is up, and the tool's
//       peak working set after them. The machine JAVA_HOME, JRE_HOME and PATH
//       are put back before every launch and at the end.

#include "app/ControlTable.h"
#include "tests/bench/GuiProcess.h"
#include "tests/support/Registry.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using benchsupport::GuiProcess;
using benchsupport::nowMs;

namespace {

constexpr DWORD startTimeoutMs = 60000;
constexpr DWORD clickTimeoutMs = 60000;
constexpr wchar_t messageBoxClass[] = L"#32770";

void report(const char* figure, double value)
{
    std::printf("%s %.3f\n", figure, value);
    std::fflush(stdout);
}

void reportFailure(const char* what)
{
    std::printf("failed %s\n", what);
    std::fflush(stdout);
}

// Milliseconds from before CreateProcess until the window is shown and idle.
std::optional<double> timeStartUp(GuiProcess& process, double started)
{
    if (!process.running() || !process.waitUntilShownAndIdle(startTimeoutMs)) return std::nullopt;
    return nowMs() - started;
}

struct StartedProgram {
    std::string name;
    std::wstring executable;
};

bool startOnce(const StartedProgram& program, bool recorded)
{
    const double started = nowMs();
    GuiProcess process(program.executable);
    const std::optional<double> elapsed = timeStartUp(process, started);
    if (!elapsed) return false;
    if (recorded) {
        report(("startup_" + program.name + "_ms").c_str(), *elapsed);
        if (program.name == "baseline") report("peak_baseline_bytes", static_cast<double>(process.peakWorkingSet()));
    }
    return process.closeAndWait(process.findVisibleWindow(nullptr), startTimeoutMs);
}

// Round-robin, one start of each program per round, so that a drift in the
// machine's load, which on shared cores moves whole minutes by tens of
// per cent, touches every program the same way.
int measureStartUp(const std::vector<StartedProgram>& programs, int runs)
{
    // One unrecorded round fills the file cache and Wine's own state.
    for (int round = -1; round < runs; ++round) {
        for (const StartedProgram& program : programs) {
            if (!startOnce(program, round >= 0)) reportFailure(("startup-" + program.name).c_str());
        }
    }
    return 0;
}

std::optional<StartedProgram> namedProgram(const std::string& argument)
{
    const size_t equals = argument.find('=');
    if (equals == std::string::npos || equals == 0) return std::nullopt;
    return StartedProgram{argument.substr(0, equals), benchsupport::windowsPathOf(argument.substr(equals + 1))};
}

bool closeBox(HWND box)
{
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    const double deadline = nowMs() + clickTimeoutMs;
    while (IsWindow(box)) {
        if (nowMs() > deadline) return false;
        Sleep(1);
    }
    return true;
}

// From the click until the result box is visible; the box is closed again
// and the click's handler has returned when this does.
std::optional<double> timeClick(GuiProcess& tool, HWND window, HWND button)
{
    const double clicked = nowMs();
    PostMessageW(button, BM_CLICK, 0, 0);
    for (;;) {
        if (HWND box = tool.findVisibleWindow(messageBoxClass)) {
            const double elapsed = nowMs() - clicked;
            DWORD_PTR ignored = 0;
            const bool handlerReturned =
                closeBox(box) && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, clickTimeoutMs, &ignored);
            return handlerReturned ? std::optional<double>(elapsed) : std::nullopt;
        }
        if (nowMs() - clicked > clickTimeoutMs) return std::nullopt;
        Sleep(1);
    }
}

bool setFolderText(HWND window, const std::wstring& folder)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(GetDlgItem(window, controlId::编辑框1), WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(folder.c_str()), SMTO_NORMAL, clickTimeoutMs, &ignored) != 0;
}

// The three variables a click writes, put back as they were when this goes.
struct SavedMachineJavaVariables {
    testsupport::SavedVariable javaHome{testsupport::systemEnvironment, L"JAVA_HOME"};
    testsupport::SavedVariable jreHome{testsupport::systemEnvironment, L"JRE_HOME"};
    testsupport::SavedVariable path{testsupport::systemEnvironment, L"PATH"};
};

bool clickTwiceInOneLaunch(const std::wstring& executable, const std::wstring& folder)
{
    const SavedMachineJavaVariables saved;
    GuiProcess tool(executable);
    HWND window = tool.running() ? tool.waitUntilShownAndIdle(startTimeoutMs) : nullptr;
    if (!window || !setFolderText(window, folder)) return false;
    HWND button = GetDlgItem(window, controlId::按钮1);
    const std::optional<double> first = timeClick(tool, window, button);
    const std::optional<double> second = first ? timeClick(tool, window, button) : std::nullopt;
    if (!second) return false;
    report("click_first_ms", *first);
    report("click_second_ms", *second);
    report("peak_tool_bytes", static_cast<double>(tool.peakWorkingSet()));
    return tool.closeAndWait(window, startTimeoutMs);
}

int measureClicks(const std::wstring& tool, int launches)
{
    // An ASCII name: without the zh_CN.UTF-8 glibc locale Wine cannot make
    // a file name with Chinese characters, and the name costs nothing here.
    const testsupport::JdkFolder jdk(L"jdk1.8.0_202");
    if (jdk.home().empty()) {
        reportFailure("click-fixture");
        return 1;
    }
    for (int launch = 0; launch < launches; ++launch) {
        if (!clickTwiceInOneLaunch(tool, jdk.home())) reportFailure("click");
    }
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: bench_probe startup <runs> <name>=<program.exe>...\n"
                 "       bench_probe click <tool.exe> <launches>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc > 3) {
        std::vector<StartedProgram> programs;
        for (int index = 3; index < argc; ++index) {
            const std::optional<StartedProgram> program = namedProgram(argv[index]);
            if (!program) return usage();
            programs.push_back(*program);
        }
        return measureStartUp(programs, std::atoi(argv[2]));
    }
    if (mode == "click" && argc == 4) {
        return measureClicks(benchsupport::windowsPathOf(argv[2]), std::atoi(argv[3]));
    }
    return usage();
}
