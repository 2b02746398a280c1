#include "tray/icon_from_data.h"

#include <vector>

#include "base/win_dpi.h"
#include "base/carried_data.h"
#include "resources/resource_ids.h"
#include "tray/icon_directory.h"

namespace tovrelle {
namespace {

constexpr DWORD kIconFormatVersion = 0x00030000;
constexpr int kSecondPassWidth = 32;

UniqueTrayIcon icon_from_image(TrayShell& shell, const IconImage& image) {
    // The creation calls take a writable pointer; they get a copy rather than the
    // read-only resource memory.
    std::vector<BYTE> bits(image.bytes.begin(), image.bytes.end());
    const auto size = static_cast<DWORD>(bits.size());
    UniqueTrayIcon icon(ShellIcon{shell.create_icon_ex(bits.data(), size, TRUE, kIconFormatVersion,
                                                       image.width, image.height, LR_DEFAULTCOLOR),
                                  &shell});
    if (!icon && image.bits_per_pixel != 16) {
        icon.reset(
            ShellIcon{shell.create_icon(bits.data(), size, TRUE, kIconFormatVersion), &shell});
    }
    return icon;
}

}  // namespace

UniqueTrayIcon icon_from_data(TrayShell& shell, std::span<const std::uint8_t> data, int width) {
    for (const int pass : {width, kSecondPassWidth}) {
        if (const std::optional<IconImage> image = select_icon_image(data, pass)) {
            if (UniqueTrayIcon icon = icon_from_image(shell, *image)) {
                return icon;
            }
        }
    }
    return {};
}

int tray_icon_width(HWND owner) {
    return system_metric_for_dpi(SM_CXSMICON, window_dpi(owner));
}

std::span<const std::uint8_t> tray_icon_data(HINSTANCE instance) {
    return carried_data(instance, IDR_TRAY_ICON_DATA);
}

}  // namespace tovrelle
