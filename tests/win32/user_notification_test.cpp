// CeSetUserNotificationEx on Windows: what the Task Scheduler is asked for, read back
// through the scheduler's own interfaces. Under Wine, whose 2.0 service refuses time
// triggers, that is a 1.0 job at the first whole minute at or after the due second.
#include <gtest/gtest.h>

#include <objbase.h>
#include <mstask.h>
#include <taskschd.h>
#include <wrl/client.h>

#include <string>

#include "launch_request.h"

using Microsoft::WRL::ComPtr;
using namespace tickvane::win32;

namespace {

class Notification : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(SUCCEEDED(
            CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler, &scheduler)));
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        self = path;
        GetLocalTime(&due);
        due.wYear = (WORD)(due.wYear + 1);  // well ahead, whatever the date
        due.wMonth = 3, due.wDay = 14, due.wHour = 9, due.wMinute = 26, due.wSecond = 53;
        trigger = {};
        trigger.dwSize = sizeof(trigger);
        trigger.dwType = CNT_TIME;
        trigger.lpszApplication = self.data();
        trigger.lpszArguments = const_cast<LPWSTR>(L"");
        trigger.stStartTime = due;
        name = launch_request_from(&trigger)->task_name;
    }
    void TearDown() override
    {
        // Wine's scheduler service may still be reading a new job: try again for a while.
        for (int i = 0; i < 20 && jobs_named() > 0; ++i) {
            scheduler->Delete(name.c_str());
            Sleep(100);
        }
        scheduler.Reset();
        CoUninitialize();
    }
    ComPtr<ITask> job() const
    {
        ComPtr<ITask> task;
        scheduler->Activate(name.c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.GetAddressOf()));
        return task;
    }
    int jobs_named() const { return jobs_named(name); }
    int jobs_named(const std::wstring& job_name) const
    {
        ComPtr<IEnumWorkItems> items;
        int count = 0;
        if (FAILED(scheduler->Enum(&items)))
            return -1;
        LPWSTR* names = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &names, &fetched) == S_OK && fetched == 1) {
            count += std::wstring(names[0]) == job_name + L".job" || std::wstring(names[0]) == job_name;
            CoTaskMemFree(names[0]);
            CoTaskMemFree(names);
        }
        return count;
    }
    ComPtr<ITaskScheduler> scheduler;
    std::wstring self, name;
    SYSTEMTIME due;
    CE_NOTIFICATION_TRIGGER trigger;
};

TEST_F(Notification, AStartIsRegisteredAsAOneTimeJobForTheProgram)
{
    HANDLE first = CeSetUserNotificationEx(nullptr, &trigger, nullptr);
    ASSERT_NE(first, nullptr);
    ComPtr<ITask> task = job();
    ASSERT_NE(task, nullptr) << "no job named " << std::string(name.begin(), name.end());

    LPWSTR application = nullptr;
    ASSERT_TRUE(SUCCEEDED(task->GetApplicationName(&application)));
    EXPECT_EQ(std::wstring(application), self);
    CoTaskMemFree(application);
    DWORD flags = 0;
    task->GetFlags(&flags);
    EXPECT_TRUE(flags & TASK_FLAG_DELETE_WHEN_DONE) << "gone once it ran";

    WORD triggers = 0;
    task->GetTriggerCount(&triggers);
    ASSERT_EQ(triggers, 1);
    ComPtr<ITaskTrigger> trigger_of_job;
    ASSERT_TRUE(SUCCEEDED(task->GetTrigger(0, &trigger_of_job)));
    TASK_TRIGGER t = {};
    t.cbTriggerSize = sizeof(t);
    ASSERT_TRUE(SUCCEEDED(trigger_of_job->GetTrigger(&t)));
    EXPECT_EQ(t.TriggerType, TASK_TIME_TRIGGER_ONCE);
    EXPECT_EQ(t.wBeginYear, due.wYear);
    EXPECT_EQ(t.wBeginMonth, 3);
    EXPECT_EQ(t.wBeginDay, 14);
    EXPECT_EQ(t.wStartHour, 9);
    EXPECT_EQ(t.wStartMinute, 27) << "09:26:53 starts at 09:27, never before";

    HANDLE again = CeSetUserNotificationEx(nullptr, &trigger, nullptr);
    EXPECT_NE(again, nullptr);
    EXPECT_NE(again, first);
    EXPECT_EQ(jobs_named(), 1) << "the same program at the same second starts once";
}

