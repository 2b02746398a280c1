#include "appearance/theming.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "appearance/theming_paint.h"
#include "base/parent_brush.h"
#include "base/win_handles.h"

namespace tovrelle::theming {
namespace {

LRESULT CALLBACK layer_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Plain global state of the thread that switched the layer on; every access happens on that
// thread, inside window procedures and the hook.
struct Layer {
    int scheme = 1;
    UniqueHook hook;
    std::unique_ptr<Record> taken_over;  // newest first
    // Controls given back while another procedure had been put on top of ours: ours cannot be
    // taken out of the middle of the chain, so it stays and hands every message to the
    // control's own procedure until the control is destroyed or taken over again.
    std::unique_ptr<Record> passed_through;
};

// Never destroyed: a control that outlives the static objects at the end of the process may
// still send its last messages through the layer.
Layer& layer() {
    static Layer* l = new Layer;
    return *l;
}

Record* find(const std::unique_ptr<Record>& head, HWND hwnd) {
    for (Record* r = head.get(); r != nullptr; r = r->next.get()) {
        if (r->hwnd == hwnd) {
            return r;
        }
    }
    return nullptr;
}

std::unique_ptr<Record> unlink(std::unique_ptr<Record>& head, HWND hwnd) {
    for (std::unique_ptr<Record>* link = &head; *link; link = &(*link)->next) {
        if ((*link)->hwnd == hwnd) {
            std::unique_ptr<Record> found = std::move(*link);
            *link = std::move(found->next);
            return found;
        }
    }
    return nullptr;
}

void push_front(std::unique_ptr<Record>& head, std::unique_ptr<Record> r) {
    r->next = std::move(head);
    head = std::move(r);
}

constexpr UINT kRedrawFlags = RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW;

std::wstring_view class_of(HWND hwnd, wchar_t (&buffer)[64]) {
    const int n = hwnd != nullptr ? GetClassNameW(hwnd, buffer, 64) : 0;
    return std::wstring_view(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

Classification classify_window(HWND hwnd) {
    wchar_t name[64];
    wchar_t parent[64];
    ControlFacts facts;
    facts.class_name = class_of(hwnd, name);
    facts.style = static_cast<std::uint32_t>(GetWindowLongW(hwnd, GWL_STYLE));
    facts.has_text = GetWindowTextLengthW(hwnd) > 0;
    facts.parent_class = class_of(GetParent(hwnd), parent);
    return classify(facts);
}

// The side on which an up-down control's buddy edit box joins it, if the box is taken over.
Side buddy_side(const Record& updown) {
    const Record* buddy =
        updown.buddy != nullptr ? find(layer().taken_over, updown.buddy) : nullptr;
    if (buddy == nullptr || buddy->kind != Kind::Edit) {
        return Side::None;
    }
    if ((updown.style_at_take_over & style::kUpDownAlignRight) != 0) {
        return Side::Right;
    }
    if ((updown.style_at_take_over & style::kUpDownAlignLeft) != 0) {
        return Side::Left;
    }
    return Side::None;
}

// The flags a control shows at the moment it is taken over.
void read_state(Record& r) {
    const auto style = static_cast<std::uint32_t>(GetWindowLongW(r.hwnd, GWL_STYLE));
    r.style_at_take_over = style;
    r.state = State{};
    r.state.disabled = (style & style::kDisabled) != 0;
    r.state.focused = GetFocus() == r.hwnd;
    r.hot_half = -1;
    switch (r.kind) {
        case Kind::Edit:
            r.state.read_only = (style & style::kEditReadOnly) != 0;
            break;
        case Kind::PushButton:
        case Kind::CheckBox:
        case Kind::RadioButton: {
            const std::uint32_t type = style & style::kButtonTypeMask;
            r.state.default_button = type == style::kDefPushButton;
            // Push-like check boxes and radio buttons are drawn as push buttons but keep their
            // checked state.
            if (type != style::kPushButton && type != style::kDefPushButton) {
                const LRESULT check = SendMessageW(r.hwnd, BM_GETCHECK, 0, 0);
                r.state.checked = check == BST_CHECKED;
                r.state.indeterminate = check == BST_INDETERMINATE;
            }
            break;
        }
        case Kind::ComboBox:
            r.combo_type = style & style::kComboTypeMask;
            break;
        case Kind::UpDown: {
            r.horizontal = (style & style::kUpDownHorz) != 0;
            r.buddy = reinterpret_cast<HWND>(SendMessageW(r.hwnd, UDM_GETBUDDY, 0, 0));
            r.buddy_side = buddy_side(r);
            break;
        }
        default:
            break;
    }
    r.parent_brush = GetSysColorBrush(COLOR_BTNFACE);
    r.brush_colour = GetSysColor(COLOR_BTNFACE);
    r.text_colour = GetSysColor(COLOR_BTNTEXT);
}

void take_over(HWND hwnd) {
    Layer& l = layer();
    if (find(l.taken_over, hwnd) != nullptr) {
        return;
    }
    const Classification c = classify_window(hwnd);
    if (!c.taken_over) {
        return;
    }
    std::unique_ptr<Record> r = unlink(l.passed_through, hwnd);
    const bool still_chained = r != nullptr;
    if (!still_chained) {
        r = std::make_unique<Record>();
        r->hwnd = hwnd;
    }
    r->kind = c.kind;
    read_state(*r);
    Record* added = r.get();
    push_front(l.taken_over, std::move(r));
    if (c.kind == Kind::Edit) {
        // An up-down control met before its buddy box now knows where the box joins it.
        for (Record* u = l.taken_over.get(); u != nullptr; u = u->next.get()) {
            if (u->kind == Kind::UpDown && u->buddy == hwnd) {
                u->buddy_side = buddy_side(*u);
            }
        }
    }
    if (!still_chained) {
        SetLastError(0);
        const LONG_PTR own =
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&layer_proc));
        if (own == 0 && GetLastError() != 0) {
            unlink(l.taken_over, hwnd);
            return;
        }
        added->own_procedure = reinterpret_cast<WNDPROC>(own);
    }
    RedrawWindow(hwnd, nullptr, nullptr, kRedrawFlags);
    if (added->kind == Kind::UpDown && added->buddy_side != Side::None) {
        RedrawWindow(added->buddy, nullptr, nullptr, kRedrawFlags);  // its white line
    }
}

void give_back(HWND hwnd, bool redraw) {
    Layer& l = layer();
    std::unique_ptr<Record> r = unlink(l.taken_over, hwnd);
    if (!r) {
        return;
    }
    if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&layer_proc)) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(r->own_procedure));
        r.reset();
    } else {
        push_front(l.passed_through, std::move(r));
    }
    if (redraw) {
        RedrawWindow(hwnd, nullptr, nullptr, kRedrawFlags);
    }
}

