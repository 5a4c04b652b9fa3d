// Registers the clock's next appearance with the notification service.
#include "zubo.h"

static WCHAR s_application[] = TEXT("\\Program Files\\Tickvane\\zubo.exe");
static WCHAR s_noArguments[] = TEXT("");

static const int kDefaultSeconds = 15;
static const int kMinutesOfChoice[] = {0, 1, 3, 5, 10};

static int IntervalSeconds(void)
{
    int seconds = 0;
    if (g_minuteChoice >= 0 && g_minuteChoice <= 4)
        seconds += 60 * kMinutesOfChoice[g_minuteChoice];
    // Hand-edited files may hold seconds choices past 3; they count as written,
    // 15 s each, and carry like any other sum.
    seconds += 15 * g_secondChoice;
    // Both choices 0 mean the default. So does any other pair that adds up to
    // nothing (a minutes choice off the list with 0 seconds): a launch due at once
    // would bring the clock straight back after every dismissal.
    if (seconds <= 0)
        seconds = kDefaultSeconds;
    return seconds;
}

// Moves a local time on by whole seconds, carrying into minutes, hours, days,
// months and years; the weekday follows and the milliseconds stay as they were.
static BOOL AddSeconds(SYSTEMTIME* t, int seconds)
{
    FILETIME ft;
    if (!SystemTimeToFileTime(t, &ft))
        return FALSE;
    ULARGE_INTEGER u;
    u.u.LowPart = ft.dwLowDateTime;
    u.u.HighPart = ft.dwHighDateTime;
    u.QuadPart += (ULONGLONG)((long long)seconds * 10000000LL);
    ft.dwLowDateTime = u.u.LowPart;
    ft.dwHighDateTime = u.u.HighPart;
    return FileTimeToSystemTime(&ft, t);
}

void ScheduleNextAppearance(void)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    LoadIntervalChoices();
    if (!AddSeconds(&t, IntervalSeconds())) {
        g_scheduleFailed = 1;
        return;
    }

    CE_NOTIFICATION_TRIGGER trigger = {};
    trigger.dwSize = sizeof(trigger);
    trigger.dwType = CNT_TIME;
    trigger.dwEvent = 0;
    trigger.lpszApplication = s_application;
    trigger.lpszArguments = s_noArguments;
    trigger.stStartTime = t;

    HANDLE notification = CeSetUserNotificationEx(0, &trigger, 0);
    g_scheduleFailed = notification ? 0 : 1;
}
