// Numbers of the resources the executable carries (shared by the .rc and the code).
#pragma once

#define IDR_TRAY_ICON_DATA 101
#define IDR_SKIN_DATA 102
