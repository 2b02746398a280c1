// probe.exe: looks at a running Tovrelle from outside, the way another program on the same
// desktop could, and prints what it finds (UTF-8, one answer per line). The end-to-end tests
// run it under Wine beside the program they drive.
//
//   probe window                       hwnd left top width height visible   of the main window
//   probe text <number>                window text of the control with that number
//   probe rect <number>                left top width height of that control, in screen pixels
//   probe focus                        number of the focused control (needs the window's thread)
//   probe post <msg> <wparam> <lparam> posts a message to the main window
//   probe box <title>                  the text of a message box with that title, if one is open
//   probe press <title> <button id>    presses a button of that message box
//   probe menu                         left top width height of an open popup menu
//   probe count                        how many main windows exist, shown or hidden
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const wchar_t* kMainClass = L"TovrelleMainWindow";

void print(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n,
                        nullptr, nullptr);
    utf8.push_back('\n');
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &written, nullptr);
}

// Asked of the window itself (WM_GETTEXT), not the caption Windows keeps for it: an edit box
// of another process holds what was typed only in the control.
std::wstring text_of(HWND h) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(static_cast<std::size_t>(got));
    return text;
}

struct Search {
    int number;
    HWND found;
};

BOOL CALLBACK find_number(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    if (GetDlgCtrlID(h) == s->number) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND control(HWND main, int number) {
    Search s{number, nullptr};
    EnumChildWindows(main, find_number, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring rect_text(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
           std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top);
}

HWND message_box(const wchar_t* title) {
    return FindWindowW(L"#32770", title);
}

struct BoxText {
    std::wstring text;
};

BOOL CALLBACK collect_static(HWND h, LPARAM lp) {
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0) {
        std::wstring t = text_of(h);
        if (!t.empty()) {
            reinterpret_cast<BoxText*>(lp)->text += t;
        }
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return 2;
    }
    // Screen pixels as they are, not scaled for a program that knows nothing of display scaling.
    using SetAware = BOOL(WINAPI*)();
    if (auto aware = reinterpret_cast<SetAware>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware")))) {
        aware();
    }
    const std::wstring command = argv[1];
    HWND main = FindWindowW(kMainClass, nullptr);
    if (command == L"window") {
        if (main == nullptr) {
            return 1;
        }
        wchar_t handle[32];
        wsprintfW(handle, L"%u", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(main)));
        print(std::wstring(handle) + L" " + rect_text(main) + L" " +
              (IsWindowVisible(main) ? L"1" : L"0"));
        return 0;
    }
    if ((command == L"text" || command == L"rect") && argc >= 3) {
        HWND h = main != nullptr ? control(main, _wtoi(argv[2])) : nullptr;
        if (h == nullptr) {
            return 1;
        }
        print(command == L"text" ? text_of(h) : rect_text(h));
        return 0;
    }
    if (command == L"post" && argc >= 5) {
        if (main == nullptr) {
            return 1;
        }
        return PostMessageW(main, static_cast<UINT>(wcstoul(argv[2], nullptr, 0)),
                            static_cast<WPARAM>(wcstoul(argv[3], nullptr, 0)),
                            static_cast<LPARAM>(wcstoul(argv[4], nullptr, 0)))
                   ? 0
                   : 1;
    }
    if (command == L"box" && argc >= 3) {
        HWND box = message_box(argv[2]);
        if (box == nullptr) {
            return 1;
        }
        BoxText t;
        EnumChildWindows(box, collect_static, reinterpret_cast<LPARAM>(&t));
        print(t.text);
        return 0;
    }
    if (command == L"press" && argc >= 4) {
        HWND box = message_box(argv[2]);
        HWND button = box != nullptr ? GetDlgItem(box, _wtoi(argv[3])) : nullptr;
        if (button == nullptr) {
            return 1;
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(_wtoi(argv[3]), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return 0;
    }
    if (command == L"count") {
        int count = 0;
        for (HWND h = FindWindowExW(nullptr, nullptr, kMainClass, nullptr); h != nullptr;
             h = FindWindowExW(nullptr, h, kMainClass, nullptr)) {
            ++count;
        }
        print(std::to_wstring(count));
        return 0;
    }
    if (command == L"menu") {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu == nullptr || !IsWindowVisible(menu)) {
            return 1;
        }
        print(rect_text(menu));
        return 0;
    }
    return 2;
}
