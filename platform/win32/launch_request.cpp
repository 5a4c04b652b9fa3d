#include "launch_request.h"

#include <cwchar>

namespace tickvane::win32 {

namespace {

const ULONGLONG kTicksPerMinute = 60ULL * 10'000'000ULL;  // FILETIME counts 100 ns

std::optional<ULONGLONG> ticks_of(const SYSTEMTIME& t)
{
    FILETIME ft;
    if (!SystemTimeToFileTime(&t, &ft))
        return std::nullopt;
    return (ULONGLONG)ft.dwHighDateTime << 32 | ft.dwLowDateTime;
}

std::optional<SYSTEMTIME> system_time_of(ULONGLONG ticks)
{
    FILETIME ft{(DWORD)ticks, (DWORD)(ticks >> 32)};
    SYSTEMTIME t;
    if (!FileTimeToSystemTime(&ft, &t))
        return std::nullopt;
    return t;
}

std::optional<std::wstring> full_path_of_file(const WCHAR* path)
{
    if (path == nullptr || path[0] == 0)
        return std::nullopt;
    DWORD needed = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (needed == 0)
        return std::nullopt;
    std::wstring full(needed, L'\0');
    DWORD length = GetFullPathNameW(path, needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return std::nullopt;
    full.resize(length);
    DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return full;
}

std::wstring folder_of(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring file_stem(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

std::wstring task_family(const std::wstring& application) { return L"Tickvane " + file_stem(application) + L" "; }

std::wstring compact_time(const SYSTEMTIME& t)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u%02u%02uT%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

bool is_past_start(const std::wstring& task_name, const std::wstring& family, const std::wstring& cutoff)
{
    if (task_name.size() != family.size() + cutoff.size() || task_name.compare(0, family.size(), family) != 0)
        return false;
    return task_name.compare(family.size(), std::wstring::npos, cutoff) < 0;
}

std::optional<LaunchRequest> launch_request_from(const CE_NOTIFICATION_TRIGGER* trigger)
{
    if (trigger == nullptr || trigger->dwSize != sizeof(CE_NOTIFICATION_TRIGGER) || trigger->dwType != CNT_TIME)
        return std::nullopt;
    FILETIME checked;
    if (!SystemTimeToFileTime(&trigger->stStartTime, &checked))
        return std::nullopt;
    auto application = full_path_of_file(trigger->lpszApplication);
    if (!application)
        return std::nullopt;

    LaunchRequest r;
    r.application = *application;
    r.arguments = trigger->lpszArguments ? trigger->lpszArguments : L"";
    r.directory = folder_of(r.application);
    r.due = SYSTEMTIME{};
    FileTimeToSystemTime(&checked, &r.due);  // the weekday as the date has it
    r.due.wMilliseconds = 0;
    r.task_family = task_family(r.application);
    r.task_name = r.task_family + compact_time(r.due);
    return r;
}

std::wstring boundary_text(const SYSTEMTIME& t)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

std::optional<SYSTEMTIME> first_whole_minute(const SYSTEMTIME& t)
{
    auto at = ticks_of(t);
    if (!at)
        return std::nullopt;
    ULONGLONG rest = *at % kTicksPerMinute;
    return system_time_of(rest == 0 ? *at : *at + kTicksPerMinute - rest);
}

std::wstring past_start_cutoff(int minutes)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    auto at = ticks_of(now);
    auto cutoff = at ? system_time_of(*at - (ULONGLONG)minutes * kTicksPerMinute) : std::nullopt;
    return compact_time(cutoff ? *cutoff : now);
}

}  // namespace tickvane::win32
