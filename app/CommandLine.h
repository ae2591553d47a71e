#pragma once
// The command-line mode for unattended deployment (start-up scripts, Intune,
// SCCM, a lab administrator's batch file): the options, the exit codes and
// where the output goes.
//
//   zovrel-javaenv.exe --java-home <folder> [--force] [--quiet]
//   zovrel-javaenv.exe --show
//   zovrel-javaenv.exe --help

#include <string>
#include <vector>

enum class CommandMode {
    // No argument at all: the window, as always.
    window,
    configure,
    show,
    help,
    // An unknown option, a missing value or options that do not go together.
    usageError,
};

struct CommandLineOptions {
    CommandMode mode = CommandMode::window;
    std::wstring javaHome;
    // Configure even when the folder check fails.
    bool force = false;
    // Print nothing and show no box; only the exit code tells.
    bool quiet = false;
    // For usageError: the argument that was wrong.
    std::wstring offendingArgument;
};

// Exit codes, decided in this order: the first that applies is returned.
namespace exitcode {
inline constexpr int allWritten = 0;
inline constexpr int usageOrInput = 1;
inline constexpr int nothingWritten = 2;
inline constexpr int shellUnavailable = 3;
inline constexpr int partlyWritten = 4;
inline constexpr int folderCheckFailed = 5;
}  // namespace exitcode

// `arguments` without the program's own name.
CommandLineOptions parseCommandLine(const std::vector<std::wstring>& arguments);

// This process's arguments as CommandLineToArgvW splits them, without the
// program's own name.
std::vector<std::wstring> processArguments();

// The arguments for our own executable that repeat a configuration with no
// question and no output, each quoted so that CommandLineToArgvW gives back
// exactly `folder`: --java-home "<folder>" --force --quiet
std::wstring unattendedArguments(const std::wstring& folder);

// `argument` in double quotes, with backslashes and quotes escaped the way
// CommandLineToArgvW undoes it (a backslash run before a quote is doubled,
// a trailing one too, since the closing quote follows it).
std::wstring quotedArgument(const std::wstring& argument);
