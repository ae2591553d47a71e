#include "app/Configuration.h"

#include "app/PathEntries.h"
#include "syshelper/Automation.h"
#include "syshelper/ScopeConversation.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr bool machineScope = false;

// The helper's table gives only false for a failed write; the cause is left
// in the thread's last-error value as an HRESULT.
HRESULT lastFailure()
{
    const HRESULT error = static_cast<HRESULT>(GetLastError());
    return FAILED(error) ? error : E_FAIL;
}

bool shellObjectCanBeCreated()
{
    const ThreadComInitialisation com(ThreadComInitialisation::Balance::onExit);
    AutomationObject shell;
    return SUCCEEDED(AutomationObject::create(L"WScript.Shell", shell));
}

// A refused write is told by its code; that the shell object is missing
// shows in many codes (unknown ProgID, class not registered, a server that
// will not load), so it is asked directly.
FailureCause causeOf(HRESULT error, FailureCause otherwise)
{
    if (error == E_ACCESSDENIED) return FailureCause::accessDenied;
    if (!shellObjectCanBeCreated()) return FailureCause::shellUnavailable;
    return otherwise;
}

VariableOutcome failed(VariableOutcome outcome, VariableState state, FailureCause cause, HRESULT error)
{
    outcome.state = state;
    outcome.cause = cause;
    outcome.error = error;
    return outcome;
}

VariableOutcome write(SystemHelper& helper, VariableOutcome outcome, const Text& value)
{
    if (helper.setVariable(machineScope, outcome.name, value)) {
        outcome.state = VariableState::written;
        return outcome;
    }
    const HRESULT error = lastFailure();
    return failed(outcome, VariableState::notWritten, causeOf(error, FailureCause::otherError), error);
}

VariableOutcome extendPath(SystemHelper& helper, VariableOutcome outcome)
{
    // Only the machine scope's own value: the process's PATH is expanded and
    // holds the user's entries, and writing it back would corrupt the machine PATH.
    Text oldPath;
    const HRESULT readResult = readScopeVariable(machineScope, outcome.name, oldPath);
    if (FAILED(readResult)) {
        return failed(outcome, VariableState::notAttempted, causeOf(readResult, FailureCause::pathUnreadable),
                      readResult);
    }
    if (oldPath.empty()) return failed(outcome, VariableState::notAttempted, FailureCause::pathEmpty, S_OK);

    const Text newPath = withJavaEntries(oldPath);
    if (newPath == oldPath) {
        // Nothing to add: PATH is not rewritten at all, so a repeated click
        // cannot change it in any way, not even its stored type.
        outcome.state = VariableState::upToDate;
        return outcome;
    }
    return write(helper, outcome, newPath);
}

}  // namespace

bool ConfigurationOutcome::allSucceeded() const
{
    const auto all = variables();
    return std::all_of(all.begin(), all.end(), [](const VariableOutcome* v) { return v->succeeded(); });
}

bool ConfigurationOutcome::anyWritten() const
{
    const auto all = variables();
    return std::any_of(all.begin(), all.end(),
                       [](const VariableOutcome* v) { return v->state == VariableState::written; });
}

ConfigurationOutcome writeJavaEnvironment(SystemHelper& helper, const Text& folder)
{
    ConfigurationOutcome outcome;
    outcome.javaHome = write(helper, outcome.javaHome, folder);
    outcome.jreHome = write(helper, outcome.jreHome, jreHomeValue);
    outcome.path = extendPath(helper, outcome.path);
    return outcome;
}

void broadcastEnvironmentChange()
{
    // At most a second per window, so one hung program cannot stall the click.
    constexpr UINT perWindowTimeoutMs = 1000;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                        SMTO_ABORTIFHUNG, perWindowTimeoutMs, &ignored);
}

ConfigurationOutcome configureJavaEnvironment(const Text& folder)
{
    SystemHelperPtr helper = SystemHelper::create();
    const ConfigurationOutcome outcome = writeJavaEnvironment(*helper, folder);
    if (outcome.anyWritten()) broadcastEnvironmentChange();
    return outcome;
}
