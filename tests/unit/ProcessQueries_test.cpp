// The process queries (slots 7 to 10) and their small routines. Command-line
// and executable-path cases run a child process, process_probe.exe, that
// prints what the helper answers inside it.

#include "syshelper/ProcessQueries.h"
#include "syshelper/SystemHelper.h"
#include "syshelper/Unique.h"
#include "tests/support/TempFolder.h"

#include "CaseName.h"
#include "syshelper/TextConversion.h"
#include "tests/support/ParamPrint.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {


std::wstring ownFolder()
{
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size())));
    return path.substr(0, path.rfind(L'\\'));
}

// ---- routines ----------------------------------------------------------

struct PathCase {
    const char* name;
    Text path;
    Text fileName;
    Text fileNameWithoutExtension;
    Text extension;
};

void PrintTo(const PathCase& c, std::ostream* out)
{
    *out << testsupport::brief(c.path);
}

class PathPartsTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathPartsTest, FileNameAndExtension)
{
    const PathCase& testCase = GetParam();
    EXPECT_EQ(fileNameOfPath(testCase.path, true), testCase.fileName);
    EXPECT_EQ(fileNameOfPath(testCase.path, false), testCase.fileNameWithoutExtension);
    EXPECT_EQ(fileNameOfPath(testCase.path), testCase.fileNameWithoutExtension) << "withExtension left out";
    EXPECT_EQ(extensionOfPath(testCase.path), testCase.extension);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathPartsTest,
    ::testing::Values(
        PathCase{"SetupExe", "D:\\tools\\setup.exe", "setup.exe", "setup", ".exe"},
        PathCase{"DoubleExtension", "C:\\downloads\\archive.tar.gz", "archive.tar.gz", "archive.tar", ".gz"},
        PathCase{"NoDot", "C:\\tools\\README", "README", "README", ""},
        PathCase{"TrailingDot", "C:\\tools\\name.", "name.", "name", "."},
        PathCase{"FolderWithDot", "C:\\my.folder\\file", "file", "file", ""},
        PathCase{"BareName", "notes.txt", "notes.txt", "notes", ".txt"},
        // 工具\说明.txt in code page 936.
        PathCase{"Chinese", "C:\\\xB9\xA4\xBE\xDF\\\xCB\xB5\xC3\xF7.txt", "\xCB\xB5\xC3\xF7.txt", "\xCB\xB5\xC3\xF7",
                 ".txt"},
        // 乗 is 0x81 0x5C: its second byte is a backslash, which must not split it.
        PathCase{"TrailByteIsBackslash", "C:\\dir\\a\x81\x5C.txt", "a\x81\x5C.txt", "a\x81\x5C", ".txt"},
        PathCase{"Empty", "", "", "", ""}),
    unittest::caseName<PathCase>);

bool isInCodePage936(const std::wstring& text)
{
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    return !usedDefault;
}

// A character the cases below rely on being absent from code page 936.
const std::wstring outsideCodePage = L"\u0E01";  // THAI CHARACTER KO KAI

TEST(WideToText, TheOutsideCharacterReallyIsOutsideCodePage936)
{
    EXPECT_FALSE(isInCodePage936(outsideCodePage));
    EXPECT_TRUE(isInCodePage936(L"\u4E2D\u6587"));
}

struct WideCase {
    const char* name;
    std::vector<uint8_t> bytes;
    Text expected;
};

void PrintTo(const WideCase& c, std::ostream* out)
{
    *out << c.bytes.size() << " bytes to " << testsupport::brief(c.expected);
}

std::vector<uint8_t> bytesOf(const std::wstring& wide)
{
    const auto* first = reinterpret_cast<const uint8_t*>(wide.data());
    return std::vector<uint8_t>(first, first + wide.size() * 2);
}

std::vector<uint8_t> withOddByte(std::vector<uint8_t> bytes)
{
    bytes.push_back('Z');
    return bytes;
}

class WideToTextTest : public ::testing::TestWithParam<WideCase> {};