// Walks the thread's top-level windows and all their descendants.
template <typename Visit>
void walk_thread_windows(Visit visit) {
    struct Walk {
        static BOOL CALLBACK child(HWND hwnd, LPARAM lp) {
            (*reinterpret_cast<Visit*>(lp))(hwnd);
            return TRUE;
        }
        static BOOL CALLBACK top(HWND hwnd, LPARAM lp) {
            (*reinterpret_cast<Visit*>(lp))(hwnd);
            EnumChildWindows(hwnd, &Walk::child, lp);
            return TRUE;
        }
    };
    EnumThreadWindows(GetCurrentThreadId(), &Walk::top, reinterpret_cast<LPARAM>(&visit));
}

LRESULT CALLBACK hook_proc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (cwp->message == WM_CREATE) {
            take_over(cwp->hwnd);
        }
    }
    return CallNextHookEx(layer().hook.get(), code, wp, lp);
}

int switch_off() {
    Layer& l = layer();
    if (!l.hook) {
        return 0;
    }
    walk_thread_windows([](HWND hwnd) { give_back(hwnd, true); });
    // A control the walk cannot reach (a message-only parent) is given back all the same.
    while (l.taken_over) {
        give_back(l.taken_over->hwnd, true);
    }
    return UnhookWindowsHookEx(l.hook.release()) ? 1 : 0;
}

void paint_now(HWND hwnd) {
    Layer& l = layer();
    if (const Record* r = find(l.taken_over, hwnd)) {
        paint(*r, l.scheme, l.taken_over.get());
    }
}

// Asks the parent for the control's colours, the way a button asks before it paints.
void ask_parent_colours(Record& r) {
    WindowDc dc(r.hwnd);
    HBRUSH brush = parent_brush(r.hwnd, dc.get(), WM_CTLCOLORBTN, nullptr);
    LOGBRUSH lb{};
    if (brush != nullptr && GetObjectW(brush, sizeof(lb), &lb) == sizeof(lb)) {
        r.parent_brush = brush;
        r.brush_colour = lb.lbColor;
        r.text_colour = GetTextColor(dc.get());
    } else {
        r.parent_brush = GetSysColorBrush(COLOR_BTNFACE);
        r.brush_colour = GetSysColor(COLOR_BTNFACE);
        r.text_colour = GetSysColor(COLOR_BTNTEXT);
    }
}

