// What the shipped program takes from the C++ runtime instead of two heavy parts of it.
//
// The program catches no exception: an exception thrown by the standard library ends the
// process through std::terminate, and running out of memory in operator new ends it through
// the new-handler (Program::run). Two runtime parts add nothing to that end and weigh a
// quarter of the executable, so this file, linked into tovrelle.exe only, stands in for them:
// - the verbose terminate handler prints the thrown type, demangled, to a standard error that a
//   windows program does not have, and then aborts; this one aborts at once, which leaves the
//   demangler out;
// - the library's throw helpers build std::logic_error and its kin, which carry strings of the
//   old copy-on-write kind and pull in all of their code; these end the same way an uncaught
//   throw does, through std::terminate.
// The Win32 tests and the soak keep the library's own. Should the runtime ever need another
// helper from the same object file, the link fails with a duplicate symbol rather than
// silently growing again.
#include <cstdlib>
#include <exception>
#include <string>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc() {
    std::terminate();
}

void __throw_bad_array_new_length() {
    std::terminate();
}

void __throw_length_error(const char*) {
    std::terminate();
}

void __throw_logic_error(const char*) {
    std::terminate();
}

void __throw_out_of_range_fmt(const char*, ...) {
    std::terminate();
}

}  // namespace std
