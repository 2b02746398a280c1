#include "tray/icon_from_data.h"

#include <vector>

#include "base/win_dpi.h"
#include "resources/resource_ids.h"
#include "tray/icon_directory.h"

namespace tovrelle {
namespace {

constexpr DWORD kIconFormatVersion = 0x00030000;
constexpr int kSecondPassWidth = 32;

UniqueTrayIcon icon_from_image(const IconImage& image) {
    // The creation calls take a writable pointer; they get a copy rather than the
    // read-only resource memory.
    std::vector<BYTE> bits(image.bytes.begin(), image.bytes.end());
    const auto size = static_cast<DWORD>(bits.size());
    const TrayShell& shell = tray_shell();
    UniqueTrayIcon icon(shell.create_icon_ex(bits.data(), size, TRUE, kIconFormatVersion,
                                             image.width, image.height, LR_DEFAULTCOLOR));
    if (!icon && image.bits_per_pixel != 16) {
        icon.reset(shell.create_icon(bits.data(), size, TRUE, kIconFormatVersion));
    }
    return icon;
}

}  // namespace

UniqueTrayIcon icon_from_data(std::span<const std::uint8_t> data, int width) {
    for (const int pass : {width, kSecondPassWidth}) {
        if (const std::optional<IconImage> image = select_icon_image(data, pass)) {
            if (UniqueTrayIcon icon = icon_from_image(*image)) {
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
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_TRAY_ICON_DATA), RT_RCDATA);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(instance, found);
    const DWORD size = SizeofResource(instance, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) {
        return {};
    }
    // Resource memory lives as long as the module; nothing to release.
    return {static_cast<const std::uint8_t*>(bytes), size};
}

}  // namespace tovrelle
