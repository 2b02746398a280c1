// Message sequences, checked the way Wine's own user32 and comctl32 tests check them: a
// recorder replaces the window procedure of the windows it watches, logs each message on its
// way in (and the answer on its way out), and hands it on; a table of expected messages is
// then compared with the log in order. Entries of the table may be optional, noise messages
// are left out of the log, and a failure is reported at the line of the test that compared.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace tovrelle::test {

// One message as a watched window received it, or a mark the test put between them.
struct Received {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wp = 0;
    LPARAM lp = 0;
    LRESULT result = 0;
    bool answered = false;  // the procedure has returned (result holds its answer)
    std::wstring text;      // WM_SETTEXT: the text that was set
};

// What an entry of an expected table compares besides the window and the message.
enum Check : unsigned {
    kWparam = 1u << 0,      // wp equals
    kLparam = 1u << 1,      // lp equals
    kNotifyCode = 1u << 2,  // HIWORD(wp) equals HIWORD(expected wp): WM_COMMAND notifications
    kResult = 1u << 3,      // the procedure answered result
    kText = 1u << 4,        // WM_SETTEXT set exactly text
    kOptional = 1u << 5,    // may be missing from the log
};

// A test's own event in the log, e.g. "the handler ran"; its message number lies above every
// window message so it cannot be mistaken for one.
constexpr UINT kMarkBase = 0x7FFF0000;

struct Expected {
    HWND hwnd;  // nullptr: a mark, which belongs to no window
    UINT message;
    unsigned checks = 0;
    WPARAM wp = 0;
    LPARAM lp = 0;
    LRESULT result = 0;
    const wchar_t* text = nullptr;
};

class MessageRecorder {
  public:
    MessageRecorder();
    // Puts back the procedures it replaced, where it is still on top.
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Starts logging the messages of a window under the given name (used in failure reports).
    // Whatever procedure the window has now runs after the recorder; a procedure put on the
    // window later runs before it, so a layer installed afterwards is seen from below.
    bool watch(HWND hwnd, std::wstring name);
    // Logs a test's own event between the messages.
    void mark(UINT code, std::wstring name);
    // Leaves a message out of the log from now on (beside the default noise).
    void ignore(UINT message) { ignored_.insert(message); }
    void clear() { log_.clear(); }

    [[nodiscard]] const std::vector<Received>& log() const { return log_; }
    [[nodiscard]] std::string describe(const Received& r) const;
    [[nodiscard]] std::string describe(const Expected& e) const;

  private:
    struct Watched;
    static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    [[nodiscard]] std::string name_of(HWND hwnd, UINT message) const;

    std::vector<Watched*> watched_;
    std::vector<std::pair<UINT, std::wstring>> marks_;
    std::set<UINT> ignored_;
    std::vector<Received> log_;
};

// Compares the recorder's log with the table in order and reports every difference as one
// failure at file:line, with the whole log beside the table. Returns whether they matched.
bool ok_sequence(const MessageRecorder& recorder, const std::vector<Expected>& expected,
                 const char* context, const char* file, int line);

}  // namespace tovrelle::test

// The caller's line is the one reported.
#define EXPECT_SEQUENCE(recorder, expected, context) \
    ::tovrelle::test::ok_sequence((recorder), (expected), (context), __FILE__, __LINE__)
