
#include "task_schedulers.h"

#include <mstask.h>
#include <wrl/client.h>

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

}  // namespace

HRESULT register_job(const LaunchRequest& r)
{
    auto start = first_whole_minute(r.due);
    if (!start)
        return E_INVALIDARG;
    ComPtr<ITaskScheduler> scheduler;
    HRESULT hr = CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler, &scheduler);
    if (FAILED(hr))
        return hr;
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
