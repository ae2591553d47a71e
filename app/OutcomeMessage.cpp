#include "app/OutcomeMessage.h"

#include "app/CheckMessages.h"
#include "app/Strings.h"
#include "syshelper/TextConversion.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

std::wstring nameList(const ConfigurationOutcome& outcome, bool written)
{
    std::wstring list;
    for (const VariableOutcome* variable : outcome.variables()) {
        if ((variable->state == VariableState::written) != written) continue;
        if (variable->state == VariableState::upToDate) continue;
        if (!list.empty()) list += strings::variableListSeparator;
        list += toWide(variable->name);
    }
    return list.empty() ? strings::variablesNone : list;
}

std::vector<std::wstring> distinctCauses(const ConfigurationOutcome& outcome)
{
    std::vector<std::wstring> causes;
    for (const VariableOutcome* variable : outcome.variables()) {
        const std::wstring cause = describeFailureCause(*variable);
        if (!cause.empty() && std::find(causes.begin(), causes.end(), cause) == causes.end()) {
            causes.push_back(cause);
        }
    }
    return causes;
}

}  // namespace

std::wstring describeOutcome(const ConfigurationOutcome& outcome)
{
    if (outcome.allSucceeded()) return strings::configureSucceeded;

    std::wstring text = strings::configureIncomplete;
    text += L"\n\n";
    text += strings::variablesWritten + nameList(outcome, true) + L"\n";
    text += strings::variablesNotWritten + nameList(outcome, false) + L"\n";
    if (outcome.path.state == VariableState::upToDate) text += std::wstring(strings::pathUpToDate) + L"\n";
    for (const std::wstring& cause : distinctCauses(outcome)) text += L"\n" + cause;
    return text;
}
