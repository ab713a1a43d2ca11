#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "program_under_test.h"

// The program's file as Windows reads it: its version block, read back
// through the system's own version functions, its manifest and its icon.

namespace {

class ExeFileTest : public ::testing::Test {
protected:
    const std::wstring path = ProgramUnderTest::BesideMe(L"same-height.exe");
    std::vector<BYTE> versionBlock;

    void SetUp() override {
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
        ASSERT_GT(size, 0u) << "no version block";
        versionBlock.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, versionBlock.data()));
    }

    std::wstring VersionString(const wchar_t* name) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(versionBlock.data(), query.c_str(), reinterpret_cast<void**>(&value),
                            &length) ||
            value == nullptr)
            return L"<missing>";
        return std::wstring(value);
    }
};

TEST_F(ExeFileTest, VersionBlockIsUsEnglishUnicodeVersion1_00) {
    EXPECT_EQ(VersionString(L"FileVersion"), L"1.00");
    EXPECT_EQ(VersionString(L"ProductVersion"), L"1.00");
    for (const wchar_t* name : {L"CompanyName", L"ProductName", L"FileDescription"}) {
        const std::wstring value = VersionString(name);
        EXPECT_NE(value, L"<missing>") << name;
        EXPECT_FALSE(value.empty()) << name;
    }

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(versionBlock.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translations), &size));
    ASSERT_EQ(size, sizeof(Translation)) << "one translation";
    EXPECT_EQ(translations[0].language, 0x0409);
    EXPECT_EQ(translations[0].codePage, 0x04B0);

    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(versionBlock.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1)) << "1.0";
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1)) << "1.0";
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(ExeFileTest, LegalCopyrightNamesTheHoldersAndTheLicence) {
    const std::wstring copyright = VersionString(L"LegalCopyright");
    EXPECT_EQ(copyright.rfind(L"Copyright ", 0), 0u) << copyright;
    EXPECT_NE(copyright.find(L"Same Height Developers"), std::wstring::npos) << copyright;
    EXPECT_NE(copyright.find(L"MIT License"), std::wstring::npos) << copyright;
}

// An icon group as a resource holds it (GRPICONDIR and its entries).
#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width; // 0 for 256
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD iconId;
};
struct IconGroup {
    WORD reserved;
    WORD type; // 1 for icons
    WORD count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

BOOL CALLBACK KeepFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) {
    *reinterpret_cast<std::uintptr_t*>(first) = reinterpret_cast<std::uintptr_t>(name);
    return FALSE;
}

// The pixels of an icon, top row first, as 32-bit BGRA.
std::vector<DWORD> IconPixels(HICON icon, int size) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size;
    format.bmiHeader.biHeight = -size;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(size), pixels.data(),
                               &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (rows != size) return {};
    return pixels;
}

// The first icon group of the file is the one Explorer shows for it, and the
// one the program's window takes: the program's picture at each size Windows
// shows from 100 to 200 %, and at 256 for Explorer's largest view.
TEST_F(ExeFileTest, FirstIconIsTheProgramsPictureAtEverySize) {
    HMODULE file = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    std::uintptr_t first = 0;
    EnumResourceNamesW(file, MAKEINTRESOURCEW(14), &KeepFirstName, // RT_GROUP_ICON
                       reinterpret_cast<LONG_PTR>(&first));
    ASSERT_NE(first, 0u) << "no icon";
    EXPECT_EQ(first, 1u) << "the first icon is not number 1, the one the program loads";

    HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const IconGroup*>(LockResource(LoadResource(file, found)));
    ASSERT_EQ(group->type, 1);
    std::vector<int> sizes;
    WORD icon32 = 0;
    for (WORD i = 0; i < group->count; ++i) {
        const IconGroupEntry& entry = group->entries[i];
        const int size = entry.width == 0 ? 256 : entry.width;
        sizes.push_back(size);
        EXPECT_EQ(entry.bitCount, 32) << size << " pixels: not with an alpha channel";
        if (size == 32) icon32 = entry.iconId;
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
    ASSERT_NE(icon32, 0) << "no 32-pixel icon";

    // The 32-pixel picture is the tile, opaque over most of its square and
    // blue in its middle, not an empty or generic icon.
    HRSRC image = FindResourceW(file, MAKEINTRESOURCEW(icon32), MAKEINTRESOURCEW(3)); // RT_ICON
    ASSERT_NE(image, nullptr);
    HICON icon = CreateIconFromResourceEx(
        static_cast<BYTE*>(LockResource(LoadResource(file, image))), SizeofResource(file, image),
        TRUE, 0x00030000, 32, 32, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr);
    const std::vector<DWORD> pixels = IconPixels(icon, 32);
    DestroyIcon(icon);
    FreeLibrary(file);
    ASSERT_EQ(pixels.size(), 32u * 32u);
    int opaque = 0;
    for (const DWORD pixel : pixels)
        if ((pixel >> 24) == 0xFF) ++opaque;
    EXPECT_GT(opaque, 32 * 32 / 2);
    const DWORD middle = pixels[16 * 32 + 16];
    const int blue = static_cast<int>(middle & 0xFF), red = static_cast<int>((middle >> 16) & 0xFF);
    EXPECT_GT(blue, red + 40) << std::hex << middle;
}

TEST_F(ExeFileTest, ManifestDeclaresTheProgramDpiAware) {
    HMODULE file = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr) << "no manifest";
    const auto* text = static_cast<const char*>(LockResource(LoadResource(file, found)));
    const std::string manifest(text, SizeofResource(file, found));
    FreeLibrary(file);

    // Per monitor where the system knows it, for the whole system before.
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

} // namespace
