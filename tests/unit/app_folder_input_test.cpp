// Checks of the folder text made before a click writes anything.

#include "app/FolderInput.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

constexpr UINT simplifiedChinese = 936;
constexpr UINT westernEuropean = 1252;

struct InputCase {
    const char* label;
    const wchar_t* text;
    UINT codePage;
    FolderInputProblem expected;
};

std::ostream& operator<<(std::ostream& out, const InputCase& c)
{
    return out << c.label << " (code page " << c.codePage << ")";
}

const InputCase inputCases[] = {
    {"empty", L"", simplifiedChinese, FolderInputProblem::blank},
    {"spaces", L"   ", simplifiedChinese, FolderInputProblem::blank},
    {"tabs and line breaks", L"\t \r\n", simplifiedChinese, FolderInputProblem::blank},
    {"full-width space", L"\u3000\u3000", simplifiedChinese, FolderInputProblem::blank},
    {"no-break space", L"\u00A0", westernEuropean, FolderInputProblem::blank},
    {"plain folder", L"C:\\Program Files\\Java\\jdk1.8.0_202", simplifiedChinese, FolderInputProblem::none},
    {"folder with blanks around it", L"  C:\\jdk  ", simplifiedChinese, FolderInputProblem::none},
    {"Chinese folder in its code page", L"D:\\软件\\Java 开发", simplifiedChinese, FolderInputProblem::none},
    {"Chinese folder elsewhere", L"D:\\软件\\jdk", westernEuropean, FolderInputProblem::notRepresentable},
    {"Hangul in the Chinese code page", L"C:\\자바\\jdk", simplifiedChinese, FolderInputProblem::notRepresentable},
    {"emoji in the Chinese code page", L"C:\\jdk\U0001F600", simplifiedChinese, FolderInputProblem::notRepresentable},
    // 1252 would turn a macron vowel into its plain letter without the no-best-fit flag.
    {"best-fit look-alike", L"C:\\J\u0101va", westernEuropean, FolderInputProblem::notRepresentable},
    {"accented letter that exists", L"C:\\Jav\u00E9", westernEuropean, FolderInputProblem::none},
    {"question mark itself", L"C:\\jdk?", simplifiedChinese, FolderInputProblem::none},
    {"Hangul in UTF-8", L"C:\\자바", CP_UTF8, FolderInputProblem::none},
    {"emoji in UTF-8", L"C:\\jdk\U0001F600", CP_UTF8, FolderInputProblem::none},
    {"lone surrogate in UTF-8", L"C:\\\xD83D", CP_UTF8, FolderInputProblem::notRepresentable},
};

class FolderInputCheck : public testing::TestWithParam<InputCase> {};

TEST_P(FolderInputCheck, ClassifiesTheText)
{
    EXPECT_EQ(checkFolderInput(GetParam().text, GetParam().codePage), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FolderInputCheck, testing::ValuesIn(inputCases));

TEST(FolderInputCheck, DefaultsToTheActiveCodePage)
{
    if (GetACP() != simplifiedChinese) GTEST_SKIP() << "the test environment runs with code page 936";
    EXPECT_EQ(checkFolderInput(L"D:\\软件\\jdk"), FolderInputProblem::none);
    EXPECT_EQ(checkFolderInput(L"C:\\자바"), FolderInputProblem::notRepresentable);
}

}  // namespace
