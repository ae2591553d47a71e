// What the executable carries besides code: the icon that Explorer and the
// window show, and a version block free of the words that make Windows
// treat a program as an installer.

#include "tests/e2e/AppDriver.h"
#include "syshelper/Unique.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace {

struct ModuleTraits {
    static HMODULE invalid() { return nullptr; }
    static void close(HMODULE module) { FreeLibrary(module); }
};
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

class ExecutableResources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module) << "cannot open " << std::string(ZOVREL_EXE_UNIX_PATH); }

    const void* resource(const wchar_t* name, const wchar_t* type, DWORD* size = nullptr) const
    {
        HRSRC found = FindResourceW(module.get(), name, type);
        if (!found) return nullptr;
        if (size) *size = SizeofResource(module.get(), found);
        return LockResource(LoadResource(module.get(), found));
    }

    UniqueModule module{LoadLibraryExW(e2e::toolPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)};
};

TEST_F(ExecutableResources, IconGroupHoldsOne128PixelImageWithAlpha)
{
    const auto* group = static_cast<const GroupIconHeader*>(resource(L"DEFAULT_ICON", RT_GROUP_ICON));
    ASSERT_NE(group, nullptr) << "no DEFAULT_ICON group";
    ASSERT_EQ(group->count, 1);
    const auto* entry = reinterpret_cast<const GroupIconEntry*>(group + 1);
    EXPECT_EQ(entry->width, 128);
    EXPECT_EQ(entry->height, 128);
    EXPECT_EQ(entry->bitCount, 32);

    // The image may be stored as a DIB or as a PNG; what counts is the
    // picture Windows makes of it, so decode it as Windows does.
    DWORD size = 0;
    auto* image = static_cast<BYTE*>(const_cast<void*>(resource(MAKEINTRESOURCEW(entry->id), RT_ICON, &size)));
    ASSERT_NE(image, nullptr);
    const UniqueIcon icon(CreateIconFromResourceEx(image, size, TRUE, 0x00030000, 128, 128, 0));
    ASSERT_TRUE(icon) << "Windows cannot decode the stored image";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    const UniqueBitmap colour(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);

    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = 128;
    format.bmiHeader.biHeight = -128;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> pixels(128u * 128u * 4u);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, colour.get(), 0, 128, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(rows, 128);
    bool transparent = false;
    bool opaque = false;
    for (size_t i = 0; i < 128u * 128u; ++i) {
        transparent |= pixels[i * 4 + 3] == 0;
        opaque |= pixels[i * 4 + 3] == 255;
    }
    EXPECT_TRUE(transparent && opaque) << "the image has no real alpha channel";
}

TEST_F(ExecutableResources, IconLoadsAt128Pixels)
{
    const UniqueIcon icon(static_cast<HICON>(LoadImageW(module.get(), L"DEFAULT_ICON", IMAGE_ICON, 128, 128, 0)));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    const UniqueBitmap colour(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    ASSERT_TRUE(GetObjectW(colour.get(), sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 128);
    EXPECT_EQ(bitmap.bmHeight, 128);
}

std::wstring lowered(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

TEST_F(ExecutableResources, VersionIsTheProductsAndAvoidsInstallerWords)
{
    DWORD size = 0;
    const auto* block = static_cast<const BYTE*>(resource(MAKEINTRESOURCEW(1), RT_VERSION, &size));
    ASSERT_NE(block, nullptr) << "no version block";
    // The block is UTF-16 text and numbers; its strings are what Windows reads.
    const std::wstring text = lowered(std::wstring(reinterpret_cast<const wchar_t*>(block), size / sizeof(wchar_t)));
    EXPECT_NE(text.find(L"productversion"), std::wstring::npos);
    EXPECT_NE(text.find(L"0.1.0"), std::wstring::npos);
    for (const wchar_t* word : {L"setup", L"install", L"update", L"patch"}) {
        EXPECT_EQ(text.find(word), std::wstring::npos) << "the version block says " << std::wstring(word).c_str();
    }

    const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(
        std::search(block, block + size, reinterpret_cast<const BYTE*>("\xBD\x04\xEF\xFE"),
                    reinterpret_cast<const BYTE*>("\xBD\x04\xEF\xFE") + 4));
    ASSERT_LT(reinterpret_cast<const BYTE*>(fixed), block + size) << "no fixed version information";
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 0));  // 0.1
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);              // .0
}

}  // namespace
