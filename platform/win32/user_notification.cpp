// CeSetUserNotificationEx on desktop Windows: the start of a program at a local time,
// handed to the Windows Task Scheduler so that the program really starts again then.
#include "handheld_root.h"
#include "task_schedulers.h"

#include <objbase.h>

using namespace tickvane::win32;

namespace {

// COM for the length of one registration, on whatever footing the thread already has.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

// The Task Scheduler service checks who registers by impersonating the caller, which
// COM's default process security does not allow. Set once per process; a program that
// set its own security first keeps it (RPC_E_TOO_LATE).
void allow_impersonation()
{
    static bool done = false;
    if (!done) {
        done = true;
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY, RPC_C_IMP_LEVEL_IMPERSONATE,
                             nullptr, 0, nullptr);
    }
}

HRESULT register_launch(const LaunchRequest& request)
{
    allow_impersonation();
    HRESULT hr = register_with_task_service(request);
    if (SUCCEEDED(hr))
        return hr;
    // Wine's 2.0 service refuses time triggers (E_NOTIMPL); its 1.0 scheduler runs .jobs.
    HRESULT fallback = register_job(request);
    if (FAILED(fallback)) {
        wchar_t text[160];
        wsprintfW(text, L"zubo: the Task Scheduler refused the start (2.0: 0x%08lx, 1.0: 0x%08lx)\n", (unsigned long)hr,
                  (unsigned long)fallback);
        OutputDebugStringW(text);
    }
    return fallback;
}

LONG g_registrations = 0;

// The trigger with its application as the desktop names it: the clock names itself from
// the handheld's root, and it is this copy, wherever installed, that must start again.
std::optional<LaunchRequest> request_for(const CE_NOTIFICATION_TRIGGER* trigger)
{
    if (trigger == nullptr || trigger->dwSize != sizeof(CE_NOTIFICATION_TRIGGER))
        return std::nullopt;
    std::wstring application = program_to_start(trigger->lpszApplication);
    CE_NOTIFICATION_TRIGGER onDesktop = *trigger;
    onDesktop.lpszApplication = application.data();
    return launch_request_from(&onDesktop);
}

}  // namespace

// Only new registrations of a time trigger; the user-notification record (a dialog or
// a sound with the start) is ignored, as on the device. Returns null when refused.
HANDLE WINAPI CeSetUserNotificationEx(HANDLE notification, CE_NOTIFICATION_TRIGGER* trigger,
                                      CE_USER_NOTIFICATION* /*userNotification*/)
{
    auto request = notification == nullptr ? request_for(trigger) : std::nullopt;
    if (!request) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ComScope com;
    HRESULT hr = com.usable() ? register_launch(*request) : E_UNEXPECTED;
    if (FAILED(hr)) {
        SetLastError(HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    // The handle names the registration to the caller only; nothing is looked up by it.
    return (HANDLE)(ULONG_PTR)InterlockedIncrement(&g_registrations);
}
