// The options dialog: two drop-down lists for the minutes and seconds of the
// reappearance interval; Apply stores them, Close ends the dialog.
#include "resource.h"
#include "zubo.h"

static const WCHAR* const kMinuteItems[] = {TEXT("0"), TEXT("1"), TEXT("3"), TEXT("5"), TEXT("10")};
static const WCHAR* const kSecondItems[] = {TEXT("0"), TEXT("15"), TEXT("30"), TEXT("45")};

static void FillList(HWND dialog, int id, const WCHAR* const* items, int count, int selected)
{
    HWND list = GetDlgItem(dialog, id);
    for (int i = 0; i < count; ++i)
        SendMessageW(list, CB_INSERTSTRING, (WPARAM)i, (LPARAM)items[i]);
    SendMessageW(list, CB_SETCURSEL, (WPARAM)selected, 0);
}

static void InitOptions(HWND dialog)
{
    LoadIntervalChoices();
    FillList(dialog, IDC_MINUTES, kMinuteItems, 5, g_minuteChoice);
    FillList(dialog, IDC_SECONDS, kSecondItems, 4, g_secondChoice);
}

// The lists show what the file holds again, after a save that did not happen.
static void ShowStoredChoices(HWND dialog)
{
    LoadIntervalChoices();
    SendMessageW(GetDlgItem(dialog, IDC_MINUTES), CB_SETCURSEL, (WPARAM)g_minuteChoice, 0);
    SendMessageW(GetDlgItem(dialog, IDC_SECONDS), CB_SETCURSEL, (WPARAM)g_secondChoice, 0);
}

// A list left with no selection (its stored position was outside it) keeps the
// stored position, so that Apply never writes "-1" or loses the other choice.
static int SelectedOr(HWND dialog, int id, int unchanged)
{
    int selected = (int)SendMessageW(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? unchanged : selected;
}

static void ApplyOptions(HWND dialog)
{
    int minuteBefore = g_minuteChoice;
    int secondBefore = g_secondChoice;
    g_minuteChoice = SelectedOr(dialog, IDC_MINUTES, minuteBefore);
    g_secondChoice = SelectedOr(dialog, IDC_SECONDS, secondBefore);
    if (g_minuteChoice == 0 && g_secondChoice == 0) {
        g_ignoreNextDeactivate = 1;
        MessageBoxW(dialog, TEXT("０分０秒は設定できません"), TEXT("エラー"), MB_OK);
        g_minuteChoice = minuteBefore;
        g_secondChoice = secondBefore;
        return;
    }
    if (!SaveIntervalChoices()) {
        ShowStoredChoices(dialog);
        g_ignoreNextDeactivate = 1;
        MessageBoxW(dialog, TEXT("設定を保存できませんでした"), TEXT("エラー"), MB_OK);
    }
}

INT_PTR CALLBACK OptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        InitOptions(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            ApplyOptions(dialog);
            return TRUE;
        case IDCANCEL:
            // Only EndDialog gives the main window back its input; a destroyed
            // modal dialog would leave it disabled for good.
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void ShowOptionsDialog(HWND owner)
{
    HRSRC found = FindResourceW(g_hInst, MAKEINTRESOURCE(IDD_OPTION), RT_DIALOG);
    HGLOBAL loaded = LoadResource(g_hInst, found);
    DialogBoxIndirectParamW(g_hInst, (LPCDLGTEMPLATEW)LockResource(loaded), owner, OptionsDlgProc, 0);
}
