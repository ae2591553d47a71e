// Benchmark driver: starts the tool (and the baseline window program) under
// the caller's Wine prefix and prints one line per sample, "<figure> <value>",
// for scripts/bench to reduce to medians. It judges nothing itself.
//
//   bench_probe startup <tool.exe> <baseline.exe> <runs>
//       start-up until shown and idle, alternating tool and baseline, and
//       the baseline's peak working set once it is idle;
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

bool startOnce(const std::wstring& executable, const char* figure, const char* peakFigure)
{
    const double started = nowMs();
    GuiProcess process(executable);
    const std::optional<double> elapsed = timeStartUp(process, started);
    if (!elapsed) return false;
    if (figure) report(figure, *elapsed);
    if (peakFigure) report(peakFigure, static_cast<double>(process.peakWorkingSet()));
    return process.closeAndWait(process.findVisibleWindow(nullptr), startTimeoutMs);
}

int measureStartUp(const std::wstring& tool, const std::wstring& baseline, int runs)
{
    // One unrecorded start of each fills the file cache and Wine's own state.
    if (!startOnce(tool, nullptr, nullptr) || !startOnce(baseline, nullptr, nullptr)) {
        reportFailure("startup-warmup");
        return 1;
    }
    for (int run = 0; run < runs; ++run) {
        // Alternating, so a drift in machine load touches both the same way.
        if (!startOnce(tool, "startup_tool_ms", nullptr)) reportFailure("startup-tool");
        if (!startOnce(baseline, "startup_baseline_ms", "peak_baseline_bytes")) reportFailure("startup-baseline");
    }
    return 0;
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
                 "usage: bench_probe startup <tool.exe> <baseline.exe> <runs>\n"
                 "       bench_probe click <tool.exe> <launches>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc == 5) {
        return measureStartUp(benchsupport::windowsPathOf(argv[2]), benchsupport::windowsPathOf(argv[3]),
                              std::atoi(argv[4]));
    }
    if (mode == "click" && argc == 4) {
        return measureClicks(benchsupport::windowsPathOf(argv[2]), std::atoi(argv[3]));
    }
    return usage();
}
