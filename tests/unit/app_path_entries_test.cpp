// Planning of the machine PATH: which Java entries a click appends.

#include "app/PathEntries.h"
#include "tests/support/ParamPrint.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct PathCase {
    const char* label;
    const char* oldPath;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const PathCase& c)
{
    return out << c.label;
}

const PathCase pathCases[] = {
    {"plain old value gets both entries",
     "%SystemRoot%\\system32;%SystemRoot%",
     "%SystemRoot%\\system32;%SystemRoot%;%JAVA_HOME%\\bin;%JRE_HOME%\\bin"},
    {"trailing separator is kept as it is",
     "%SystemRoot%\\system32;",
     "%SystemRoot%\\system32;;%JAVA_HOME%\\bin;%JRE_HOME%\\bin"},
    {"both present already",
     "C:\\x;%JAVA_HOME%\\bin;%JRE_HOME%\\bin",
     "C:\\x;%JAVA_HOME%\\bin;%JRE_HOME%\\bin"},
    {"both present in another case and order",
     "%jre_home%\\BIN;C:\\x;%Java_Home%\\Bin",
     "%jre_home%\\BIN;C:\\x;%Java_Home%\\Bin"},
    {"present with trailing backslash and blanks",
     "C:\\x; %JAVA_HOME%\\bin\\ ;\t%JRE_HOME%\\bin\\",
     "C:\\x; %JAVA_HOME%\\bin\\ ;\t%JRE_HOME%\\bin\\"},
    {"only the JDK entry present",
     "%JAVA_HOME%\\bin;C:\\x",
     "%JAVA_HOME%\\bin;C:\\x;%JRE_HOME%\\bin"},
    {"only the JRE entry present",
     "C:\\x;%JRE_HOME%\\bin",
     "C:\\x;%JRE_HOME%\\bin;%JAVA_HOME%\\bin"},
    {"expanded form does not count",
     "C:\\jdk\\bin;C:\\jdk\\jre\\bin",
     "C:\\jdk\\bin;C:\\jdk\\jre\\bin;%JAVA_HOME%\\bin;%JRE_HOME%\\bin"},
    {"reference inside a longer entry does not count",
     "%JAVA_HOME%\\bin\\server;X%JRE_HOME%\\bin",
     "%JAVA_HOME%\\bin\\server;X%JRE_HOME%\\bin;%JAVA_HOME%\\bin;%JRE_HOME%\\bin"},
    {"two trailing backslashes are a different entry",
     "%JAVA_HOME%\\bin\\\\;%JRE_HOME%\\bin",
     "%JAVA_HOME%\\bin\\\\;%JRE_HOME%\\bin;%JAVA_HOME%\\bin"},
    {"entry as the whole value",
     "%JAVA_HOME%\\bin",
     "%JAVA_HOME%\\bin;%JRE_HOME%\\bin"},
    // "\xC8\xED\xBC\xFE" is 软件 in code page 936; its neighbour entry ends in
    // the double-byte character 乗 ("\x81\\"), whose trailing byte is a backslash.
    {"double-byte entries stay untouched",
     "C:\\\xC8\xED\xBC\xFE;C:\\\x81\\",
     "C:\\\xC8\xED\xBC\xFE;C:\\\x81\\;%JAVA_HOME%\\bin;%JRE_HOME%\\bin"},
};

class JavaPathEntries : public testing::TestWithParam<PathCase> {};

TEST_P(JavaPathEntries, AppendsOnlyWhatIsMissing)
{
    EXPECT_EQ(withJavaEntries(GetParam().oldPath), GetParam().expected);
}

TEST_P(JavaPathEntries, AppendingTwiceChangesNothingMore)
{
    const Text once = withJavaEntries(GetParam().oldPath);
    EXPECT_EQ(withJavaEntries(once), once);
    EXPECT_TRUE(missingJavaEntries(once).empty());
}

INSTANTIATE_TEST_SUITE_P(Table, JavaPathEntries, testing::ValuesIn(pathCases));

TEST(JavaPathEntries, MissingEntriesComeInAppendOrder)
{
    EXPECT_EQ(missingJavaEntries("C:\\x"), (std::vector<Text>{javaBinEntry, jreBinEntry}));
    EXPECT_EQ(missingJavaEntries("%JAVA_HOME%\\bin"), std::vector<Text>{jreBinEntry});
    EXPECT_EQ(missingJavaEntries("%JRE_HOME%\\bin"), std::vector<Text>{javaBinEntry});
}

struct EntryCase {
    const char* a;
    const char* b;
    bool same;
};

void PrintTo(const EntryCase& c, std::ostream* out)
{
    *out << testsupport::brief(c.a) << (c.same ? " is " : " is not ") << testsupport::brief(c.b);
}

class PathEntryComparison : public testing::TestWithParam<EntryCase> {};

TEST_P(PathEntryComparison, ComparesWholeNormalisedEntries)
{
    EXPECT_EQ(samePathEntry(GetParam().a, GetParam().b), GetParam().same) << GetParam().a << " vs " << GetParam().b;
    EXPECT_EQ(samePathEntry(GetParam().b, GetParam().a), GetParam().same) << "not symmetric";
}

INSTANTIATE_TEST_SUITE_P(Table, PathEntryComparison,
                         testing::Values(EntryCase{"%JAVA_HOME%\\bin", "%java_home%\\BIN", true},
                                         EntryCase{"  %JAVA_HOME%\\bin\t", "%JAVA_HOME%\\bin", true},
                                         EntryCase{"%JAVA_HOME%\\bin\\", "%JAVA_HOME%\\bin", true},
                                         EntryCase{"%JAVA_HOME%\\bin \\", "%JAVA_HOME%\\bin", false},
                                         EntryCase{"%JAVA_HOME% \\bin", "%JAVA_HOME%\\bin", false},
                                         EntryCase{"%JAVA_HOME%/bin", "%JAVA_HOME%\\bin", false},
                                         EntryCase{"C:\\jdk\\bin", "%JAVA_HOME%\\bin", false},
                                         EntryCase{"", "%JAVA_HOME%\\bin", false},
                                         EntryCase{"\\", "", true}));

}  // namespace
