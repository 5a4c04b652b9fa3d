// tickvane-cleanup [--keep-starts] "<folder>\zubo.exe": what the installer runs before it
// replaces or removes the program. Ends the program's running copies (their file is in use
// otherwise); unless told to keep them, then removes every start of it that either Task
// Scheduler holds (2.0 tasks and 1.0 jobs), due or not. The user's settings stay.
#include <objbase.h>
#include <shellapi.h>

#include "launch_request.h"
#include "program_copies.h"
#include "task_schedulers.h"

using namespace tickvane::win32;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    bool keepStarts = args != nullptr && count == 3 && std::wstring(args[1]) == L"--keep-starts";
    if (args == nullptr || count != (keepStarts ? 3 : 2))
        return 2;
    std::wstring program = args[count - 1];
    LocalFree(args);

    bool ended = end_running_copies(program, 5000);
    if (keepStarts)  // an upgrade: the starts to come start the new copy at the same place
        return ended ? 0 : 1;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY, RPC_C_IMP_LEVEL_IMPERSONATE,
                         nullptr, 0, nullptr);
    std::wstring family = task_family(program);
    // Any start of the program: every name of the family is before the last second there is.
    auto any_start = [&](const std::wstring& name) { return is_past_start(name, family, L"99991231T235959"); };
    HRESULT tasks = remove_task_service_tasks(any_start);
    HRESULT jobs = remove_jobs(any_start);
    CoUninitialize();
    // Wine's 2.0 service takes no time triggers, so it holds none of ours; the 1.0 jobs count.
    return ended && (SUCCEEDED(tasks) || SUCCEEDED(jobs)) ? 0 : 1;
}
