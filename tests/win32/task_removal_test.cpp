// What the uninstaller's cleanup removes: every start of the program, due or not, and
// nothing of other programs. The 1.0 jobs only: Wine 8's 2.0 service cannot list its tasks
// (IRegisteredTaskCollection::get_Count is not implemented there).
#include <gtest/gtest.h>

#include <objbase.h>
#include <mstask.h>
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

}  // namespace

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
