#pragma once

namespace tovrelle {
class Program;
class NoticeBox;

// The context menu, hidden mode and the tray icon; the hidden-mode notice goes to notices.
void wire_hidden_mode(Program& program, NoticeBox& notices);

// The exit item of the context menu: ends the program with exit code 0.
[[noreturn]] void end_from_exit_item(Program& program);
}  // namespace tovrelle
