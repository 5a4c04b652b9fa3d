
#include "task_schedulers.h"

#include <mstask.h>
#include <wrl/client.h>

#include <vector>

namespace tickvane::win32 {

namespace {

using Microsoft::WRL::ComPtr;

HRESULT set_trigger(ITask* task, const SYSTEMTIME& start)
{
    WORD index = 0;
    ComPtr<ITaskTrigger> trigger;
    HRESULT hr = task->CreateTrigger(&index, &trigger);
    if (FAILED(hr))
        return hr;
    TASK_TRIGGER t = {};
    t.cbTriggerSize = sizeof(t);
    t.TriggerType = TASK_TIME_TRIGGER_ONCE;
    t.wBeginYear = start.wYear;
    t.wBeginMonth = start.wMonth;
    t.wBeginDay = start.wDay;
    t.wStartHour = start.wHour;
    t.wStartMinute = start.wMinute;
    return trigger->SetTrigger(&t);
}

// Runs in the logged-on user's session without a stored password; gone once it ran.
HRESULT describe(ITask* task, const LaunchRequest& r)
{
    WCHAR user[256];
    DWORD size = 256;
    HRESULT hr = task->SetApplicationName(r.application.c_str());
    if (SUCCEEDED(hr))
        hr = task->SetParameters(r.arguments.c_str());
    if (SUCCEEDED(hr))
        hr = task->SetWorkingDirectory(r.directory.c_str());
    if (SUCCEEDED(hr))
        hr = task->SetFlags(TASK_FLAG_DELETE_WHEN_DONE | TASK_FLAG_RUN_ONLY_IF_LOGGED_ON);
    if (SUCCEEDED(hr))
        hr = task->SetMaxRunTime(INFINITE);
    if (SUCCEEDED(hr) && GetUserNameW(user, &size))
        hr = task->SetAccountInformation(user, nullptr);
    return hr;
}

void remove_chosen(ITaskScheduler* scheduler, const TaskChoice& which)
{
    ComPtr<IEnumWorkItems> items;
    if (FAILED(scheduler->Enum(&items)))
        return;
    std::vector<std::wstring> chosen;
    LPWSTR* names = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &names, &fetched) == S_OK && fetched == 1) {
        std::wstring name = names[0];
        CoTaskMemFree(names[0]);
        CoTaskMemFree(names);
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".job") == 0)
            name.resize(name.size() - 4);  // the file's name; the scheduler names items without it
        if (which(name))
            chosen.push_back(name);
    }
    for (const auto& name : chosen) {
        ComPtr<ITask> task;
        HRESULT status = S_OK;
        if (SUCCEEDED(
                scheduler->Activate(name.c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.GetAddressOf()))) &&
            SUCCEEDED(task->GetStatus(&status)) && status == SCHED_S_TASK_RUNNING)
            continue;
        scheduler->Delete(name.c_str());
    }
}

HRESULT scheduler_of_jobs(ComPtr<ITaskScheduler>& scheduler)
{
    return CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler, &scheduler);
}

}  // namespace

HRESULT remove_jobs(const TaskChoice& which)
{
    ComPtr<ITaskScheduler> scheduler;
    HRESULT hr = scheduler_of_jobs(scheduler);
    if (SUCCEEDED(hr))
        remove_chosen(scheduler.Get(), which);
    return hr;
}

HRESULT register_job(const LaunchRequest& r)
{
    auto start = first_whole_minute(r.due);
    if (!start)
        return E_INVALIDARG;
    ComPtr<ITaskScheduler> scheduler;
    HRESULT hr = scheduler_of_jobs(scheduler);
    if (FAILED(hr))
        return hr;
    // Jobs stay after they ran (Wine keeps them), and one missed while the scheduler was
    // down stays for good: each registration removes this program's jobs whose start
    // (the first whole minute at or after the second in the name) is over a minute gone.
    std::wstring cutoff = past_start_cutoff(2);
    remove_chosen(scheduler.Get(),
                  [&](const std::wstring& name) { return is_past_start(name, r.task_family, cutoff); });
    scheduler->Delete(r.task_name.c_str());  // the same start asked for again: one job
    ComPtr<ITask> task;
    hr = scheduler->NewWorkItem(r.task_name.c_str(), CLSID_CTask, IID_ITask,
                                reinterpret_cast<IUnknown**>(task.GetAddressOf()));
    if (FAILED(hr) || FAILED(hr = describe(task.Get(), r)) || FAILED(hr = set_trigger(task.Get(), *start)))
        return hr;
    ComPtr<IPersistFile> file;
    if (FAILED(hr = task.As(&file)))
        return hr;
    return file->Save(nullptr, TRUE);
}

}  // namespace tickvane::win32
