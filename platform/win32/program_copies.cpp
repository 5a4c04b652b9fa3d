#include "program_copies.h"

#include "win32.h"  // windows.h, which tlhelp32.h needs first

#include <tlhelp32.h>

#include <vector>

namespace tickvane::win32 {
namespace {

bool is_program(HANDLE process, const std::wstring& program)
{
    wchar_t path[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    return QueryFullProcessImageNameW(process, 0, path, &size) &&
           CompareStringOrdinal(path, (int)size, program.c_str(), (int)program.size(), TRUE) == CSTR_EQUAL;
}

// By process, not by window: a copy that a scheduled task started may show its window on
// another desktop than the uninstaller's (Wine's services have their own).
std::vector<DWORD> processes_of(const std::wstring& program)
{
    std::vector<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (process != nullptr && is_program(process, program) && entry.th32ProcessID != GetCurrentProcessId())
            found.push_back(entry.th32ProcessID);
        if (process != nullptr)
            CloseHandle(process);
    }
    CloseHandle(snapshot);
    return found;
}

void ask_to_quit(DWORD process)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == process)
            PostThreadMessageW(entry.th32ThreadID, WM_QUIT, 0, 0);
    CloseHandle(snapshot);
}

}  // namespace

bool end_running_copies(const std::wstring& program, unsigned limitMs)
{
    std::vector<HANDLE> running;
    for (DWORD id : processes_of(program)) {
        if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id)) {
            running.push_back(process);
            ask_to_quit(id);
        }
    }
    bool ended = true;
    DWORD start = GetTickCount();
    for (HANDLE process : running) {
        DWORD spent = GetTickCount() - start;
        if (WaitForSingleObject(process, spent < limitMs ? limitMs - spent : 0) != WAIT_OBJECT_0)
            ended = TerminateProcess(process, 0) && WaitForSingleObject(process, 2000) == WAIT_OBJECT_0 && ended;
        CloseHandle(process);
    }
    return ended;
}

}  // namespace tickvane::win32
