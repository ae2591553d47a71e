// The version the window title shows is the product version of the
// executable's version resource, read from the running tool's window and
// from the file, so neither can drift from the other.

#include "tests/bench/GuiProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring productVersionOf(const std::wstring& file)
{
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (block.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
        return {};
    }
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof *translation) {
        return {};
    }
    wchar_t query[64] = {};
    wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\ProductVersion", translation->language, translation->codePage);
    wchar_t* version = nullptr;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&version), &size) || size == 0) return {};
    return version;
}

std::wstring windowTitle(HWND window)
{
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

TEST(WindowTitle, ShowsTheProductVersionOfTheVersionResource)
{
    const std::wstring executable = benchsupport::windowsPathOf(ZOVREL_EXE_UNIX_PATH);
    const std::wstring version = productVersionOf(executable);
    ASSERT_FALSE(version.empty()) << "no ProductVersion in the version resource";

    benchsupport::GuiProcess tool(executable);
    HWND window = tool.waitUntilShownAndIdle(60000);
    ASSERT_NE(nullptr, window);
    const std::wstring title = windowTitle(window);
    const std::wstring expectedEnd = L" v" + version;
    ASSERT_GE(title.size(), expectedEnd.size()) << testing::PrintToString(title);
    EXPECT_EQ(expectedEnd, title.substr(title.size() - expectedEnd.size())) << testing::PrintToString(title);
    EXPECT_TRUE(tool.closeAndWait(window, 15000));
}

}  // namespace