// The clock names itself from the handheld's root; whatever the current drive, the job
// starts this very copy, in its own folder.
TEST_F(Notification, TheProgramNamingItselfFromTheRootIsStartedAsThisCopy)
{
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(L"Z:\\"));
    std::wstring rooted = L"\\Program Files\\Tickvane" + self.substr(self.find_last_of(L'\\'));
    CE_NOTIFICATION_TRIGGER named = trigger;
    named.lpszApplication = rooted.data();
    HANDLE registered = CeSetUserNotificationEx(nullptr, &named, nullptr);
    SetCurrentDirectoryW(before);
    ASSERT_NE(registered, nullptr);
    ComPtr<ITask> task = job();
    ASSERT_NE(task, nullptr);
    LPWSTR application = nullptr, folder = nullptr;
    ASSERT_TRUE(SUCCEEDED(task->GetApplicationName(&application)));
    ASSERT_TRUE(SUCCEEDED(task->GetWorkingDirectory(&folder)));
    EXPECT_EQ(std::wstring(application), self);
    EXPECT_EQ(std::wstring(folder), self.substr(0, self.find_last_of(L'\\')));
    CoTaskMemFree(application);
    CoTaskMemFree(folder);
}

// Jobs stay after they ran: a registration removes this program's jobs whose start is
// over a minute gone, and leaves the ones to come and other programs' alone. (The jobs
// planted here have no trigger, so that no scheduler starts anything for them.)
TEST_F(Notification, ARegistrationRemovesThisProgramsPastJobs)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    SYSTEMTIME long_ago = now;
    long_ago.wYear = (WORD)(now.wYear - 1);
    std::wstring family = launch_request_from(&trigger)->task_family;
    std::wstring past = family + compact_time(long_ago), other = L"Tickvane other " + compact_time(long_ago);
    for (const std::wstring& planted : {past, other}) {
        ComPtr<ITask> task;
        ComPtr<IPersistFile> file;
        ASSERT_TRUE(SUCCEEDED(scheduler->NewWorkItem(planted.c_str(), CLSID_CTask, IID_ITask,
                                                     reinterpret_cast<IUnknown**>(task.GetAddressOf()))));
        ASSERT_TRUE(SUCCEEDED(task.As(&file)) && SUCCEEDED(file->Save(nullptr, TRUE)));
        ASSERT_EQ(jobs_named(planted), 1);
    }

    ASSERT_NE(CeSetUserNotificationEx(nullptr, &trigger, nullptr), nullptr);
    EXPECT_EQ(jobs_named(past), 0) << "the past start stayed";
    EXPECT_EQ(jobs_named(name), 1) << "the start to come is there";
    EXPECT_EQ(jobs_named(other), 1) << "another program's job is not ours to remove";
    scheduler->Delete(other.c_str());
}

TEST_F(Notification, RefusedRequestsReturnNullAndRegisterNothing)
{
    ASSERT_EQ(jobs_named(), 0);
    CE_NOTIFICATION_TRIGGER bad = trigger;
    bad.stStartTime.wMonth = 2, bad.stStartTime.wDay = 30;
    SetLastError(0);
    EXPECT_EQ(CeSetUserNotificationEx(nullptr, &bad, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);

    std::wstring missing = self + L".gone";
    bad = trigger, bad.lpszApplication = missing.data();
    EXPECT_EQ(CeSetUserNotificationEx(nullptr, &bad, nullptr), nullptr);
    EXPECT_EQ(CeSetUserNotificationEx(nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(CeSetUserNotificationEx((HANDLE)1, &trigger, nullptr), nullptr) << "updates are not offered";
    EXPECT_EQ(jobs_named(), 0);
}

}  // namespace
