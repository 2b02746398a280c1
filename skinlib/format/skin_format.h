// The skin file of SkinH_EL.dll and how its bytes are read. Kept free of Windows so that the
// reading can be tried natively against every kind of damaged file.
//
// Layout, all numbers little-endian:
//    0  ".SHE"              magic
//    4  u16 version         1
//    6  u16 rule count
//    8  u32 total length    of the whole file, this header and the checksum included
//   12  rules               each: u16 kind, u16 payload length, payload
//  end  u32 CRC-32          (IEEE polynomial, as zlib computes it) of every byte before it
//
// Version 1 rules:
//   kind 1, background (4 bytes): u32 colour 0x00BBGGRR. Exactly one per skin.
//   kind 2, band (11 bytes): u8 edge (0 top, 1 bottom, 2 left, 3 right), u16 thickness
//     (1..4096 pixels), u32 outer colour, u32 inner colour: a gradient along one edge of the
//     client area, from the outer colour at the edge to the inner colour inwards. At most
//     kMaxBands, painted in file order over the background.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skinh {

// The answers of SkinH_AttachRes: 0, or one distinct code per kind of thing it cannot take.
enum class Code : int {
    kOk = 0,
    kNoData = 1,          // a null pointer or a negative length
    kBadMagic = 2,        // the bytes do not start with ".SHE"
    kUnknownVersion = 3,  // a version this library does not know
    kTruncated = 4,       // fewer bytes than the header or the file's own length needs
    kWrongLength = 5,     // more bytes than the file's own length, or a length no file can have
    kBadChecksum = 6,     // the bytes were changed after the skin was written
    kBadRule = 7,         // unknown kind, wrong payload size, value out of range, rules not
                          // filling the file exactly, a second background
    kNoBackground = 8,    // the skin never says what the window background is
    kBadArguments = 9,    // text and the three integers are reserved: null/empty and 0
    kWrongThread = 10,    // the skin already belongs to another thread
    kHookFailed = 11,     // windows created later could not be followed
    kNoBrush = 12,        // no brush of the background colour could be made
};

inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kChecksumSize = 4;
inline constexpr std::uint16_t kRuleBackground = 1;
inline constexpr std::uint16_t kRuleBand = 2;
inline constexpr std::size_t kBackgroundPayload = 4;
inline constexpr std::size_t kBandPayload = 11;
inline constexpr int kMaxBandThickness = 4096;
inline constexpr std::size_t kMaxBands = 64;

enum class Edge : std::uint8_t { kTop = 0, kBottom = 1, kLeft = 2, kRight = 3 };

struct Band {
    Edge edge = Edge::kTop;
    int thickness = 1;
    std::uint32_t outer = 0;
    std::uint32_t inner = 0;
    friend bool operator==(const Band&, const Band&) = default;
};

struct Skin {
    std::uint32_t background = 0;
    std::vector<Band> bands;
    friend bool operator==(const Skin&, const Skin&) = default;
};

struct ReadResult {
    Code code = Code::kNoData;
    Skin skin;  // meaningful only when code is kOk
};

// Reads a skin file of `size` bytes at `data`; never looks at a byte at or past data + size.
ReadResult read_skin(const unsigned char* data, int size);

// CRC-32 as zlib computes it (reflected IEEE polynomial, initial and final value all ones).
std::uint32_t crc32(const unsigned char* data, std::size_t size);

}  // namespace skinh
