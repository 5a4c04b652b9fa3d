// What the clock's executable says about itself: its version, from the project's, and a
// manifest that makes it per-monitor DPI aware. Reads the clock that the Wine test
// installs beside these tests in C:\Program Files\Tickvane.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32.h"

namespace {

const wchar_t kClock[] = L"C:\\Program Files\\Tickvane\\zubo.exe";

std::wstring version_string(const std::vector<char>& info, const wchar_t* name)
{
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), key.c_str(), (void**)&value, &length) || value == nullptr)
        return L"";
    return std::wstring(value, length > 0 ? length - 1 : 0);
}

}  // namespace

TEST(ProgramDescription, TheClockCarriesItsVersionAndAManifest)
{
    DWORD size = GetFileVersionInfoSizeW(kClock, nullptr);
    ASSERT_GT(size, 0u) << "no version information in the clock (is it installed beside these tests?)";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(kClock, 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", (void**)&fixed, &length));
    std::string expected = TICKVANE_VERSION;
    EXPECT_EQ(std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                  "." + std::to_string(HIWORD(fixed->dwFileVersionLS)),
              expected);
    EXPECT_EQ(version_string(info, L"ProductVersion"), std::wstring(expected.begin(), expected.end()));
    EXPECT_EQ(version_string(info, L"ProductName"), L"Tickvane");

    HMODULE clock = LoadLibraryExW(kClock, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(clock, nullptr);
    HRSRC found = FindResourceW(clock, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // the process's manifest
    ASSERT_NE(found, nullptr);
    std::string manifest((const char*)LockResource(LoadResource(clock, found)), SizeofResource(clock, found));
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos) << "never asks for an administrator";
    EXPECT_NE(FindResourceW(clock, MAKEINTRESOURCEW(128), MAKEINTRESOURCEW(14)), nullptr) << "icon group 128";
    FreeLibrary(clock);
}
