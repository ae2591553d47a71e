#include "app/CheckMessages.h"

#include "app/Strings.h"
#include "syshelper/TextConversion.h"

std::wstring hexCode(long error)
{
    std::wstring code = L"0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        code += L"0123456789ABCDEF"[(static_cast<unsigned long>(error) >> shift) & 0xF];
    }
    return code;
}

std::wstring decimalText(unsigned long value)
{
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

std::wstring filledIn(std::wstring pattern, const wchar_t* placeholder, const std::wstring& value)
{
    const std::wstring key = placeholder;
    for (size_t at = pattern.find(key); at != std::wstring::npos; at = pattern.find(key, at + value.size())) {
        pattern.replace(at, key.size(), value);
    }
    return pattern;
}

std::wstring describeFailureCause(const VariableOutcome& variable)
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
        return filledIn(filledIn(strings::causeOtherError, L"{name}", toWide(variable.name)), L"{code}",
                        hexCode(variable.error));
    case FailureCause::none:
        break;
    }
    return std::wstring();
}

std::wstring describeJdkFolder(const std::wstring& folder, const JdkFolderCheck& check)
{
    switch (check.state) {
    case JdkFolderState::insideJdkHome:
        return filledIn(filledIn(strings::jdkFolderInsideHome, L"{folder}", folder), L"{home}", check.proposedHome);
    case JdkFolderState::missing:
        return filledIn(strings::jdkFolderMissing, L"{folder}", folder);
    case JdkFolderState::notAFolder:
        return filledIn(strings::jdkFolderIsFile, L"{folder}", folder);
    case JdkFolderState::noJavaExe:
        return filledIn(strings::jdkFolderWithoutJava, L"{folder}", folder);
    case JdkFolderState::jdkHome:
        break;
    }
    return std::wstring();
}

std::wstring describeConsoleVerdict(const ConsoleJavaVerdict& verdict)
{
    switch (verdict.winner) {
    case ConsoleJavaWinner::javaHomeBin:
        return filledIn(strings::consoleRunsJavaHome, L"{folder}", verdict.folder);
    case ConsoleJavaWinner::earlierPathEntry:
        return filledIn(strings::consoleRunsEarlierEntry, L"{folder}", verdict.folder);
    case ConsoleJavaWinner::userJavaHome:
        return filledIn(strings::consoleRunsUserJavaHome, L"{folder}", verdict.folder);
    case ConsoleJavaWinner::userPathEntry:
        return filledIn(strings::consoleRunsUserPathEntry, L"{folder}", verdict.folder);
    case ConsoleJavaWinner::none:
        break;
    }
    return strings::consoleFindsNoJava;
}

std::wstring describeWrittenWithVerdict(const ConsoleJavaVerdict& verdict)
{
    if (verdict.javaHomeWins()) return strings::configureSucceeded;
    return std::wstring(strings::variablesWrittenButConsoleDiffers) + describeConsoleVerdict(verdict);
}
