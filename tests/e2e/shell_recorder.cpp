// Stands in for a browser or mail program in the end-to-end tests: appends
// its command line to shell_record.txt beside itself, then each argument as
// the C runtime split it, on a line of its own: "  [1] <argument>".
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path);
    file = file.substr(0, file.find_last_of("\\/")) + "\\shell_record.txt";
    if (FILE* out = std::fopen(file.c_str(), "a")) {
        std::fprintf(out, "%s\n", ::GetCommandLineA());
        for (int i = 1; i < __argc; ++i) std::fprintf(out, "  [%d] %s\n", i, __argv[i]);
        std::fclose(out);
    }
    return 0;
}
