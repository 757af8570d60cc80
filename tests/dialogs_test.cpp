// The colour dialog and the About box (dialogs.cpp), opened from the menu.
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <stdlib.h>

TEST_F(Window, AboutBoxClosesOnAnyCommandAndTheSettingsAreSaved)
{
    // TRUE lets the platform put the focus on OK; Wine's activation would hide
    // a FALSE here, Windows' not in every case.
    EXPECT_EQ(AboutDialogProc(nullptr, WM_INITDIALOG, 0, 0), TRUE);
    for (UINT command : {IDOK, IDCANCEL}) {
        ASSERT_NE(SendClosingModal(window, IDM_ABOUT, command), nullptr);
        EXPECT_FALSE(IsWindow(ModalToClose));
        EXPECT_TRUE(ProfileWasWritten());
    }
}

// CTest runs this once more with COMDLG32 disabled (TAVIK_NO_COMDLG32 set): then
// the command must behave as a cancelled dialog.
TEST_F(Window, CancelledColourDialogKeepsTheColourAndStillSaves)
{
    bool disabled = getenv("TAVIK_NO_COMDLG32") != nullptr;
    AppState.settings.Minutes = RGB(1, 2, 3);
    HWND dialog = SendClosingModal(window, IDM_COLOR_MINUTES, IDCANCEL);
    EXPECT_EQ(dialog != nullptr, !disabled) << "the colour dialog opened";
    EXPECT_EQ(GetModuleHandleA("comdlg32.dll") != nullptr, !disabled)
        << "the program loads COMDLG32 itself, on first use";
    EXPECT_EQ(AppState.settings.Minutes, RGB(1, 2, 3));
    EXPECT_TRUE(ProfileWasWritten());
    // The Date colour while the label is hidden: stored and saved, nothing rebuilt.
    ASSERT_EQ(AppState.settings.ShowDate, 0);
    HBITMAP dial = AppState.dialBitmap;
    SendClosingModal(window, IDM_COLOR_DATE, IDCANCEL);
    EXPECT_EQ(AppState.dialBitmap, dial);
    EXPECT_TRUE(ProfileWasWritten());

    // The thread per monitor aware: the dialog runs system-aware, and after it
    // the thread is as it was (where Windows has per-thread contexts). Called
    // directly: a message to a window sets the thread's context for the call.
    auto setContext = (HANDLE(WINAPI*)(HANDLE))(void*)GetProcAddress(
        GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext");
    HANDLE previous = setContext != nullptr ? setContext((HANDLE)(LONG_PTR)-3) : nullptr;
    int awareness = ThreadAwareness();
    ModalAwareness = -2;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseModal);
    EXPECT_EQ(ChooseHandColor(RGB(4, 5, 6)), RGB(4, 5, 6));
    KillTimer(nullptr, timer);
    EXPECT_EQ(ThreadAwareness(), awareness);
    EXPECT_EQ(ModalAwareness, disabled ? -2 : (awareness < 0 ? -1 : 1));
    if (previous != nullptr) {
        setContext(previous);
    }
}

// The tooltip's tool record shows in what the tooltip holds (the set-up test reads
// its text back) and where it shows; the colour dialog's record is this.
TEST_F(Window, RecordHandedToTheColourDialog)
{
    CHOOSECOLORA record;
    FillColorRecord(&record, RGB(9, 8, 7));
    EXPECT_EQ(record.lStructSize, sizeof(CHOOSECOLORA));
    EXPECT_EQ(record.hwndOwner, window);
    EXPECT_EQ(record.rgbResult, RGB(9, 8, 7));
    EXPECT_EQ(record.lpCustColors, AppState.customColors);
    EXPECT_EQ(record.Flags, (DWORD)(CC_RGBINIT | CC_FULLOPEN));
}
