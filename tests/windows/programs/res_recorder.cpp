// Registered as the res: scheme's handler in the test prefix, as
//   res_recorder.exe "<record file>" "%1"
// It records the address that the shell handed over, so a test sees what the
// plug-in asked the shell to open.
#include <cstdio>

#include <windows.h>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    // Written under a temporary name first, so that a reader never sees half
    // an address.
    char temp[MAX_PATH + 8];
    std::snprintf(temp, sizeof temp, "%s.tmp", argv[1]);
    FILE* file = std::fopen(temp, "wb");
    if (!file) return 1;
    std::fputs(argv[2], file);
    std::fclose(file);
    return MoveFileExA(temp, argv[1], MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
