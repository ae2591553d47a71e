#include "app/Actions.h"
#include "app/Configuration.h"
#include "app/FolderInput.h"
#include "app/MainWindow.h"
#include "app/OutcomeMessage.h"
#include "app/Strings.h"

#include <windows.h>

#include <string>

namespace {

// Task-modal without an owner: every window of this thread stays disabled
// until the box is closed, so no second click can start meanwhile.
void showMessage(const std::wstring& text, UINT icon)
{
    MessageBoxW(nullptr, text.c_str(), strings::configureCaption, MB_OK | MB_TASKMODAL | icon);
}

// Warns and returns false when the text must not be written.
bool folderTextIsUsable(const std::wstring& folder)
{
    switch (checkFolderInput(folder)) {
    case FolderInputProblem::blank:
        showMessage(strings::folderBlank, MB_ICONWARNING);
        return false;
    case FolderInputProblem::notRepresentable:
        showMessage(strings::folderNotRepresentable, MB_ICONWARNING);
        return false;
    case FolderInputProblem::none:
        break;
    }
    return true;
}

}  // namespace

void onConfigureClicked(MainWindow& window)
{
    // The checks come before the helper exists: its destroy balances one
    // CoInitialize, and with no operation run it would undo the thread's
    // OleInitialize instead.
    if (!folderTextIsUsable(window.getEditTextWide())) return;

    const ConfigurationOutcome outcome = configureJavaEnvironment(window.getEditText());
    showMessage(describeOutcome(outcome), outcome.allSucceeded() ? 0 : MB_ICONERROR);
}
