// The tray icon's add / modify / delete sequence and the icon made from the tray icon data,
// watched through a recording tray shell.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/event_routing.h"
#include "tests/win32/tray/fake_tray_shell.h"
#include "tray/icon_directory.h"
#include "tray/icon_from_data.h"
#include "tray/tray_icon.h"

namespace tovrelle {
namespace {

using Seq = std::vector<std::string>;

std::span<const std::uint8_t> data() {
    return tray_icon_data(GetModuleHandleW(nullptr));
}

std::vector<BYTE> image_bytes(std::span<const std::uint8_t> file, int width) {
    const std::optional<IconImage> image = select_icon_image(file, width);
    return image ? std::vector<BYTE>(image->bytes.begin(), image->bytes.end())
                 : std::vector<BYTE>();
}

class TrayIconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        ASSERT_FALSE(data().empty());
    }
    void TearDown() override {
        tray.reset();
        // Every icon handle made was destroyed once, none twice.
        EXPECT_TRUE(shell.live.empty());
        EXPECT_EQ(shell.bad_destroys, 0);
        DestroyWindow(owner);
    }

    // The fields every add and modify carries.
    void expect_full_record(const test::ShellCall& call, HICON icon) {
        EXPECT_EQ(call.data.cbSize, kNotifyIconDataSize);
        EXPECT_EQ(call.data.hWnd, owner);
        EXPECT_EQ(call.data.uID, 100u);
        EXPECT_EQ(call.data.uFlags,
                  static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP));
        EXPECT_EQ(call.data.uCallbackMessage, kTrayCallbackMessage);
        EXPECT_EQ(call.data.hIcon, icon);
    }

    // The icon asks for version 4, so that a choice by keyboard reaches the window.
    void expect_version_record(const test::ShellCall& call) {
        EXPECT_EQ(call.what, "set_version");
        EXPECT_EQ(call.data.cbSize, kNotifyIconDataSize);
        EXPECT_EQ(call.data.hWnd, owner);
        EXPECT_EQ(call.data.uID, 100u);
        EXPECT_EQ(call.data.uVersion, static_cast<UINT>(NOTIFYICON_VERSION_4));
    }

    test::FakeTrayShell shell;
    HWND owner = nullptr;
    std::optional<TrayIcon> tray;
};

TEST_F(TrayIconTest, SetTwiceAddsThenModifiesTheOneIcon) {
    tray.emplace(owner, shell);
    tray->set(data(), L"甲");
    ASSERT_TRUE(tray->registered());
    const HICON first = tray->icon();
    tray->set(data(), L"  将于22时0分0秒 关机");
    const HICON second = tray->icon();
    EXPECT_NE(first, second);

    // The replaced handle is destroyed only after the shell has the new one.
    EXPECT_EQ(shell.sequence(),
              (Seq{"create_ex", "add", "set_version", "create_ex", "modify", "destroy"}));
    const auto n = shell.notifications();
    expect_full_record(n[0], first);
    EXPECT_EQ(test::tip_of(n[0].data), L"甲");
    expect_full_record(n[1], second);
    EXPECT_EQ(test::tip_of(n[1].data), L"  将于22时0分0秒 关机");
    expect_version_record(shell.calls[2]);
    EXPECT_EQ(shell.calls.back().icon, first);
    EXPECT_EQ(shell.live.count(second), 1u);
}

TEST_F(TrayIconTest, DataWithoutAnIconDeletesTheRegisteredOne) {
    tray.emplace(owner, shell);
    // Nothing registered yet: no icon, no call.
    tray->set({}, L"甲");
    tray->remove();
    EXPECT_TRUE(shell.calls.empty());

    const std::vector<std::uint8_t> damaged = {0, 0, 7, 0, 1, 0};
    for (const std::span<const std::uint8_t> no_icon :
         {std::span<const std::uint8_t>(), std::span<const std::uint8_t>(damaged)}) {
        tray->set(data(), L"甲");
        const HICON icon = tray->icon();
        shell.clear();
        tray->set(no_icon, L"乙");
        EXPECT_EQ(shell.sequence(), (Seq{"delete", "destroy"}));
        const NOTIFYICONDATAW& d = shell.calls[0].data;
        EXPECT_EQ(d.cbSize, kNotifyIconDataSize);
        EXPECT_EQ(d.hWnd, owner);
        EXPECT_EQ(d.uID, 100u);
        EXPECT_EQ(d.uFlags, 0u);
        EXPECT_EQ(d.hIcon, nullptr);
        EXPECT_EQ(shell.calls[1].icon, icon);
        EXPECT_FALSE(tray->registered());
        shell.clear();
    }
}

