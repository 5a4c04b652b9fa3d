// The interval settings file: three ANSI bytes, "<minutes choice> <seconds choice>".
#include "zubo.h"

static const WCHAR kSettingsPath[] = TEXT("\\Program Files\\Tickvane\\TimeConfig.dat");

WCHAR ReadConfigChar(int position)
{
    char bytes[3] = {0, 0, 0};
    DWORD read = 0;
    HANDLE file = CreateFileW(kSettingsPath, GENERIC_READ, 0, 0, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file != INVALID_HANDLE_VALUE) {
        SetFilePointer(file, 0, 0, FILE_BEGIN);
        if (!ReadFile(file, bytes, 3, &read, 0))
            read = 0;
        CloseHandle(file);
    }

    // The text is exactly the bytes read; converting that count (no terminator)
    // always fits the room of three.
    WCHAR text[3] = {0, 0, 0};
    if (read > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes, (int)read, text, 3);
    if (position < 0 || position > 2)
        return 0;
    return text[position];
}

void LoadIntervalChoices(void)
{
    WCHAR digit[2] = {0, 0};
    digit[0] = ReadConfigChar(2);
    g_secondChoice = _wtoi(digit);
    digit[0] = ReadConfigChar(0);
    g_minuteChoice = _wtoi(digit);
}

// FALSE when the file could not be opened or the three bytes not all written.
BOOL SaveIntervalChoices(void)
{
    HANDLE file = CreateFileW(kSettingsPath, GENERIC_WRITE, 0, 0, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    SetFilePointer(file, 0, 0, FILE_BEGIN);

    // "%d %d" is never shorter than three characters; only the first three are stored.
    WCHAR text[32];
    wsprintfW(text, TEXT("%d %d"), g_minuteChoice, g_secondChoice);
    char bytes[3] = {0, 0, 0};
    WideCharToMultiByte(CP_ACP, 0, text, 3, bytes, 3, 0, 0);

    DWORD written = 0;
    BOOL wrote = WriteFile(file, bytes, 3, &written, 0) && written == 3;
    return CloseHandle(file) && wrote;
}
