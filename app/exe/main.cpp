// Tovrelle: shuts the computer down, restarts it or logs the user off, at once or when the
// clock reaches a time of day.
#include <windows.h>

#include "app/exe/wiring.h"
#include "app/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    static tovrelle::Program program;
    program.run(instance, tovrelle::wire_program);
}
