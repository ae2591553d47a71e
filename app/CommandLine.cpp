#include "app/CommandLine.h"

#include "syshelper/Unique.h"

#include <windows.h>
#include <shellapi.h>

namespace {

constexpr wchar_t javaHomeOption[] = L"--java-home";
constexpr wchar_t forceOption[] = L"--force";
constexpr wchar_t quietOption[] = L"--quiet";
constexpr wchar_t showOption[] = L"--show";
constexpr wchar_t helpOption[] = L"--help";

bool isOption(const std::wstring& argument)
{
    return argument.compare(0, 2, L"--") == 0;
}

CommandLineOptions usageError(const std::wstring& argument)
{
    CommandLineOptions options;
    options.mode = CommandMode::usageError;
    options.offendingArgument = argument;
    return options;
}

// --force and --quiet belong to --java-home; --show and --help stand alone.
CommandLineOptions checkedCombination(CommandLineOptions options, bool sawShow, bool sawHelp, bool sawJavaHome)
{
    const int modes = (sawShow ? 1 : 0) + (sawHelp ? 1 : 0) + (sawJavaHome ? 1 : 0);
    if (modes > 1) return usageError(sawJavaHome ? javaHomeOption : helpOption);
    if (!sawJavaHome && options.force) return usageError(forceOption);
    if (!sawJavaHome && options.quiet) return usageError(quietOption);
    if (sawShow) options.mode = CommandMode::show;
    if (sawHelp) options.mode = CommandMode::help;
    if (sawJavaHome) options.mode = CommandMode::configure;
    return options;
}

}  // namespace

CommandLineOptions parseCommandLine(const std::vector<std::wstring>& arguments)
{
    CommandLineOptions options;
    bool sawShow = false;
    bool sawHelp = false;
    bool sawJavaHome = false;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::wstring& argument = arguments[index];
        if (argument == javaHomeOption) {
            // A following option means the folder was left out.
            if (sawJavaHome || index + 1 == arguments.size() || isOption(arguments[index + 1])) {
                return usageError(argument);
            }
            sawJavaHome = true;
            options.javaHome = arguments[++index];
        } else if (argument == forceOption) {
            options.force = true;
        } else if (argument == quietOption) {
            options.quiet = true;
        } else if (argument == showOption) {
            sawShow = true;
        } else if (argument == helpOption) {
            sawHelp = true;
        } else {
            return usageError(argument);
        }
    }
    return checkedCombination(options, sawShow, sawHelp, sawJavaHome);
}

std::vector<std::wstring> processArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    const UniqueLocal argv(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!argv) return arguments;
    const auto* values = static_cast<wchar_t**>(argv.get());
    for (int index = 1; index < count; ++index) arguments.emplace_back(values[index]);
    return arguments;
}

std::wstring quotedArgument(const std::wstring& argument)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        const size_t copies = c == L'"' ? backslashes * 2 + 1 : backslashes;
        quoted.append(copies, L'\\');
        backslashes = 0;
        quoted += c;
    }
    // The closing quote follows: a trailing run must not escape it.
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring unattendedArguments(const std::wstring& folder)
{
    return std::wstring(javaHomeOption) + L" " + quotedArgument(folder) + L" " + forceOption + L" " + quietOption;
}