TEST_F(TrayIconTest, LeavingScopeRemovesTheIcon) {
    {
        TrayIcon scoped(owner, shell);
        scoped.set(data(), L"甲");
        shell.clear();
    }
    EXPECT_EQ(shell.sequence(), (Seq{"delete", "destroy"}));
}

TEST_F(TrayIconTest, TooltipIsCutToTheRecordsBufferNeverOverrun) {
    struct Case {
        const char* name;
        std::optional<std::wstring> tooltip;
        std::wstring expected;
    };
    std::wstring pair_at_the_cut(200, L'机');
    pair_at_the_cut[126] = static_cast<wchar_t>(0xD83D);
    pair_at_the_cut[127] = static_cast<wchar_t>(0xDE00);
    const Case cases[] = {
        {"none", std::nullopt, L""},
        {"empty", L"", L""},
        {"fits", std::wstring(127, L'关'), std::wstring(127, L'关')},
        {"one_too_long", std::wstring(128, L'关'), std::wstring(127, L'关')},
        {"far_too_long", std::wstring(5000, L'关'), std::wstring(127, L'关')},
        {"pair_at_the_cut", pair_at_the_cut, std::wstring(126, L'机')},
    };
    tray.emplace(owner, shell);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shell.clear();
        tray->set(data(), c.tooltip ? std::optional<std::wstring_view>(*c.tooltip) : std::nullopt);
        const NOTIFYICONDATAW& d = shell.notifications().at(0).data;
        EXPECT_EQ(test::tip_of(d), c.expected);
        EXPECT_EQ(tray->tooltip(), c.expected);
        // Zero from the end of the text to the end of the buffer.
        for (std::size_t i = c.expected.size(); i < std::size(d.szTip); ++i) {
            ASSERT_EQ(d.szTip[i], L'\0') << i;
        }
    }
}

TEST_F(TrayIconTest, TooltipUpdateReachesARegisteredIconOnly) {
    tray.emplace(owner, shell);
    tray->update_tooltip(L"甲");
    EXPECT_TRUE(shell.calls.empty());

    tray->set(data(), L"甲");
    const HICON icon = tray->icon();
    shell.clear();
    tray->update_tooltip(L"  将于6时5分4秒 重启");
    ASSERT_EQ(shell.sequence(), Seq{"modify"});
    const NOTIFYICONDATAW& d = shell.calls[0].data;
    EXPECT_EQ(d.uID, 100u);
    EXPECT_EQ(d.hWnd, owner);
    EXPECT_EQ(d.uFlags, static_cast<UINT>(NIF_TIP | NIF_SHOWTIP));
    EXPECT_EQ(test::tip_of(d), L"  将于6时5分4秒 重启");
    EXPECT_EQ(tray->icon(), icon);
}

