#include "app/Actions.h"
#include "app/CheckMessages.h"
#include "app/CommandLine.h"
#include "app/Configuration.h"
#include "app/ConsoleCheck.h"
#include "app/Elevation.h"
#include "app/FolderInput.h"
#include "app/JdkCheck.h"
#include "app/MainWindow.h"
#include "app/OutcomeMessage.h"
#include "app/Strings.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

// Task-modal without an owner: every window of this thread stays disabled
// until the box is closed, so no second click can start meanwhile.
int showMessage(const std::wstring& text, UINT style)
{
    return MessageBoxW(nullptr, text.c_str(), strings::configureCaption, MB_TASKMODAL | style);
}

// Warns and returns false when the text must not be written.
bool folderTextIsUsable(const std::wstring& folder)
{
    switch (checkFolderInput(folder)) {
    case FolderInputProblem::blank:
        showMessage(strings::folderBlank, MB_OK | MB_ICONWARNING);
        return false;
    case FolderInputProblem::notRepresentable:
        showMessage(strings::folderNotRepresentable, MB_OK | MB_ICONWARNING);
        return false;
    case FolderInputProblem::none:
        break;
    }
    return true;
}

// Yes puts the proposed home into the box and configures it, No configures
// the text as typed, Cancel writes nothing.
bool acceptProposedHome(MainWindow& window, const std::wstring& folder, const JdkFolderCheck& check)
{
    const std::wstring question =
        filledIn(filledIn(strings::jdkProposeHome, L"{folder}", folder), L"{home}", check.proposedHome);
    const int answer = showMessage(question, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) window.setEditTextWide(check.proposedHome);
    return answer == IDYES || answer == IDNO;
}

// False when the user chose to write nothing.
bool confirmJdkFolder(MainWindow& window)
{
    const std::wstring folder = window.getEditTextWide();
    const JdkFolderCheck check = checkJdkFolder(folder);
    switch (check.state) {
    case JdkFolderState::jdkHome:
        return true;
    case JdkFolderState::insideJdkHome:
        return acceptProposedHome(window, folder, check);
    case JdkFolderState::missing:
    case JdkFolderState::notAFolder:
    case JdkFolderState::noJavaExe:
        break;
    }
    const std::wstring warning = describeJdkFolder(folder, check) + strings::jdkWarningChoice;
    return showMessage(warning, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

// Every variable written: plain success only when a new console will run
// JAVA_HOME's java.exe; otherwise which folder wins instead, and why.
void showWritten()
{
    const ConsoleJavaVerdict verdict = checkNewConsoleJava();
    showMessage(describeWrittenWithVerdict(verdict), MB_OK | (verdict.javaHomeWins() ? 0 : MB_ICONWARNING));
}

bool refusedByMachineScope(const ConfigurationOutcome& outcome)
{
    const auto variables = outcome.variables();
    return std::any_of(variables.begin(), variables.end(),
                       [](const VariableOutcome* v) { return v->cause == FailureCause::accessDenied; });
}

// One box for the elevated instance's exit code. The console check is made
// here, in the user's own process: with over-the-shoulder elevation the
// elevated instance runs as another user and would read the wrong user scope.
void showElevatedResult(const ElevatedRun& run)
{
    if (!run.started) {
        showMessage(filledIn(strings::elevationNotStarted, L"{code}", decimalText(run.error)), MB_OK | MB_ICONERROR);
        return;
    }
    switch (run.exitCode) {
    case exitcode::allWritten:
        showWritten();
        return;
    case exitcode::nothingWritten:
        showMessage(strings::elevatedStillRefused, MB_OK | MB_ICONERROR);
        return;
    case exitcode::shellUnavailable:
        showMessage(strings::causeShellUnavailable, MB_OK | MB_ICONERROR);
        return;
    case exitcode::partlyWritten:
        showMessage(strings::elevatedPartlyWritten, MB_OK | MB_ICONERROR);
        return;
    default:
        break;
    }
    showMessage(filledIn(strings::elevatedFailed, L"{code}", decimalText(run.exitCode)), MB_OK | MB_ICONERROR);
}

// The failure box, which offers a second try as administrator when the
// machine scope refused: the elevated instance repeats the configuration
// with no question (the folder check was answered here) and no output.
void showFailure(MainWindow& window, const ConfigurationOutcome& outcome, const std::wstring& folder)
{
    if (!refusedByMachineScope(outcome)) {
        showMessage(describeOutcome(outcome), MB_OK | MB_ICONERROR);
        return;
    }
    const std::wstring question = describeOutcome(outcome) + strings::elevationQuestion;
    if (showMessage(question, MB_YESNO | MB_ICONERROR) != IDYES) return;
    showElevatedResult(runElevated(window.handle(), unattendedArguments(folder)));
}

}  // namespace

void onConfigureClicked(MainWindow& window)
{
    // The checks come before the helper exists: its destroy balances one
    // CoInitialize, and with no operation run it would undo the thread's
    // OleInitialize instead.
    if (!folderTextIsUsable(window.getEditTextWide())) return;
    if (!confirmJdkFolder(window)) return;

    const std::wstring folder = window.getEditTextWide();
    const ConfigurationOutcome outcome = configureJavaEnvironment(window.getEditText());
    if (outcome.allSucceeded()) {
        showWritten();
    } else {
        showFailure(window, outcome, folder);
    }
}
