/* A stand-in for the Windows build of the emulator, run through Wine by the tests. It writes
 * what it was given into emulator.log beside itself: its command line, its working folder, the
 * first line of the game as the narrow file functions read it, the configuration file beside
 * itself; then it writes saved.srm into the configuration's save folder. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

static void besideSelf(char* path, const char* name) {
    char* slash = strrchr(path, '\\');
    strcpy(slash != NULL ? slash + 1 : path, name);
}

int main(int argc, char** argv) {
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, MAX_PATH);
    char logPath[MAX_PATH];
    strcpy(logPath, self);
    besideSelf(logPath, "emulator.log");
    FILE* log = fopen(logPath, "ab");
    if (log == NULL) {
        return 2;
    }
    fprintf(log, "self: %s\n", self);
    fprintf(log, "command line: %s\n", GetCommandLineA());
    for (int i = 1; i < argc; ++i) {
        fprintf(log, "argument: %s\n", argv[i]);
    }
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    fprintf(log, "folder: %s\n", folder);

    const char* game = argc > 1 ? argv[argc - 1] : "";
    FILE* rom = fopen(game, "rb");
    char line[256] = "";
    if (rom != NULL) {
        if (fgets(line, sizeof line, rom) == NULL) {
            line[0] = '\0';
        }
        line[strcspn(line, "\r\n")] = '\0';
        fclose(rom);
        fprintf(log, "game: %s\n", line);
    } else {
        fprintf(log, "game: not opened\n");
    }

    char config[MAX_PATH];
    strcpy(config, self);
    size_t length = strlen(config);
    if (length > 3) {
        strcpy(config + length - 3, "cfg");
    }
    char saves[MAX_PATH] = "";
    FILE* settings = fopen(config, "rb");
    if (settings != NULL) {
        char text[MAX_PATH + 32];
        while (fgets(text, sizeof text, settings) != NULL) {
            text[strcspn(text, "\r\n")] = '\0';
            fprintf(log, "config: %s\n", text);
            if (strncmp(text, "SaveDirectory = ", 16) == 0) {
                strcpy(saves, text + 16);
            }
        }
        fclose(settings);
    } else {
        fprintf(log, "config: not found\n");
    }
    if (saves[0] != '\0') {
        char saved[MAX_PATH + 16];
        snprintf(saved, sizeof saved, "%s\\saved.srm", saves);
        FILE* save = fopen(saved, "wb");
        fprintf(log, "save: %s %s\n", saved, save != NULL ? "written" : "not written");
        if (save != NULL) {
            fputs(line, save);
            fclose(save);
        }
    }
    fclose(log);
    return 0;
}
