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

// The frame around the rules: magic, version, the length the data claims and the checksum over
// all before it. kOk when it holds all n bytes of a whole skin of this version.
Code check_frame(const unsigned char* data, std::size_t n) {
    // As much of the magic as there is must match; a matching stub is only cut short.
    if (std::memcmp(data, kMagic, n < sizeof kMagic ? n : sizeof kMagic) != 0) {
        return Code::kBadMagic;
    }
    if (n < 6) {
        return Code::kTruncated;
    }
    if (u16(data + 4) != kVersion) {
        return Code::kUnknownVersion;
    }
    if (n < kHeaderSize + kChecksumSize) {
        return Code::kTruncated;
    }
    const std::uint32_t total = u32(data + 8);
    if (total < kHeaderSize + kChecksumSize) {
        return Code::kWrongLength;
    }
    if (total > n) {
        return Code::kTruncated;
    }
    if (total < n) {
        return Code::kWrongLength;
    }
    const std::size_t body_end = n - kChecksumSize;
    if (crc32(data, body_end) != u32(data + body_end)) {
        return Code::kBadChecksum;
    }
    return Code::kOk;
}

// The one background rule: a colour.
Code read_background(const unsigned char* p, std::size_t length, bool& have_background,
                     Skin& skin) {
    if (length != kBackgroundPayload || have_background || !is_colour(u32(p))) {
        return Code::kBadRule;
    }
    skin.background = u32(p);
    have_background = true;
    return Code::kOk;
}

// A band rule: edge, thickness, outer and inner colour.
Code read_band(const unsigned char* p, std::size_t length, Skin& skin) {
    if (length != kBandPayload || skin.bands.size() == kMaxBands) {
        return Code::kBadRule;
    }
    Band band;
    const int thickness = u16(p + 1);
    band.outer = u32(p + 3);
    band.inner = u32(p + 7);
    if (p[0] > static_cast<unsigned char>(Edge::kRight) || thickness < 1 ||
        thickness > kMaxBandThickness || !is_colour(band.outer) || !is_colour(band.inner)) {
        return Code::kBadRule;
    }
    band.edge = static_cast<Edge>(p[0]);
    band.thickness = thickness;
    skin.bands.push_back(band);
    return Code::kOk;
}

// The rules between the header and body_end, where the checksum starts: each one whole and
// known, nothing after the last, and a background among them.
Code read_rules(const unsigned char* data, std::size_t body_end, Skin& skin) {
    bool have_background = false;
    const std::uint16_t count = u16(data + 6);
    std::size_t at = kHeaderSize;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (body_end - at < 4) {
            return Code::kBadRule;
        }
        const std::uint16_t kind = u16(data + at);
        const std::size_t length = u16(data + at + 2);
        at += 4;
        if (body_end - at < length) {
            return Code::kBadRule;
        }
        const unsigned char* p = data + at;
        at += length;
        Code code = Code::kBadRule;
        if (kind == kRuleBackground) {
            code = read_background(p, length, have_background, skin);
        } else if (kind == kRuleBand) {
            code = read_band(p, length, skin);
        }
        if (code != Code::kOk) {
            return code;
        }
    }
    if (at != body_end) {
        return Code::kBadRule;
    }
    if (!have_background) {
        return Code::kNoBackground;
    }
    return Code::kOk;
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
    if (const Code code = check_frame(data, n); code != Code::kOk) {
        return fail(code);
    }
    ReadResult result{Code::kOk, {}};
    if (const Code code = read_rules(data, n - kChecksumSize, result.skin); code != Code::kOk) {
        return fail(code);
    }
    return result;
}

}  // namespace skinh
