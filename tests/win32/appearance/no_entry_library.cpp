// A library that is almost a skin library: its entry point went out under the name the
// compiler gives a __stdcall function (SkinH_AttachRes@24), not under the plain one.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall SkinH_AttachRes(const unsigned char*, int,
                                                               const char*, int, int, int) {
    return 0;
}
