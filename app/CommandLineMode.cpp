#include "app/CommandLineMode.h"

#include "app/CheckMessages.h"
#include "app/CommandOutput.h"
#include "app/ConsoleCheck.h"
#include "app/FolderInput.h"
#include "app/JdkCheck.h"
#include "app/Strings.h"
#include "syshelper/SystemHelper.h"
#include "syshelper/TextConversion.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr bool machineScope = false;
constexpr bool userScope = true;


UINT iconFor(int exitCode)
{
    if (exitCode == exitcode::allWritten) return 0;
    if (exitCode == exitcode::usageOrInput || exitCode == exitcode::folderCheckFailed) return MB_ICONWARNING;
    return MB_ICONERROR;
}

int finished(CommandOutput& output, int exitCode)
{
    output.finish(iconFor(exitCode));
    return exitCode;
}

void writeLines(CommandOutput& output, const std::wstring& text)
{
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(L'\n', start), text.size());
        output.writeLine(text.substr(start, end - start));
        start = end + 1;
    }
}

std::wstring variableLine(const VariableOutcome& variable)
{
    const std::wstring name = toWide(variable.name);
    switch (variable.state) {
    case VariableState::written:
        return filledIn(strings::lineWritten, L"{name}", name);
    case VariableState::upToDate:
        return filledIn(strings::lineUpToDate, L"{name}", name);
    case VariableState::notWritten:
    case VariableState::notAttempted:
        break;
    }
    return filledIn(strings::lineNotWritten, L"{name}", name) + describeFailureCause(variable);
}

// The input checks and the folder check, as the button makes them; the
// folder check refuses unless forced. Returns 0 when the writes may start.
int refusalOf(const CommandLineOptions& options, CommandOutput& output)
{
    switch (checkFolderInput(options.javaHome)) {
    case FolderInputProblem::blank:
        output.writeLine(strings::folderBlank);
        return exitcode::usageOrInput;
    case FolderInputProblem::notRepresentable:
        output.writeLine(strings::folderNotRepresentable);
        return exitcode::usageOrInput;
    case FolderInputProblem::none:
        break;
    }
    const JdkFolderCheck check = checkJdkFolder(options.javaHome);
    if (check.state == JdkFolderState::jdkHome || options.force) return 0;
    output.writeLine(describeJdkFolder(options.javaHome, check));
    output.writeLine(strings::lineFolderRefused);
    return exitcode::folderCheckFailed;
}

int configure(const CommandLineOptions& options)
{
    CommandOutput output(options.quiet);
    if (const int refusal = refusalOf(options, output)) return finished(output, refusal);

    const ConfigurationOutcome outcome = configureJavaEnvironment(toText(options.javaHome));
    for (const VariableOutcome* variable : outcome.variables()) output.writeLine(variableLine(*variable));
    // The verdict says something only when JAVA_HOME is what we meant it to be.
    if (outcome.javaHome.succeeded()) output.writeLine(describeConsoleVerdict(checkNewConsoleJava()));
    return finished(output, exitCodeFor(outcome));
}

bool hasName(const Text& entry, const char* name)
{
    const size_t length = std::char_traits<char>::length(name);
    return entry.size() > length && entry[length] == '=' && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE,
                                                                           entry.c_str(), static_cast<int>(length),
                                                                           name, static_cast<int>(length)) == CSTR_EQUAL;
}

std::wstring valueOf(const TextList& entries, const char* name)
{
    for (const Text& entry : entries) {
        if (hasName(entry, name)) return toWide(entry.substr(std::char_traits<char>::length(name) + 1));
    }
    return std::wstring();
}

void showScope(CommandOutput& output, const TextList& entries, const wchar_t* scope)
{
    for (const char* name : {"JAVA_HOME", "JRE_HOME"}) {
        const std::wstring value = valueOf(entries, name);
        output.writeLine(filledIn(filledIn(filledIn(strings::lineShowVariable, L"{scope}", scope), L"{name}",
                                           toWide(name)),
                                  L"{value}", value.empty() ? strings::lineShowNotSet : value));
    }
    output.writeLine(filledIn(strings::lineShowPath, L"{scope}", scope));
    const std::wstring path = valueOf(entries, "PATH");
    size_t start = 0;
    while (start < path.size()) {
        const size_t end = std::min(path.find(L';', start), path.size());
        if (end > start) output.writeLine(L"  " + path.substr(start, end - start));
        start = end + 1;
    }
}

int show()
{
    CommandOutput output(false);
    SystemHelperPtr helper = SystemHelper::create();
    TextList machine;
    TextList user;
    // -1: the shell object cannot be created.
    if (helper->listVariables(machineScope, machine) < 0) {
        output.writeLine(strings::causeShellUnavailable);
        return finished(output, exitcode::shellUnavailable);
    }
    helper->listVariables(userScope, user);
    showScope(output, machine, strings::lineShowScopeMachine);
    showScope(output, user, strings::lineShowScopeUser);
    output.writeLine(describeConsoleVerdict(checkNewConsoleJava()));
    return finished(output, exitcode::allWritten);
}

int usage(int exitCode, const std::wstring& offendingArgument)
{
    CommandOutput output(false);
    if (exitCode != exitcode::allWritten) {
        output.writeLine(filledIn(strings::lineUnknownArgument, L"{argument}", offendingArgument));
    }
    writeLines(output, strings::usage);
    return finished(output, exitCode);
}

}  // namespace

int exitCodeFor(const ConfigurationOutcome& outcome)
{
    const auto variables = outcome.variables();
    const auto shellMissing = [](const VariableOutcome* v) { return v->cause == FailureCause::shellUnavailable; };
    const auto succeeded = [](const VariableOutcome* v) { return v->succeeded(); };
    if (std::any_of(variables.begin(), variables.end(), shellMissing)) return exitcode::shellUnavailable;
    if (std::none_of(variables.begin(), variables.end(), succeeded)) return exitcode::nothingWritten;
    if (!std::all_of(variables.begin(), variables.end(), succeeded)) return exitcode::partlyWritten;
    return exitcode::allWritten;
}

int runCommandLine(const CommandLineOptions& options)
{
    switch (options.mode) {
    case CommandMode::configure:
        return configure(options);
    case CommandMode::show:
        return show();
    case CommandMode::help:
        return usage(exitcode::allWritten, std::wstring());
    case CommandMode::usageError:
    case CommandMode::window:
        break;
    }
    return usage(exitcode::usageOrInput, options.offendingArgument);
}