TEST_P(WideToTextTest, Converts)
{
    const WideCase& testCase = GetParam();
    EXPECT_EQ(wideToText(testCase.bytes.data(), testCase.bytes.size()), testCase.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WideToTextTest,
    ::testing::Values(WideCase{"Empty", {}, ""}, WideCase{"Ascii", bytesOf(L"java"), "java"},
                      WideCase{"Chinese", bytesOf(L"\u4E2D\u6587"), "\xD6\xD0\xCE\xC4"},
                      WideCase{"OutsideCodePage", bytesOf(L"a" + outsideCodePage + L"b"), "a?b"},
                      WideCase{"TrailingOddByteIgnored", withOddByte(bytesOf(L"ab")), "ab"},
                      WideCase{"SingleByteIsNothing", {'A'}, ""},
                      WideCase{"EndsAtZeroUnit", bytesOf(std::wstring(L"ab\0cd", 5)), "ab"}),
    unittest::caseName<WideCase>);

// ---- queries in this process --------------------------------------------

class ProcessQueryTest : public ::testing::Test {
protected:
    SystemHelperPtr helper = SystemHelper::create();
};

TEST_F(ProcessQueryTest, ModulePathOfThisProcess)
{
    std::wstring ownPath(MAX_PATH, L'\0');
    ownPath.resize(GetModuleFileNameW(nullptr, &ownPath[0], MAX_PATH));
    EXPECT_EQ(helper->getModulePath(true), toText(ownPath));
    EXPECT_EQ(helper->getModulePath(false), "unit_tests.exe");
    EXPECT_EQ(helper->getModulePath(), "unit_tests.exe");
}

// Puts the current directory back as it was.
class CurrentDirectoryTest : public ProcessQueryTest {
protected:
    void SetUp() override
    {
        saved_.resize(GetCurrentDirectoryW(0, nullptr));
        saved_.resize(GetCurrentDirectoryW(static_cast<DWORD>(saved_.size()), &saved_[0]));
    }
    void TearDown() override { SetCurrentDirectoryW(saved_.c_str()); }

private:
    std::wstring saved_;
};

TEST_F(CurrentDirectoryTest, ChineseFolder)
{
    const testsupport::TempFolder folder(L"zovrel \u5F53\u524D\u76EE\u5F55");
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    EXPECT_EQ(helper->getCurrentDirectory(), toText(folder.path()));
}

// A folder of 255 bytes or more does not fit the 255-byte buffer and is
// returned whole. (Windows keeps a current directory under MAX_PATH, so the
// case is a folder of 257 bytes.)
TEST_F(CurrentDirectoryTest, FolderLongerThanTheBuffer)
{
    const testsupport::TempFolder root(L"zovrel long cwd");
    const size_t wanted = 257;
    ASSERT_LT(root.path().size() + 1, wanted);
    const std::wstring longFolder = root.makeFolder(std::wstring(wanted - root.path().size() - 1, L'd'));
    ASSERT_EQ(toText(longFolder).size(), wanted);
    ASSERT_TRUE(SetCurrentDirectoryW(longFolder.c_str())) << GetLastError();
    EXPECT_EQ(helper->getCurrentDirectory(), toText(longFolder));
}

// Puts COMSPEC back as it was (set, empty or absent).
class ComSpecTest : public ProcessQueryTest {
protected:
    void SetUp() override
    {
        SetLastError(ERROR_SUCCESS);
        const DWORD size = GetEnvironmentVariableW(L"COMSPEC", nullptr, 0);
        if (size == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return;
        std::wstring value(size, L'\0');
        value.resize(GetEnvironmentVariableW(L"COMSPEC", &value[0], size));
        saved_ = value;
    }
    void TearDown() override { SetEnvironmentVariableW(L"COMSPEC", saved_ ? saved_->c_str() : nullptr); }

private:
    std::optional<std::wstring> saved_;
};

struct ComSpecCase {
    const char* name;
    std::optional<std::wstring> value;  // nothing: not set
    Text expected;
};

void PrintTo(const ComSpecCase& c, std::ostream* out)
{
    *out << "COMSPEC " << testsupport::brief(c.value);
}

class ComSpecCasesTest : public ComSpecTest, public ::testing::WithParamInterface<ComSpecCase> {};

TEST_P(ComSpecCasesTest, ReadsTheProcessEnvironment)
{
    const ComSpecCase& testCase = GetParam();
    ASSERT_TRUE(SetEnvironmentVariableW(L"COMSPEC", testCase.value ? testCase.value->c_str() : nullptr));
    EXPECT_EQ(helper->getComSpec(), testCase.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ComSpecCasesTest,
    ::testing::Values(ComSpecCase{"Set", std::wstring(L"C:\\windows\\system32\\cmd.exe"), "C:\\windows\\system32\\cmd.exe"},
                      ComSpecCase{"NotSet", std::nullopt, ""}, ComSpecCase{"Empty", std::wstring(), ""},
                      ComSpecCase{"Chinese", std::wstring(L"C:\\\u5DE5\u5177\\cmd.exe"), "C:\\\xB9\xA4\xBE\xDF\\cmd.exe"},
                      // Longer than the 256-byte buffer: returned whole.
                      ComSpecCase{"Long", std::wstring(300, L'c'), Text(300, 'c')}),
    unittest::caseName<ComSpecCase>);

// ---- queries in a child process -----------------------------------------

struct ProbeAnswer {
    bool ran = false;
    Text module;
    Text name;
    int count = -1;
    int listSize = -1;
    TextList args;
};

Text fromHex(const std::string& hex)
{
    Text bytes;
    for (size_t index = 0; index + 1 < hex.size(); index += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(index, 2), nullptr, 16));
    }
    return bytes;
}

ProbeAnswer parseProbeOutput(const std::string& output)
{
    ProbeAnswer answer;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string key = line.substr(0, line.find(' '));
        const std::string rest = line.size() > key.size() ? line.substr(key.size() + 1) : std::string();
        if (key == "module") answer.module = fromHex(rest);
        if (key == "name") answer.name = fromHex(rest);
        if (key == "arg") answer.args.push_back(fromHex(rest));
        if (key == "args") std::istringstream(rest) >> answer.count >> answer.listSize;
    }
    return answer;
}

