#include "app/OutcomeMessage.h"

#include "app/Strings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::wstring widened(const char* ascii)
{
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

std::wstring hexCode(long error)
{
    wchar_t buffer[16] = {};
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"0x%08lX", static_cast<unsigned long>(error));
    return buffer;
}

std::wstring filledIn(std::wstring pattern, const wchar_t* placeholder, const std::wstring& value)
{
    const std::wstring key = placeholder;
    for (std::size_t at = pattern.find(key); at != std::wstring::npos; at = pattern.find(key, at + value.size())) {
        pattern.replace(at, key.size(), value);
    }
    return pattern;
}

std::wstring causeText(const VariableOutcome& variable)
{
    switch (variable.cause) {
    case FailureCause::accessDenied:
        return strings::causeAccessDenied;
    case FailureCause::shellUnavailable:
        return strings::causeShellUnavailable;
    case FailureCause::pathUnreadable:
        return filledIn(strings::causePathUnreadable, L"{code}", hexCode(variable.error));
    case FailureCause::pathEmpty:
        return strings::causePathEmpty;
    case FailureCause::otherError:
        return filledIn(filledIn(strings::causeOtherError, L"{name}", widened(variable.name)), L"{code}",
                        hexCode(variable.error));
    case FailureCause::none:
        break;
    }
    return std::wstring();
}

std::wstring nameList(const ConfigurationOutcome& outcome, bool written)
{
    std::wstring list;
    for (const VariableOutcome* variable : outcome.variables()) {
        if ((variable->state == VariableState::written) != written) continue;
        if (variable->state == VariableState::upToDate) continue;
        if (!list.empty()) list += strings::variableListSeparator;
        list += widened(variable->name);
    }
    return list.empty() ? strings::variablesNone : list;
}

std::vector<std::wstring> distinctCauses(const ConfigurationOutcome& outcome)
{
    std::vector<std::wstring> causes;
    for (const VariableOutcome* variable : outcome.variables()) {
        const std::wstring cause = causeText(*variable);
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
