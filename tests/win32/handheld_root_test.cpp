// The handheld's file tree on the desktop: paths from the handheld's root open under the
// user's own folder whatever the current drive, the clock naming itself starts this very
// copy, and only this program's windows count as a running clock.
#include <gtest/gtest.h>

#include <string>

#include "handheld_root.h"

using namespace tickvane::win32;

namespace {

std::wstring local_app_data()
{
    wchar_t value[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH);
    return value;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The current folder on another drive than the system's for the length of a test.
class OnAnotherDrive : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryW(MAX_PATH, before_);
        ASSERT_TRUE(SetCurrentDirectoryW(L"Z:\\"));
    }
    void TearDown() override { SetCurrentDirectoryW(before_); }
    wchar_t before_[MAX_PATH] = L"";
};

}  // namespace

TEST(HandheldRoot, IsTheUsersAndNamesOnlyPathsFromTheRoot)
{
    ASSERT_FALSE(local_app_data().empty());
    EXPECT_EQ(handheld_root(), local_app_data() + L"\\Tickvane\\Handheld");
    struct Case {
        const wchar_t* path;
        bool handheld;
    } cases[] = {{L"\\Program Files\\Tickvane\\zubo.exe", true},
                 {L"/Program Files/x", true},
                 {L"\\\\server\\share\\x", false},
                 {L"//server/share", false},
                 {L"C:\\Program Files\\x", false},
                 {L"relative\\x", false},
                 {L"", false},
                 {nullptr, false}};
    for (const Case& c : cases)
        EXPECT_EQ(is_handheld_path(c.path), c.handheld) << (c.path ? narrow(c.path) : "null");
}

TEST_F(OnAnotherDrive, HandheldPathsResolveUnderTheRootAndStayInIt)
{
    std::wstring root = handheld_root();
    EXPECT_EQ(desktop_path(L"\\Program Files\\Tickvane\\TimeConfig.dat"),
              root + L"\\Program Files\\Tickvane\\TimeConfig.dat");
    EXPECT_EQ(desktop_path(L"/a/../b.txt"), root + L"\\b.txt");
    for (const wchar_t* outside : {L"\\..\\escape.txt", L"\\a\\..\\..\\Handheld2\\x", L"\\..", L"C:\\x"})
        EXPECT_FALSE(desktop_path(outside).has_value()) << narrow(outside);
}

TEST_F(OnAnotherDrive, TheProgramNamingItselfStartsThisCopyOthersComeFromTheRoot)
{
    std::wstring self = running_program();
    std::wstring name = self.substr(self.find_last_of(L'\\') + 1);
    EXPECT_EQ(program_to_start((L"\\Program Files\\Tickvane\\" + name).c_str()), self);
    std::wstring shouted = name;
    for (wchar_t& c : shouted)
        c = (wchar_t)towupper(c);
    EXPECT_EQ(program_to_start((L"\\Windows\\" + shouted).c_str()), self) << "Windows' names know no case";
    EXPECT_EQ(program_to_start(L"\\Program Files\\Other\\other.exe"),
              handheld_root() + L"\\Program Files\\Other\\other.exe");
    EXPECT_EQ(program_to_start(L"C:\\Tools\\zubo.exe"), L"C:\\Tools\\zubo.exe") << "a full path is the caller's";
    EXPECT_EQ(program_to_start(nullptr), L"");
}

TEST_F(OnAnotherDrive, CreateFileOpensInTheUsersTreeAndMakesItsFolders)
{
    std::wstring folder = handheld_root() + L"\\stand-in test";
    const wchar_t* path = L"\\stand-in test\\deeper\\settings.dat";
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "0 1", 3, &written, nullptr));
    CloseHandle(file);

    char bytes[4] = "";
    DWORD read = 0;
    HANDLE back = CreateFileW((folder + L"\\deeper\\settings.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(back, INVALID_HANDLE_VALUE) << "not in the user's tree";
    ReadFile(back, bytes, 3, &read, nullptr);
    CloseHandle(back);
    EXPECT_EQ(std::string(bytes, read), "0 1");

    SetLastError(0);
    EXPECT_EQ(CreateFileW(L"\\..\\outside.dat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CreateFileW(L"\\stand-in test\\none.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE)
        << "opening creates nothing";

    DeleteFileW((folder + L"\\deeper\\settings.dat").c_str());
    RemoveDirectoryW((folder + L"\\deeper").c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(RunningClock, OnlyAWindowOfThisProgramIsFound)
{
    static const wchar_t kTitle[] = L"running clock test";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"running clock test";
    RegisterClassW(&wc);
    HWND own = CreateWindowExW(0, wc.lpszClassName, kTitle, WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance,
                               nullptr);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(FindWindowW(nullptr, kTitle), own);
    EXPECT_EQ(FindWindowW(wc.lpszClassName, kTitle), own);
    EXPECT_EQ(FindWindowW(L"no such class", kTitle), nullptr);
    DestroyWindow(own);
    EXPECT_EQ(FindWindowW(nullptr, kTitle), nullptr);
}
