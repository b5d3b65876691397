/*
 * keepalive.exe - the Wine bench's anchor process.
 *
 * Wine closes a desktop (and its taskbar and notification area) a few
 * seconds after the last program on it exits, and the next program then gets
 * a fresh desktop with new handles and no tray icons. scripts/wine-bench
 * starts this program first and keeps it running for the whole bench run, so
 * that every test sees one desktop and one notification area.
 *
 * It owns no window. It joins the desktop, waits until the taskbar window
 * "Shell_TrayWnd" exists and is visible, prints "ready" (or "no-taskbar" on
 * timeout, exit code 2), then sleeps until it is killed.
 *
 * Usage: keepalive.exe [timeout-ms]     (default 60000)
 *
 * Built by scripts/wine-bench itself (not part of the CMake build):
 *   x86_64-w64-mingw32-gcc-posix -O2 -static -mwindows -o keepalive.exe keepalive.c
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv)
{
    DWORD timeout = 60000;
    DWORD start;
    HWND tray = NULL;

    if (argc > 1)
        timeout = (DWORD)strtoul(argv[1], NULL, 10);

    /* Asking for the desktop window makes Wine create the desktop (and, with
     * the "shell" desktop configured, the taskbar) if it is not there yet. */
    GetDesktopWindow();

    start = GetTickCount();
    for (;;) {
        tray = FindWindowA("Shell_TrayWnd", NULL);
        if (tray && IsWindowVisible(tray))
            break;
        if (GetTickCount() - start > timeout) {
            printf("no-taskbar\n");
            fflush(stdout);
            return 2;
        }
        Sleep(50);
    }

    printf("ready %lu ms\n", (unsigned long)(GetTickCount() - start));
    fflush(stdout);

    for (;;)
        Sleep(INFINITE);
}
