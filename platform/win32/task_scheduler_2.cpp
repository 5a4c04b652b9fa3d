#include "task_schedulers.h"

#include <taskschd.h>
#include <wrl/client.h>

#include <vector>

namespace tickvane::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// A BSTR for the length of one call.
class Bstr {
public:
    explicit Bstr(const std::wstring& text) : value_(SysAllocStringLen(text.data(), (UINT)text.size())) {}
    ~Bstr() { SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return value_; }

private:
    BSTR value_;
};

HRESULT describe_trigger(ITaskDefinition* task, const SYSTEMTIME& due)
{
    ComPtr<ITriggerCollection> triggers;
    ComPtr<ITrigger> trigger;
    HRESULT hr = task->get_Triggers(&triggers);
    if (SUCCEEDED(hr))
        hr = triggers->Create(TASK_TRIGGER_TIME, &trigger);
    if (SUCCEEDED(hr))
        hr = trigger->put_StartBoundary(Bstr(boundary_text(due)));
    return hr;
}

HRESULT describe_action(ITaskDefinition* task, const LaunchRequest& r)
{
    ComPtr<IActionCollection> actions;
    ComPtr<IAction> action;
    ComPtr<IExecAction> exec;
    HRESULT hr = task->get_Actions(&actions);
    if (SUCCEEDED(hr))
        hr = actions->Create(TASK_ACTION_EXEC, &action);
    if (SUCCEEDED(hr))
        hr = action.As(&exec);
    if (SUCCEEDED(hr))
        hr = exec->put_Path(Bstr(r.application));
    if (SUCCEEDED(hr) && !r.arguments.empty())
        hr = exec->put_Arguments(Bstr(r.arguments));
    if (SUCCEEDED(hr))
        hr = exec->put_WorkingDirectory(Bstr(r.directory));
    return hr;
}

// Started late rather than never when the machine slept through the time; never stopped
// for running long (the clock ends itself); on battery as on mains, like the handheld.
HRESULT describe_settings(ITaskDefinition* task)
{
    ComPtr<ITaskSettings> settings;
    HRESULT hr = task->get_Settings(&settings);
    if (SUCCEEDED(hr))
        hr = settings->put_StartWhenAvailable(VARIANT_TRUE);
    if (SUCCEEDED(hr))
        hr = settings->put_DisallowStartIfOnBatteries(VARIANT_FALSE);
    if (SUCCEEDED(hr))
        hr = settings->put_StopIfGoingOnBatteries(VARIANT_FALSE);
    if (SUCCEEDED(hr))
        hr = settings->put_ExecutionTimeLimit(Bstr(L"PT0S"));
    return hr;
}

void remove_tasks(ITaskFolder* root, const TaskChoice& which)
{
    ComPtr<IRegisteredTaskCollection> tasks;
    LONG count = 0;
    if (FAILED(root->GetTasks(TASK_ENUM_HIDDEN, &tasks)) || FAILED(tasks->get_Count(&count)))
        return;
    std::vector<std::wstring> chosen;
    for (LONG i = 1; i <= count; ++i) {
        VARIANT index;
        VariantInit(&index);
        index.vt = VT_I4;
        index.lVal = i;
        ComPtr<IRegisteredTask> task;
        BSTR name = nullptr;
        TASK_STATE state = TASK_STATE_UNKNOWN;
        // A state the service cannot tell (Wine's cannot) is not running.
        if (SUCCEEDED(tasks->get_Item(index, &task)) && SUCCEEDED(task->get_Name(&name)) &&
            (FAILED(task->get_State(&state)) || state != TASK_STATE_RUNNING) && which(name))
            chosen.emplace_back(name);
        SysFreeString(name);
    }
    for (const auto& name : chosen)
        root->DeleteTask(Bstr(name), 0);
}

HRESULT connect(ComPtr<ITaskService>& service)
{
    HRESULT hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService, &service);
    if (FAILED(hr))
        return hr;
    VARIANT none;
    VariantInit(&none);
    return service->Connect(none, none, none, none);
}

HRESULT register_definition(ITaskService* service, ITaskDefinition* task, const LaunchRequest& r)
{
    ComPtr<ITaskFolder> root;
    HRESULT hr = service->GetFolder(Bstr(L"\\"), &root);
    if (FAILED(hr))
        return hr;
    // One-time tasks stay in the scheduler after they ran; with a start every few seconds
    // they would pile up. Each registration removes this program's starts that fell due
    // over a minute ago and are not running; the ones still to come stay, as on the handheld.
    std::wstring cutoff = past_start_cutoff(1);
    remove_tasks(root.Get(), [&](const std::wstring& name) { return is_past_start(name, r.task_family, cutoff); });
    VARIANT none;
    VariantInit(&none);
    ComPtr<IRegisteredTask> registered;
    // The interactive token: the clock starts on the desktop of the user who set it.
    return root->RegisterTaskDefinition(Bstr(r.task_name), task, TASK_CREATE_OR_UPDATE, none, none,
                                        TASK_LOGON_INTERACTIVE_TOKEN, none, &registered);
}

}  // namespace

HRESULT register_with_task_service(const LaunchRequest& r)
{
    ComPtr<ITaskService> service;
    HRESULT hr = connect(service);
    if (FAILED(hr))
        return hr;
    ComPtr<ITaskDefinition> task;
    if (FAILED(hr = service->NewTask(0, &task)))
        return hr;
    if (FAILED(hr = describe_trigger(task.Get(), r.due)) || FAILED(hr = describe_action(task.Get(), r)) ||
        FAILED(hr = describe_settings(task.Get())))
        return hr;
    return register_definition(service.Get(), task.Get(), r);
}

HRESULT remove_task_service_tasks(const TaskChoice& which)
{
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
    HRESULT hr = connect(service);
    if (SUCCEEDED(hr))
        hr = service->GetFolder(Bstr(L"\\"), &root);
    if (SUCCEEDED(hr))
        remove_tasks(root.Get(), which);
    return hr;
}

}  // namespace tickvane::win32
