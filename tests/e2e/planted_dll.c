/* A stand-in for a DLL that someone planted beside the program: loading it leaves a file
 * "<its own path>.loaded" holding the path of the program that loaded it. It does nothing else
 * and exports nothing, so a program that would call into it would fail visibly too. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        WCHAR marker[MAX_PATH + 8];
        WCHAR program[MAX_PATH];
        const DWORD n = GetModuleFileNameW(self, marker, MAX_PATH);
        const DWORD m = GetModuleFileNameW(NULL, program, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            lstrcatW(marker, L".loaded");
            const HANDLE file =
                CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (file != INVALID_HANDLE_VALUE) {
                DWORD written = 0;
                WriteFile(file, program, m * sizeof(WCHAR), &written, NULL);
                WriteFile(file, L"\n", sizeof(WCHAR), &written, NULL);
                CloseHandle(file);
            }
        }
    }
    return TRUE;
}
