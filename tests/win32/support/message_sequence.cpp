#include "tests/win32/support/message_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace tovrelle::test {
namespace {

// Where a watched window keeps its entry while the recorder's procedure is in place.
constexpr const wchar_t* kWatchProperty = L"TovrelleTestRecorder";

// Messages Windows and Wine send on their own, at moments no test controls (as Wine's tests
// leave them out): the pointer's position, timers, and questions about icons and objects.
// clang-format off
const UINT kNoise[] = {
    WM_GETICON, WM_GETOBJECT, WM_TIMECHANGE, WM_DEVICECHANGE, WM_NCHITTEST, WM_SETCURSOR,
    WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_MOUSELEAVE, WM_NCMOUSELEAVE, WM_TIMER, 0x0118 /* system timer */,
    WM_IME_SETCONTEXT, WM_IME_NOTIFY, WM_ENTERIDLE,
};

struct MessageName {
    UINT message;
    const char* name;
};
const MessageName kNames[] = {
    {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"}, {WM_NCDESTROY, "WM_NCDESTROY"},
    {WM_MOVE, "WM_MOVE"}, {WM_SIZE, "WM_SIZE"}, {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_ENABLE, "WM_ENABLE"},
    {WM_SETTEXT, "WM_SETTEXT"}, {WM_GETTEXT, "WM_GETTEXT"}, {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
    {WM_PAINT, "WM_PAINT"}, {WM_CLOSE, "WM_CLOSE"}, {WM_QUERYENDSESSION, "WM_QUERYENDSESSION"},
    {WM_ENDSESSION, "WM_ENDSESSION"}, {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW"}, {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
    {WM_SETFONT, "WM_SETFONT"}, {WM_GETFONT, "WM_GETFONT"},
    {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"}, {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_NOTIFY, "WM_NOTIFY"}, {WM_NCCALCSIZE, "WM_NCCALCSIZE"}, {WM_NCPAINT, "WM_NCPAINT"},
    {WM_NCACTIVATE, "WM_NCACTIVATE"}, {WM_GETDLGCODE, "WM_GETDLGCODE"},
    {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"},
    {WM_COMMAND, "WM_COMMAND"}, {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"}, {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
    {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"}, {WM_CHANGEUISTATE, "WM_CHANGEUISTATE"},
    {WM_UPDATEUISTATE, "WM_UPDATEUISTATE"}, {WM_QUERYUISTATE, "WM_QUERYUISTATE"},
    {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"}, {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
    {EM_GETSEL, "EM_GETSEL"}, {EM_SETSEL, "EM_SETSEL"}, {EM_GETMODIFY, "EM_GETMODIFY"},
    {EM_SETMODIFY, "EM_SETMODIFY"}, {EM_GETLINECOUNT, "EM_GETLINECOUNT"},
    {BM_GETCHECK, "BM_GETCHECK"}, {BM_SETCHECK, "BM_SETCHECK"}, {BM_GETSTATE, "BM_GETSTATE"},
    {BM_SETSTATE, "BM_SETSTATE"}, {BM_SETSTYLE, "BM_SETSTYLE"}, {BM_CLICK, "BM_CLICK"},
};

struct NotifyName {
    UINT code;
    const char* name;
};
const NotifyName kEditNotifications[] = {
    {EN_SETFOCUS, "EN_SETFOCUS"}, {EN_KILLFOCUS, "EN_KILLFOCUS"}, {EN_CHANGE, "EN_CHANGE"},
    {EN_UPDATE, "EN_UPDATE"},
};
// clang-format on

// UTF-8, so that the names of the windows read as they are written.
std::string narrow(const std::wstring& w) {
    std::string s;
    for (std::size_t i = 0; i < w.size(); ++i) {
        unsigned long c = w[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < w.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned long>(w[++i]) - 0xDC00);
        }
        if (c < 0x80) {
            s += static_cast<char>(c);
        } else if (c < 0x800) {
            s += static_cast<char>(0xC0 | (c >> 6));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            s += static_cast<char>(0xE0 | (c >> 12));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (c >> 18));
            s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return s;
}

std::string hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%lX", value);
    return text;
}

std::string command_detail(WPARAM wp) {
    for (const NotifyName& n : kEditNotifications) {
        if (HIWORD(wp) == n.code) {
            return std::string(" ") + n.name;
        }
    }
    return " code " + hex(HIWORD(wp));
}

}  // namespace

struct MessageRecorder::Watched {
    MessageRecorder* recorder;
    HWND hwnd;
    WNDPROC next;
    std::wstring name;
};

MessageRecorder::MessageRecorder() : ignored_(std::begin(kNoise), std::end(kNoise)) {}

MessageRecorder::~MessageRecorder() {
    for (Watched* w : watched_) {
        if (IsWindow(w->hwnd) && GetPropW(w->hwnd, kWatchProperty) == w) {
            RemovePropW(w->hwnd, kWatchProperty);
            if (GetWindowLongPtrW(w->hwnd, GWLP_WNDPROC) ==
                reinterpret_cast<LONG_PTR>(&MessageRecorder::procedure)) {
                SetWindowLongPtrW(w->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w->next));
            }
            // Under a procedure installed later the entry must outlive the recorder: that
            // procedure still calls ours, which then only hands on.
            else {
                w->recorder = nullptr;
                SetPropW(w->hwnd, kWatchProperty, w);
                continue;
            }
        }
        delete w;
    }
}

bool MessageRecorder::watch(HWND hwnd, std::wstring name) {
    if (!IsWindow(hwnd) || GetPropW(hwnd, kWatchProperty) != nullptr) {
        return false;
    }
    auto* w = new Watched{this, hwnd, nullptr, std::move(name)};
    w->next = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    SetPropW(hwnd, kWatchProperty, w);
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageRecorder::procedure));
    watched_.push_back(w);
    return true;
}

void MessageRecorder::mark(UINT code, std::wstring name) {
    marks_.emplace_back(kMarkBase + code, std::move(name));
    Received r;
    r.message = kMarkBase + code;
    r.answered = true;
    log_.push_back(r);
}

LRESULT CALLBACK MessageRecorder::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* w = static_cast<Watched*>(GetPropW(hwnd, kWatchProperty));
    if (w == nullptr) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    const WNDPROC next = w->next;
    MessageRecorder* recorder = w->recorder;
    std::size_t entry = 0;
    const bool logged = recorder != nullptr && recorder->ignored_.count(msg) == 0;
    if (logged) {
        Received r;
        r.hwnd = hwnd;
        r.message = msg;
        r.wp = wp;
        r.lp = lp;
        if (msg == WM_SETTEXT && lp != 0) {
            r.text = reinterpret_cast<const wchar_t*>(lp);
        }
        entry = recorder->log_.size();
        recorder->log_.push_back(std::move(r));
    }
    if (msg == WM_NCDESTROY) {
        // The window's last message: the recorder steps out of its way.
        RemovePropW(hwnd, kWatchProperty);
        if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) ==
            reinterpret_cast<LONG_PTR>(&MessageRecorder::procedure)) {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
        }
        if (recorder == nullptr) {
            delete w;
        } else {
            w->hwnd = nullptr;
        }
    }
    const LRESULT result = CallWindowProcW(next, hwnd, msg, wp, lp);
    if (logged) {
        recorder->log_[entry].result = result;
        recorder->log_[entry].answered = true;
    }
    return result;
}

std::string MessageRecorder::name_of(HWND hwnd, UINT message) const {
    if (message >= kMarkBase) {
        for (const auto& m : marks_) {
            if (m.first == message) {
                return "mark " + narrow(m.second);
            }
        }
        return "mark " + hex(message - kMarkBase);
    }
    std::string window = "window " + hex(reinterpret_cast<unsigned long>(hwnd));
    for (const Watched* w : watched_) {
        if (w->hwnd == hwnd) {
            window = narrow(w->name);
        }
    }
    std::string name = hex(message);
    for (const MessageName& n : kNames) {
        if (n.message == message) {
            name = n.name;
        }
    }
    return window + " " + name;
}

std::string MessageRecorder::describe(const Received& r) const {
    std::string s = name_of(r.hwnd, r.message);
    if (r.message >= kMarkBase) {
        return s;
    }
    s += " wp " + hex(r.wp) + " lp " + hex(static_cast<unsigned long>(r.lp));
    if (r.message == WM_COMMAND) {
        s += command_detail(r.wp);
    }
    if (r.message == WM_SETTEXT) {
        s += " \"" + narrow(r.text) + "\"";
    }
    s += r.answered ? " -> " + hex(static_cast<unsigned long>(r.result)) : " (not answered)";
    return s;
}

std::string MessageRecorder::describe(const Expected& e) const {
    std::string s = name_of(e.hwnd, e.message);
    if (e.message >= kMarkBase) {
        return s + ((e.checks & kOptional) != 0 ? " (optional)" : "");
    }
    if ((e.checks & kWparam) != 0) {
        s += " wp " + hex(e.wp);
    }
    if ((e.checks & kNotifyCode) != 0) {
        s += command_detail(e.wp);
    }
    if ((e.checks & kLparam) != 0) {
        s += " lp " + hex(static_cast<unsigned long>(e.lp));
    }
    if ((e.checks & kText) != 0) {
        s += " \"" + narrow(e.text != nullptr ? e.text : L"") + "\"";
    }
    if ((e.checks & kResult) != 0) {
        s += " -> " + hex(static_cast<unsigned long>(e.result));
    }
    if ((e.checks & kOptional) != 0) {
        s += " (optional)";
    }
    return s;
}

namespace {

bool same_message(const Expected& e, const Received& r) {
    return e.message == r.message && (e.message >= kMarkBase || e.hwnd == r.hwnd);
}

// What differs besides the window and the message; empty when nothing does.
std::string differences(const Expected& e, const Received& r) {
    std::string d;
    if ((e.checks & kWparam) != 0 && e.wp != r.wp) {
        d += " wp is " + hex(r.wp) + ", not " + hex(e.wp) + ";";
    }
    if ((e.checks & kNotifyCode) != 0 && HIWORD(e.wp) != HIWORD(r.wp)) {
        d += " notification" + command_detail(r.wp) + ", not" + command_detail(e.wp) + ";";
    }
    if ((e.checks & kLparam) != 0 && e.lp != r.lp) {
        d += " lp is " + hex(static_cast<unsigned long>(r.lp)) + ", not " +
             hex(static_cast<unsigned long>(e.lp)) + ";";
    }
    if ((e.checks & kResult) != 0 && (!r.answered || e.result != r.result)) {
        d += r.answered ? " answered " + hex(static_cast<unsigned long>(r.result)) + ", not " +
                              hex(static_cast<unsigned long>(e.result)) + ";"
                        : " never answered;";
    }
    if ((e.checks & kText) != 0 && r.text != (e.text != nullptr ? e.text : L"")) {
        d += " text is \"" + narrow(r.text) + "\";";
    }
    return d;
}

}  // namespace

bool ok_sequence(const MessageRecorder& recorder, const std::vector<Expected>& expected,
                 const char* context, const char* file, int line) {
    const std::vector<Received>& log = recorder.log();
    std::ostringstream faults;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < expected.size() && j < log.size()) {
        const Expected& e = expected[i];
        const Received& r = log[j];
        if (same_message(e, r)) {
            const std::string d = differences(e, r);
            if (!d.empty()) {
                faults << "  at " << j << ": " << recorder.describe(r) << ":" << d << "\n";
            }
            ++i;
            ++j;
        } else if ((e.checks & kOptional) != 0) {
            ++i;
        } else {
            faults << "  at " << j << ": expected " << recorder.describe(e) << ", got "
                   << recorder.describe(r) << "\n";
            ++i;
            ++j;
        }
    }
    for (; i < expected.size(); ++i) {
        if ((expected[i].checks & kOptional) == 0) {
            faults << "  missing at the end: " << recorder.describe(expected[i]) << "\n";
        }
    }
    for (; j < log.size(); ++j) {
        faults << "  at " << j << ": unexpected " << recorder.describe(log[j]) << "\n";
    }
    if (faults.str().empty()) {
        return true;
    }
    std::ostringstream report;
    report << context << ": the message sequence differs\n" << faults.str() << "expected:\n";
    for (const Expected& e : expected) {
        report << "  " << recorder.describe(e) << "\n";
    }
    report << "received:\n";
    for (std::size_t k = 0; k < log.size(); ++k) {
        report << "  " << k << ": " << recorder.describe(log[k]) << "\n";
    }
    ADD_FAILURE_AT(file, line) << report.str();
    return false;
}

}  // namespace tovrelle::test
