#pragma once

namespace tovrelle {
class Program;
class NoticeBox;
class TrayShell;

// The context menu, hidden mode and the tray icon, working through notices and shell
// (windows_notice_box and windows_tray_shell for the program).
void wire_hidden_mode(Program& program, NoticeBox& notices, TrayShell& shell);

// The exit item of the context menu: ends the program with exit code 0.
[[noreturn]] void end_from_exit_item(Program& program);
}  // namespace tovrelle
