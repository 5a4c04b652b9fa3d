// Where the handheld stood and how large its screen was, kept between appearances: each
// appearance is a new process, and the handheld keeps its orientation across programs.
// A small INI file in the user's local application data.
#include "handheld_screen.h"

#include "handheld_root.h"

namespace tickvane::win32 {
namespace {

const wchar_t kSection[] = L"Handheld";
const int kLargestScreen = 4096;

}  // namespace

std::wstring handheld_place_file()
{
    std::wstring folder = program_data_folder();
    return folder.empty() ? folder : folder + L"\\handheld.ini";
}

// Nothing stored, or a size no handheld has: none.
std::optional<HandheldPlace> load_handheld_place()
{
    std::wstring file = handheld_place_file();
    if (file.empty())
        return std::nullopt;
    auto read = [&](const wchar_t* key) { return (int)GetPrivateProfileIntW(kSection, key, -1, file.c_str()); };
    HandheldPlace place{SIZE{read(L"ScreenWidth"), read(L"ScreenHeight")}, POINT{read(L"CentreX"), read(L"CentreY")}};
    auto usable = [](LONG side, LONG smallest) { return side >= smallest && side <= kLargestScreen; };
    if (!usable(place.screen.cx, kSmallestScreen.cx) || !usable(place.screen.cy, kSmallestScreen.cy))
        return std::nullopt;
    return place;
}

void save_handheld_place(const HandheldPlace& place)
{
    std::wstring file = handheld_place_file();
    if (file.empty())
        return;
    CreateDirectoryW(file.substr(0, file.rfind(L'\\')).c_str(), nullptr);  // may exist already
    auto write = [&](const wchar_t* key, LONG value) {
        WritePrivateProfileStringW(kSection, key, std::to_wstring(value).c_str(), file.c_str());
    };
    write(L"ScreenWidth", place.screen.cx);
    write(L"ScreenHeight", place.screen.cy);
    write(L"CentreX", place.centre.x);
    write(L"CentreY", place.centre.y);
}

}  // namespace tickvane::win32
