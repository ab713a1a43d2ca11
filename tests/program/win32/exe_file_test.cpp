#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_under_test.h"

// The program's file as Windows reads it: its version block, read back
// through the system's own version functions, and its manifest.

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

TEST_F(ExeFileTest, ManifestDeclaresTheProgramDpiAware) {
    HMODULE file = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr) << "no manifest";
    const auto* text = static_cast<const char*>(LockResource(LoadResource(file, found)));
    const std::string manifest(text, SizeofResource(file, found));
    FreeLibrary(file);

    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

} // namespace
