// Another program's hand on the clock, for the end-to-end script:
//   restore_clock show      ShowWindow(SW_RESTORE), as any program may call it
//   restore_clock command   the context menu's Restore, posted as its command
//   restore_clock minimize  ShowWindow(SW_MINIMIZE)
#include <windows.h>

#include <string.h>

int main(int argc, char** argv)
{
    HWND clock = FindWindowA("TavikApp", "Tavik");
    if (clock == nullptr || argc != 2) {
        return 1;
    }
    if (strcmp(argv[1], "command") == 0) {
        return PostMessageA(clock, WM_COMMAND, 100, 0) ? 0 : 1; // IDM_RESTORE
    }
    ShowWindow(clock, strcmp(argv[1], "minimize") == 0 ? SW_MINIMIZE : SW_RESTORE);
    return 0;
}
