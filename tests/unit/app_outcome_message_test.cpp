// The words shown for a configuration outcome. The expected texts are written
// out here, not taken from the product's headers, so a changed text is noticed.

#include "app/OutcomeMessage.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

const std::wstring successText = L"配置Java环境成功！";

VariableOutcome outcomeOf(const char* name, VariableState state, FailureCause cause = FailureCause::none,
                          long error = 0)
{
    VariableOutcome outcome;
    outcome.name = name;
    outcome.state = state;
    outcome.cause = cause;
    outcome.error = error;
    return outcome;
}

ConfigurationOutcome outcomeWith(VariableOutcome javaHome, VariableOutcome jreHome, VariableOutcome path)
{
    ConfigurationOutcome outcome;
    outcome.javaHome = javaHome;
    outcome.jreHome = jreHome;
    outcome.path = path;
    return outcome;
}

const VariableOutcome javaHomeWritten = outcomeOf("JAVA_HOME", VariableState::written);
const VariableOutcome jreHomeWritten = outcomeOf("JRE_HOME", VariableState::written);
const VariableOutcome pathWritten = outcomeOf("PATH", VariableState::written);

std::size_t occurrences(const std::wstring& text, const std::wstring& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

TEST(OutcomeMessage, SuccessWhenEveryVariableIsWrittenOrAlreadyRight)
{
    EXPECT_EQ(describeOutcome(outcomeWith(javaHomeWritten, jreHomeWritten, pathWritten)), successText);
    EXPECT_EQ(describeOutcome(outcomeWith(javaHomeWritten, jreHomeWritten,
                                          outcomeOf("PATH", VariableState::upToDate))),
              successText);
}

struct FailureCase {
    const char* label;
    ConfigurationOutcome outcome;
    std::vector<std::wstring> expectedParts;
};

std::ostream& operator<<(std::ostream& out, const FailureCase& c)
{
    return out << c.label;
}

const VariableOutcome javaHomeRefused =
    outcomeOf("JAVA_HOME", VariableState::notWritten, FailureCause::accessDenied, E_ACCESSDENIED);
const VariableOutcome jreHomeRefused =
    outcomeOf("JRE_HOME", VariableState::notWritten, FailureCause::accessDenied, E_ACCESSDENIED);

const FailureCase failureCases[] = {
    {"every write refused",
     outcomeWith(javaHomeRefused, jreHomeRefused,
                 outcomeOf("PATH", VariableState::notWritten, FailureCause::accessDenied, E_ACCESSDENIED)),
     {L"已写入：无\n", L"未写入：JAVA_HOME、JRE_HOME、PATH\n", L"管理员权限", L"右键", L"“以管理员身份运行”"}},
    {"refused while PATH needed nothing",
     outcomeWith(javaHomeRefused, jreHomeRefused, outcomeOf("PATH", VariableState::upToDate)),
     {L"已写入：无\n", L"未写入：JAVA_HOME、JRE_HOME\n", L"PATH 已包含", L"以管理员身份运行"}},
    {"shell object missing",
     outcomeWith(outcomeOf("JAVA_HOME", VariableState::notWritten, FailureCause::shellUnavailable, REGDB_E_CLASSNOTREG),
                 outcomeOf("JRE_HOME", VariableState::notWritten, FailureCause::shellUnavailable, REGDB_E_CLASSNOTREG),
                 outcomeOf("PATH", VariableState::notAttempted, FailureCause::shellUnavailable, REGDB_E_CLASSNOTREG)),
     {L"未写入：JAVA_HOME、JRE_HOME、PATH\n", L"Windows Script Host", L"WScript.Shell"}},
    {"machine PATH empty",
     outcomeWith(javaHomeWritten, jreHomeWritten, outcomeOf("PATH", VariableState::notAttempted, FailureCause::pathEmpty)),
     {L"已写入：JAVA_HOME、JRE_HOME\n", L"未写入：PATH\n", L"系统变量 PATH 为空或不存在"}},
    {"machine PATH unreadable",
     outcomeWith(javaHomeWritten, jreHomeWritten,
                 outcomeOf("PATH", VariableState::notAttempted, FailureCause::pathUnreadable, E_FAIL)),
     {L"未写入：PATH\n", L"无法读取系统变量 PATH（错误代码 0x80004005）"}},
    {"one write failed for another reason",
     outcomeWith(javaHomeWritten,
                 outcomeOf("JRE_HOME", VariableState::notWritten, FailureCause::otherError, DISP_E_BADPARAMCOUNT),
                 pathWritten),
     {L"已写入：JAVA_HOME、PATH\n", L"未写入：JRE_HOME\n", L"写入 JRE_HOME 失败（错误代码 0x8002000E）"}},
};

class OutcomeFailureMessage : public testing::TestWithParam<FailureCase> {};

TEST_P(OutcomeFailureMessage, NamesTheVariablesAndTheCause)
{
    const std::wstring text = describeOutcome(GetParam().outcome);
    EXPECT_EQ(text.find(successText), std::wstring::npos);
    EXPECT_EQ(text.rfind(L"Java环境没有配置完成。", 0), 0u) << "starts with the verdict";
    for (const std::wstring& part : GetParam().expectedParts) {
        EXPECT_NE(text.find(part), std::wstring::npos) << "missing: " << testing::PrintToString(part);
    }
}

TEST_P(OutcomeFailureMessage, SaysEachCauseOnce)
{
    const std::wstring text = describeOutcome(GetParam().outcome);
    EXPECT_LE(occurrences(text, L"以管理员身份运行"), 1u);
    EXPECT_LE(occurrences(text, L"WScript.Shell"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Table, OutcomeFailureMessage, testing::ValuesIn(failureCases));

}  // namespace
