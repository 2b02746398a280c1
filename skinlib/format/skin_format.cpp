#include "skinlib/format/skin_format.h"

#include <cstring>

namespace skinh {
namespace {

constexpr unsigned char kMagic[4] = {'.', 'S', 'H', 'E'};

// Reads little-endian numbers from a span the caller has already checked.
std::uint16_t u16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t u32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A COLORREF with anything in its top byte is a palette index or garbage, not a colour.
bool is_colour(std::uint32_t value) {
    return (value & 0xFF000000u) == 0;
}

ReadResult fail(Code code) {
    return ReadResult{code, {}};
}

}  // namespace

std::uint32_t crc32(const unsigned char* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

ReadResult read_skin(const unsigned char* data, int size) {
    if (data == nullptr || size < 0) {
        return fail(Code::kNoData);
    }
    const auto n = static_cast<std::size_t>(size);
    // As much of the magic as there is must match; a matching stub is only cut short.
    if (std::memcmp(data, kMagic, n < sizeof kMagic ? n : sizeof kMagic) != 0) {
        return fail(Code::kBadMagic);
    }
    if (n < 6) {
        return fail(Code::kTruncated);
    }
    if (u16(data + 4) != kVersion) {
        return fail(Code::kUnknownVersion);
    }
    if (n < kHeaderSize + kChecksumSize) {
        return fail(Code::kTruncated);
    }
    const std::uint32_t total = u32(data + 8);
    if (total < kHeaderSize + kChecksumSize) {
        return fail(Code::kWrongLength);
    }
    if (total > n) {
        return fail(Code::kTruncated);
    }
    if (total < n) {
        return fail(Code::kWrongLength);
    }
    const std::size_t body_end = n - kChecksumSize;
    if (crc32(data, body_end) != u32(data + body_end)) {
        return fail(Code::kBadChecksum);
    }

    ReadResult result{Code::kOk, {}};
    bool have_background = false;
    const std::uint16_t count = u16(data + 6);
    std::size_t at = kHeaderSize;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (body_end - at < 4) {
            return fail(Code::kBadRule);
        }
        const std::uint16_t kind = u16(data + at);
        const std::size_t length = u16(data + at + 2);
        at += 4;
        if (body_end - at < length) {
            return fail(Code::kBadRule);
        }
        const unsigned char* p = data + at;
        at += length;
        if (kind == kRuleBackground) {
            if (length != kBackgroundPayload || have_background || !is_colour(u32(p))) {
                return fail(Code::kBadRule);
            }
            result.skin.background = u32(p);
            have_background = true;
        } else if (kind == kRuleBand) {
            if (length != kBandPayload || result.skin.bands.size() == kMaxBands) {
                return fail(Code::kBadRule);
            }
            Band band;
            const int thickness = u16(p + 1);
            band.outer = u32(p + 3);
            band.inner = u32(p + 7);
            if (p[0] > static_cast<unsigned char>(Edge::kRight) || thickness < 1 ||
                thickness > kMaxBandThickness || !is_colour(band.outer) || !is_colour(band.inner)) {
                return fail(Code::kBadRule);
            }
            band.edge = static_cast<Edge>(p[0]);
            band.thickness = thickness;
            result.skin.bands.push_back(band);
        } else {
            return fail(Code::kBadRule);
        }
    }
    if (at != body_end) {
        return fail(Code::kBadRule);
    }
    if (!have_background) {
        return fail(Code::kNoBackground);
    }
    return result;
}

}  // namespace skinh
