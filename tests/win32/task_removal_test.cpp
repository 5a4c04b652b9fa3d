// What the uninstaller's cleanup removes: every start of the program that either Task
// Scheduler holds, due or not, and nothing of other programs.
#include <gtest/gtest.h>

#include <objbase.h>
#include <mstask.h>
#include <taskschd.h>
#include <wrl/client.h>

#include "launch_request.h"
#include "task_schedulers.h"

using Microsoft::WRL::ComPtr;
using namespace tickvane::win32;

namespace {

const std::wstring kFamily = L"Tickvane removal ";
const std::wstring kOurs = kFamily + L"20991231T235959", kOthers = L"Tickvane other 20991231T235959";

bool any_start(const std::wstring& name) { return is_past_start(name, kFamily, L"99991231T235959"); }

class TaskRemoval : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }
};

// Plants a 2.0 task without a trigger (Wine's service takes no time triggers, and no
// scheduler is to start anything for it).
HRESULT plant_task(ITaskFolder* root, ITaskService* service, const std::wstring& name)
{
    ComPtr<ITaskDefinition> task;
    ComPtr<IActionCollection> actions;
    ComPtr<IAction> action;
    ComPtr<IExecAction> exec;
    HRESULT hr = service->NewTask(0, &task);
    if (SUCCEEDED(hr))
        hr = task->get_Actions(&actions);
    if (SUCCEEDED(hr))
        hr = actions->Create(TASK_ACTION_EXEC, &action);
    if (SUCCEEDED(hr))
        hr = action.As(&exec);
    if (SUCCEEDED(hr))
        hr = exec->put_Path(const_cast<BSTR>(L"C:\\windows\\system32\\cmd.exe"));
    VARIANT none;
    VariantInit(&none);
    ComPtr<IRegisteredTask> registered;
    BSTR bname = SysAllocString(name.c_str());
    if (SUCCEEDED(hr))
        hr = root->RegisterTaskDefinition(bname, task.Get(), TASK_CREATE_OR_UPDATE, none, none,
                                          TASK_LOGON_INTERACTIVE_TOKEN, none, &registered);
    SysFreeString(bname);
    return hr;
}

bool task_exists(ITaskFolder* root, const std::wstring& name)
{
    ComPtr<IRegisteredTask> task;
    BSTR bname = SysAllocString(name.c_str());
    bool found = SUCCEEDED(root->GetTask(bname, &task));
    SysFreeString(bname);
    return found;
}

}  // namespace

TEST_F(TaskRemoval, RemovesTheProgramsTaskServiceTasksOnly)
{
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
    VARIANT none;
    VariantInit(&none);
    ASSERT_TRUE(
        SUCCEEDED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService, &service)));
    ASSERT_TRUE(SUCCEEDED(service->Connect(none, none, none, none)));
    BSTR slash = SysAllocString(L"\\");
    ASSERT_TRUE(SUCCEEDED(service->GetFolder(slash, &root)));
    SysFreeString(slash);
    for (const std::wstring& name : {kOurs, kOthers})
        ASSERT_TRUE(SUCCEEDED(plant_task(root.Get(), service.Get(), name)));
    auto remove_planted = [&] {
        for (const std::wstring& name : {kOurs, kOthers}) {
            BSTR bname = SysAllocString(name.c_str());
            root->DeleteTask(bname, 0);
            SysFreeString(bname);
        }
    };
    ComPtr<IRegisteredTaskCollection> listed;
    LONG count = 0;
    if (FAILED(root->GetTasks(TASK_ENUM_HIDDEN, &listed)) || FAILED(listed->get_Count(&count))) {
        remove_planted();
        GTEST_SKIP() << "this Task Scheduler cannot list its tasks (Wine 8's 2.0 service cannot)";
    }

    EXPECT_TRUE(SUCCEEDED(remove_task_service_tasks(any_start)));
    EXPECT_FALSE(task_exists(root.Get(), kOurs));
    EXPECT_TRUE(task_exists(root.Get(), kOthers));
    remove_planted();
}

TEST_F(TaskRemoval, RemovesTheProgramsJobsOnly)
{
    ComPtr<ITaskScheduler> scheduler;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler, &scheduler)));
    for (const std::wstring& name : {kOurs, kOthers}) {
        ComPtr<ITask> task;
        ComPtr<IPersistFile> file;
        ASSERT_TRUE(SUCCEEDED(scheduler->NewWorkItem(name.c_str(), CLSID_CTask, IID_ITask,
                                                     reinterpret_cast<IUnknown**>(task.GetAddressOf()))));
        ASSERT_TRUE(SUCCEEDED(task.As(&file)) && SUCCEEDED(file->Save(nullptr, TRUE)));
    }
    auto exists = [&](const std::wstring& name) {
        ComPtr<ITask> task;
        return SUCCEEDED(
            scheduler->Activate(name.c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.GetAddressOf())));
    };
    ASSERT_TRUE(exists(kOurs));

    EXPECT_TRUE(SUCCEEDED(remove_jobs(any_start)));
    EXPECT_FALSE(exists(kOurs));
    EXPECT_TRUE(exists(kOthers));
    scheduler->Delete(kOthers.c_str());
}