// Runs `program` with the command line `"program" arguments` and collects
// what it printed.
ProbeAnswer runProbe(const std::wstring& program, const std::wstring& arguments)
{
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueHandleKernel readEnd;
    UniqueHandleKernel writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0)) return {};
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &started)) {
        ADD_FAILURE() << "could not start the probe: error " << GetLastError();
        return {};
    }
    const UniqueHandleKernel process(started.hProcess);
    const UniqueHandleKernel thread(started.hThread);
    writeEnd.reset();

    std::string output;
    char chunk[512];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) output.append(chunk, read);
    WaitForSingleObject(process.get(), 30000);
    ProbeAnswer answer = parseProbeOutput(output);
    answer.ran = true;
    return answer;
}

std::wstring probePath()
{
    return ownFolder() + L"\\process_probe.exe";
}

struct CommandLineCase {
    const char* name;
    std::wstring arguments;
    TextList expected;
};

void PrintTo(const CommandLineCase& c, std::ostream* out)
{
    *out << testsupport::brief(c.arguments) << " gives " << c.expected.size() << " arguments";
}

class CommandLineArgsTest : public ::testing::TestWithParam<CommandLineCase> {};

// The probe's list held two texts before the call: they must be gone.
TEST_P(CommandLineArgsTest, ListIsReplacedByTheArguments)
{
    const CommandLineCase& testCase = GetParam();
    const ProbeAnswer answer = runProbe(probePath(), testCase.arguments);
    ASSERT_TRUE(answer.ran);
    EXPECT_EQ(answer.count, static_cast<int>(testCase.expected.size()));
    EXPECT_EQ(answer.listSize, static_cast<int>(testCase.expected.size()));
    EXPECT_EQ(answer.args, testCase.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CommandLineArgsTest,
    ::testing::Values(
        CommandLineCase{"None", L"", {}}, CommandLineCase{"Plain", L"one two", {"one", "two"}},
        CommandLineCase{"Quoted", L"\"with space\" x", {"with space", "x"}},
        CommandLineCase{"EmptyQuotesThird", L"a b \"\"", {"a", "b", ""}},
        CommandLineCase{"Chinese", L"\u4E2D\u6587 \"\u5DE5\u5177 x\"", {"\xD6\xD0\xCE\xC4", "\xB9\xA4\xBE\xDF x"}},
        CommandLineCase{"OutsideCodePage", L"a" + outsideCodePage + L"b", {"a?b"}}),
    unittest::caseName<CommandLineCase>);

// Copies the probe under `fileName` into `folder` and runs it there.
ProbeAnswer runProbeCopy(const std::wstring& folder, const std::wstring& fileName)
{
    const std::wstring copy = folder + L"\\" + fileName;
    if (!CopyFileW(probePath().c_str(), copy.c_str(), FALSE)) {
        ADD_FAILURE() << "could not copy the probe: error " << GetLastError();
        return {};
    }
    return runProbe(copy, L"");
}

TEST(ModulePathInChild, ChineseFolderAndName)
{
    const testsupport::TempFolder root(L"zovrel \u5DE5\u5177");
    const std::wstring folder = root.makeFolder(L"\u4E2D\u6587 \u76EE\u5F55");
    ASSERT_FALSE(folder.empty());
    const ProbeAnswer answer = runProbeCopy(folder, L"\u63A2\u9488.exe");
    ASSERT_TRUE(answer.ran);
    EXPECT_EQ(answer.module, toText(folder + L"\\\u63A2\u9488.exe"));
    EXPECT_EQ(answer.name, "\xCC\xBD\xD5\xEB.exe");
}

// A path over 255 bytes comes back cut to fit the 256-byte buffer, and the
// file name is taken from the cut path. (Windows starts no program from a
// path of MAX_PATH or more, so the case is a path of 259 bytes.)
TEST(ModulePathInChild, PathLongerThanTheBufferIsCut)
{
    const testsupport::TempFolder root(L"zovrel long module");
    const std::wstring fileName = L"probe.exe";
    const size_t wanted = 259;
    ASSERT_LT(root.path().size() + fileName.size() + 2, wanted);
    const std::wstring folder =
        root.makeFolder(std::wstring(wanted - root.path().size() - fileName.size() - 2, L'm'));
    ASSERT_FALSE(folder.empty());
    const Text fullPath = toText(folder + L"\\" + fileName);
    ASSERT_EQ(fullPath.size(), wanted);
    const ProbeAnswer answer = runProbeCopy(folder, fileName);
    ASSERT_TRUE(answer.ran);
    const Text cut = fullPath.substr(0, 255);
    EXPECT_EQ(answer.module, cut);
    EXPECT_EQ(answer.name, cut.substr(cut.rfind('\\') + 1));
}

}  // namespace