// A window whose record was given back while our procedure lay under another one.
LRESULT pass_through(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Layer& l = layer();
    const Record* r = find(l.passed_through, hwnd);
    if (r == nullptr) {
        return 0;
    }
    const WNDPROC own = r->own_procedure;
    if (msg == WM_NCDESTROY) {
        unlink(l.passed_through, hwnd);
    }
    return CallWindowProcW(own, hwnd, msg, wp, lp);
}

// One message to a taken-over control, with the ways the layer answers it.
struct Message {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    WNDPROC own;

    // The control's own procedure.
    LRESULT call_own() const { return CallWindowProcW(own, hwnd, msg, wp, lp); }
    // The control's own procedure, then the layer's look over what it drew.
    LRESULT own_then_paint() const {
        const LRESULT result = call_own();
        paint_now(hwnd);
        return result;
    }
    // The default procedure, so that the control never paints its system look, then the
    // layer's look.
    LRESULT default_then_paint() const {
        const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
        paint_now(hwnd);
        return result;
    }
};

// The answer to a message, or nothing when the handling every kind shares is to give it.
using Answer = std::optional<LRESULT>;

// The control's end, and its background.
Answer life_message(Record& r, const Message& m) {
    switch (m.msg) {
        case WM_DESTROY: {
            const LRESULT result = m.call_own();
            give_back(m.hwnd, false);
            return result;
        }
        case WM_NCDESTROY:
            // Only when WM_DESTROY did not come through here.
            give_back(m.hwnd, false);
            return m.call_own();
        case WM_ERASEBKGND:
            ask_parent_colours(r);
            if (r.kind == Kind::UpDown) {
                return 1;  // it paints all of itself
            }
            return m.call_own();
        default:
            return std::nullopt;
    }
}

Answer button_message(Record& r, const Message& m) {
    switch (m.msg) {
        case WM_PAINT:
        case WM_SETTEXT:
            // The control's own procedure would paint its system look first: it never paints.
            return m.default_then_paint();
        case BM_SETCHECK:
            r.state.checked = m.wp == BST_CHECKED;
            r.state.indeterminate = m.wp == BST_INDETERMINATE;
            return m.own_then_paint();
        case BM_SETSTATE:
            r.state.pressed = m.wp != 0;
            return m.own_then_paint();
        case BM_SETSTYLE:
            r.state.default_button = (m.wp & style::kButtonTypeMask) == style::kDefPushButton;
            return m.own_then_paint();
        default:
            return std::nullopt;
    }
}

Answer edit_message(Record& r, const Message& m) {
    switch (m.msg) {
        case WM_PAINT:
        case WM_NCPAINT:
        case WM_HSCROLL:
        case WM_VSCROLL:
            return m.own_then_paint();
        case WM_NCMOUSEMOVE:
            r.state.hot = true;
            return m.default_then_paint();
        case EM_SETREADONLY: {
            const LRESULT result = m.call_own();
            // Looked up again: the record may be gone once the control's own procedure has run.
            if (Record* now = find(layer().taken_over, m.hwnd)) {
                now->state.read_only = m.wp != 0;
            }
            paint_now(m.hwnd);
            return result;
        }
        default:
            return std::nullopt;
    }
}

