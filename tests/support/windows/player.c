/* A stand-in for the Windows music player, run through Wine by the tests: a window titled
 * SPCPLAY that writes into player.log beside itself how it was started (its command line, the
 * show mode it was given, whether its song opened), every Return it gets, and Tab, on which it
 * closes. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

static FILE* logFile;

static void note(const char* text) {
    fprintf(logFile, "%lu %s\n", (unsigned long)GetCurrentProcessId(), text);
    fflush(logFile);
}

static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_KEYDOWN && w == VK_RETURN) {
        note("Return");
        return 0;
    }
    if (message == WM_KEYDOWN && w == VK_TAB) {
        note("Tab");
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)previous;
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    strcpy(slash != NULL ? slash + 1 : path, "player.log");
    logFile = fopen(path, "ab");
    if (logFile == NULL) {
        return 2;
    }
    char text[MAX_PATH + 64];
    snprintf(text, sizeof text, "started: %s", commandLine);
    note(text);
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    snprintf(text, sizeof text, "show: %d %d", show,
             (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1);
    note(text);
    const char* song = strrchr(commandLine, ' ');
    song = song != NULL ? song + 1 : commandLine;
    FILE* file = fopen(song, "rb");
    note(file != NULL ? "song: opened" : "song: not opened");
    if (file != NULL) {
        fclose(file);
    }

    WNDCLASSA kind = {0};
    kind.lpfnWndProc = windowProc;
    kind.hInstance = instance;
    kind.lpszClassName = "StandInPlayer";
    RegisterClassA(&kind);
    HWND window = CreateWindowA("StandInPlayer", "SPCPLAY", WS_OVERLAPPEDWINDOW, 40, 40, 320, 120,
                                NULL, NULL, instance, NULL);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    note("closed");
    fclose(logFile);
    return 0;
}