TEST_F(TrayIconTest, RestoreAddsAgainOrModifiesWhenTheShellStillHasIt) {
    struct Case {
        const char* name;
        bool add_refused;
        Seq expected;
    };
    const Case cases[] = {
        {"shell_lost_it", false, {"add", "set_version"}},
        {"shell_still_has_it", true, {"add", "modify", "set_version"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tray.emplace(owner, shell);
        tray->restore();  // nothing registered, nothing to restore
        EXPECT_TRUE(shell.calls.empty());
        tray->set(data(), L"甲");
        tray->update_tooltip(L"乙");
        shell.clear();
        if (c.add_refused) {
            shell.refused.insert(NIM_ADD);
        }
        tray->restore();
        EXPECT_EQ(shell.sequence(), c.expected);
        for (const test::ShellCall& call : shell.notifications()) {
            expect_full_record(call, tray->icon());
            EXPECT_EQ(test::tip_of(call.data), L"乙");
        }
        expect_version_record(shell.calls.back());
        shell.refused.clear();
        tray.reset();
        shell.clear();
    }
}

TEST_F(TrayIconTest, RefusedAddStillCountsAsRegistered) {
    shell.refused.insert(NIM_ADD);
    tray.emplace(owner, shell);
    tray->set(data(), L"甲");
    EXPECT_TRUE(tray->registered());
    tray->set(data(), L"乙");
    EXPECT_EQ(shell.sequence(),
              (Seq{"create_ex", "add", "set_version", "create_ex", "modify", "destroy"}));
}

// ---- the icon from the data ----

class IconFromDataTest : public ::testing::Test {
  protected:
    void TearDown() override {
        icon.reset();
        EXPECT_TRUE(shell.live.empty());
        EXPECT_EQ(shell.bad_destroys, 0);
    }
    test::FakeTrayShell shell;
    UniqueTrayIcon icon;
};

TEST_F(IconFromDataTest, TrayIconDataGivesThe16PixelImage) {
    icon = icon_from_data(shell, data());
    ASSERT_TRUE(icon);
    ASSERT_EQ(shell.sequence(), Seq{"create_ex"});
    const test::ShellCall& c = shell.calls[0];
    EXPECT_EQ(c.bits, image_bytes(data(), 16));
    EXPECT_EQ(c.bits.size(), 296u);  // entry 4: 16 by 16 at 4 bits per pixel, with its mask
    EXPECT_EQ(c.version, 0x00030000u);
    EXPECT_EQ(c.width, 16);
    EXPECT_EQ(c.height, 16);
    EXPECT_EQ(c.flags, static_cast<UINT>(LR_DEFAULTCOLOR));

    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, 16);
    EXPECT_EQ(colour.bmHeight, 16);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(IconFromDataTest, FallbacksInOrder) {
    // The 16-pixel image patched to claim 16 bits per pixel: no second try with the plain call.
    std::vector<std::uint8_t> sixteen_bits(data().begin(), data().end());
    const std::size_t header =
        static_cast<std::size_t>(select_icon_image(data(), 16)->bytes.data() - data().data());
    sixteen_bits[header + 14] = 16;

    struct Case {
        const char* name;
        std::span<const std::uint8_t> file;
        std::set<int> failing_ex_widths;
        bool plain_fails;
        Seq expected;
        int made_from_width;  // 0: no icon
    };
    const Case cases[] = {
        {"ex_works", data(), {}, false, {"create_ex"}, 16},
        {"plain_call_after_ex", data(), {16}, false, {"create_ex", "create"}, 16},
        {"second_pass_32", data(), {16}, true, {"create_ex", "create", "create_ex"}, 32},
        {"nothing_works",
         data(),
         {16, 32},
         true,
         {"create_ex", "create", "create_ex", "create"},
         0},
        {"sixteen_bits_no_plain_call",
         sixteen_bits,
         {16, 32},
         false,
         {"create_ex", "create_ex", "create"},
         32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shell.clear();
        shell.failing_ex_widths = c.failing_ex_widths;
        shell.plain_creation_fails = c.plain_fails;
        icon = icon_from_data(shell, c.file);
        EXPECT_EQ(shell.sequence(), c.expected);
        EXPECT_EQ(icon.valid(), c.made_from_width != 0);
        if (c.made_from_width != 0) {
            EXPECT_EQ(shell.calls.back().bits, image_bytes(c.file, c.made_from_width));
            EXPECT_EQ(shell.calls.back().icon, icon.get());
        }
        icon.reset();
    }
}

TEST_F(IconFromDataTest, DamagedDataCallsNothing) {
    const std::vector<std::uint8_t> header_only = {0, 0, 1, 0, 1, 0};
    std::vector<std::uint8_t> offset_beyond(data().begin(), data().end());
    for (std::size_t entry = 0; entry < 12; ++entry) {
        offset_beyond[6 + 16 * entry + 15] = 0x7F;
    }
    for (const std::span<const std::uint8_t> bad :
         {std::span<const std::uint8_t>(), std::span<const std::uint8_t>(header_only),
          std::span<const std::uint8_t>(offset_beyond), data().first(100)}) {
        shell.clear();
        EXPECT_FALSE(icon_from_data(shell, bad));
        EXPECT_TRUE(shell.calls.empty());
    }
}

TEST(TrayIconRealShell, IconFromTheCarriedDataIsARealIcon) {
    // The real calls: a real icon handle, destroyed by its owner.
    UniqueTrayIcon icon = icon_from_data(windows_tray_shell(), data());
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    EXPECT_TRUE(info.fIcon);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

}  // namespace
}  // namespace tovrelle