Answer combo_box_message(Record& r, const Message& m) {
    switch (m.msg) {
        case WM_PAINT:
        case WM_NCPAINT:
            return m.own_then_paint();
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            if (r.kind == Kind::ComboBox) {
                r.state.pressed = m.msg == WM_LBUTTONDOWN;
                return m.own_then_paint();
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

Answer up_down_message(Record& r, const Message& m) {
    switch (m.msg) {
        case WM_PAINT:
        case WM_NCPAINT:
            return m.default_then_paint();
        case WM_MOUSEMOVE: {
            RECT rc;
            GetClientRect(m.hwnd, &rc);
            const int half = updown_half(r.horizontal, rc.right, rc.bottom, GET_X_LPARAM(m.lp),
                                         GET_Y_LPARAM(m.lp));
            bool changed = half != r.hot_half;
            r.hot_half = half;
            if (!r.state.hot) {
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, m.hwnd, 0};
                TrackMouseEvent(&tme);
                r.state.hot = true;
                changed = true;
            }
            const LRESULT result = m.call_own();
            if (changed) {
                paint_now(m.hwnd);
            }
            return result;
        }
        case WM_LBUTTONDOWN:
            return m.call_own();
        default:
            return std::nullopt;
    }
}

Answer group_box_message(Record&, const Message& m) {
    switch (m.msg) {
        case WM_PAINT:
        case WM_NCPAINT:
            return m.default_then_paint();
        default:
            return std::nullopt;
    }
}

// Messages with a meaning of their own for one kind.
Answer kind_message(Record& r, const Message& m) {
    switch (r.kind) {
        case Kind::PushButton:
        case Kind::CheckBox:
        case Kind::RadioButton:
            return button_message(r, m);
        case Kind::Edit:
            return edit_message(r, m);
        case Kind::ComboBox:
        case Kind::DropDownList:
            return combo_box_message(r, m);
        case Kind::UpDown:
            return up_down_message(r, m);
        case Kind::GroupBox:
            return group_box_message(r, m);
        default:
            return std::nullopt;
    }
}

// Messages every kind answers the same way.
LRESULT common_message(Record& r, const Message& m) {
    switch (m.msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            r.state.focused = m.msg == WM_SETFOCUS;
            return m.own_then_paint();
        case WM_ENABLE:
            r.state.disabled = m.wp == FALSE;
            return m.own_then_paint();
        case WM_MOUSEMOVE:
            if (!r.state.hot && (m.wp & MK_LBUTTON) == 0) {
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, m.hwnd, 0};
                TrackMouseEvent(&tme);
                r.state.hot = true;
                return m.own_then_paint();
            }
            return m.call_own();
        case WM_MOUSELEAVE:
            if (r.state.hot) {
                r.state.hot = false;
                r.hot_half = -1;
                return m.own_then_paint();
            }
            return m.call_own();
        default:
            return m.call_own();
    }
}

LRESULT CALLBACK layer_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Record* r = find(layer().taken_over, hwnd);
    if (r == nullptr) {
        return pass_through(hwnd, msg, wp, lp);
    }
    const Message m{hwnd, msg, wp, lp, r->own_procedure};
    if (const Answer answer = life_message(*r, m)) {
        return *answer;
    }
    if (const Answer answer = kind_message(*r, m)) {
        return *answer;
    }
    return common_message(*r, m);
}

std::size_t count(const std::unique_ptr<Record>& head) {
    std::size_t n = 0;
    for (const Record* r = head.get(); r != nullptr; r = r->next.get()) {
        ++n;
    }
    return n;
}

}  // namespace

int set_scheme(int scheme) {
    if (scheme < 1 || scheme > 3) {
        return switch_off();
    }
    Layer& l = layer();
    l.scheme = scheme;
    switch_off();
    walk_thread_windows([](HWND hwnd) { take_over(hwnd); });
    // Without the hook, the controls already taken over keep the look; later ones do not.
    l.hook.reset(SetWindowsHookExW(WH_CALLWNDPROC, &hook_proc, nullptr, GetCurrentThreadId()));
    return 1;
}

int current_scheme() {
    return layer().scheme;
}

bool hook_installed() {
    return layer().hook.valid();
}

std::size_t taken_over_count() {
    return count(layer().taken_over);
}

std::size_t passed_through_count() {
    return count(layer().passed_through);
}

int records_of(HWND hwnd) {
    int n = 0;
    for (const Record* r = layer().taken_over.get(); r != nullptr; r = r->next.get()) {
        n += r->hwnd == hwnd ? 1 : 0;
    }
    return n;
}

std::optional<State> state_of(HWND hwnd) {
    if (const Record* r = find(layer().taken_over, hwnd)) {
        return r->state;
    }
    return std::nullopt;
}

Kind kind_of(HWND hwnd) {
    const Record* r = find(layer().taken_over, hwnd);
    return r != nullptr ? r->kind : Kind::None;
}

WNDPROC layer_procedure() {
    return &layer_proc;
}

WNDPROC own_procedure_of(HWND hwnd) {
    const Record* r = find(layer().taken_over, hwnd);
    return r != nullptr ? r->own_procedure : nullptr;
}

}  // namespace tovrelle::theming
