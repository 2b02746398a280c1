// The skin file reader of SkinH_EL.dll: good files, each kind of bad one, and every length a
// good file can be cut to. Every read goes through a heap block of exactly the file's size, so
// the sanitizers catch any look past the end.
#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

#include "skinlib/format/skin_format.h"
#include "tests/support/case_names.h"

namespace skinh {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// Rule encodings written out by hand, independently of the reader.
Bytes background(std::uint32_t colour, unsigned payload_length = 4) {
    Bytes b;
    put16(b, 1);
    put16(b, payload_length);
    put32(b, colour);
    return b;
}

Bytes band(unsigned edge, unsigned thickness, std::uint32_t outer, std::uint32_t inner) {
    Bytes b;
    put16(b, 2);
    put16(b, 11);
    b.push_back(static_cast<std::uint8_t>(edge));
    put16(b, thickness);
    put32(b, outer);
    put32(b, inner);
    return b;
}

Bytes rule(unsigned kind, Bytes payload) {
    Bytes b;
    put16(b, kind);
    put16(b, static_cast<unsigned>(payload.size()));
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

struct FileParts {
    std::vector<Bytes> rules;
    unsigned version = 1;
    int count = -1;           // -1: the number of rules
    std::int64_t total = -1;  // -1: the real length
    const char* magic = ".SHE";
};

// A file with a correct checksum over whatever the parts say.
Bytes file(const FileParts& p) {
    Bytes b(p.magic, p.magic + 4);
    put16(b, p.version);
    put16(b, p.count < 0 ? static_cast<unsigned>(p.rules.size()) : static_cast<unsigned>(p.count));
    std::size_t length = 12 + 4;
    for (const Bytes& r : p.rules) {
        length += r.size();
    }
    put32(b,
          p.total < 0 ? static_cast<std::uint32_t>(length) : static_cast<std::uint32_t>(p.total));
    for (const Bytes& r : p.rules) {
        b.insert(b.end(), r.begin(), r.end());
    }
    put32(b, crc32(b.data(), b.size()));
    return b;
}

Bytes good_file() {
    return file({{background(0x00F5E6D6), band(1, 28, 0x00A05E2E, 0x00F5E6D6),
                  band(2, 3, 0x00000000, 0x00FFFFFF)}});
}

// Reads from a heap block of exactly bytes.size() bytes (also for 0 bytes).
ReadResult read_exact(const Bytes& bytes, std::size_t size) {
    std::unique_ptr<unsigned char[]> block(new unsigned char[size]);
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size), block.get());
    return read_skin(block.get(), static_cast<int>(size));
}
ReadResult read_exact(const Bytes& bytes) {
    return read_exact(bytes, bytes.size());
}

TEST(Crc32, KnownCheckValue) {
    const unsigned char text[] = "123456789";
    EXPECT_EQ(crc32(text, 9), 0xCBF43926u);
    EXPECT_EQ(crc32(text, 0), 0u);
}

TEST(ReadSkin, GoodFileGivesItsRulesInOrder) {
    const ReadResult r = read_exact(good_file());
    ASSERT_EQ(r.code, Code::kOk);
    EXPECT_EQ(r.skin.background, 0x00F5E6D6u);
    ASSERT_EQ(r.skin.bands.size(), 2u);
    EXPECT_EQ(r.skin.bands[0], (Band{Edge::kBottom, 28, 0x00A05E2E, 0x00F5E6D6}));
    EXPECT_EQ(r.skin.bands[1], (Band{Edge::kLeft, 3, 0x00000000, 0x00FFFFFF}));
}

TEST(ReadSkin, GoodFilesAtTheLimits) {
    // Background alone; background after the bands; every edge; the thickest band; the most bands.
    EXPECT_EQ(read_exact(file({{background(0)}})).code, Code::kOk);
    const ReadResult late = read_exact(file({{band(0, 1, 1, 2), background(0x00FFFFFF)}}));
    ASSERT_EQ(late.code, Code::kOk);
    EXPECT_EQ(late.skin.background, 0x00FFFFFFu);
    const ReadResult edges = read_exact(file({{background(0), band(0, 1, 0, 0), band(1, 1, 0, 0),
                                               band(2, 1, 0, 0), band(3, 4096, 0, 0)}}));
    ASSERT_EQ(edges.code, Code::kOk);
    EXPECT_EQ(edges.skin.bands[0].edge, Edge::kTop);
    EXPECT_EQ(edges.skin.bands[1].edge, Edge::kBottom);
    EXPECT_EQ(edges.skin.bands[2].edge, Edge::kLeft);
    EXPECT_EQ(edges.skin.bands[3].edge, Edge::kRight);
    EXPECT_EQ(edges.skin.bands[3].thickness, 4096);

    FileParts most{{background(0)}};
    for (std::size_t i = 0; i < kMaxBands; ++i) {
        most.rules.push_back(band(0, 1, 0, 0));
    }
    EXPECT_EQ(read_exact(file(most)).code, Code::kOk);
    most.rules.push_back(band(0, 1, 0, 0));
    EXPECT_EQ(read_exact(file(most)).code, Code::kBadRule);
}

TEST(ReadSkin, CommittedSkinOfTheExecutableIsGood) {
    std::ifstream in(TOVRELLE_SKIN_FILE, std::ios::binary);
    ASSERT_TRUE(in) << TOVRELLE_SKIN_FILE;
    const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const ReadResult r = read_exact(bytes);
    EXPECT_EQ(r.code, Code::kOk);
    EXPECT_FALSE(r.skin.bands.empty());
}

struct BadCase {
    const char* what;
    std::function<Bytes()> make;
    Code code;
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.what;
}

class BadSkinTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadSkinTest, RefusedWithItsOwnCode) {
    SCOPED_TRACE(GetParam().what);
    const ReadResult r = read_exact(GetParam().make());
    EXPECT_EQ(r.code, GetParam().code);
    EXPECT_EQ(r.skin, Skin{});
}

Bytes with_byte(Bytes b, std::size_t at, std::uint8_t value) {
    b.at(at) = value;
    return b;
}

Bytes appended(Bytes b, std::uint8_t extra) {
    b.push_back(extra);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadSkinTest,
    ::testing::Values(BadCase{"wrong magic",
                              [] {
                                  return file({{background(0)}, 1, -1, -1, ".SHF"});
                              },
                              Code::kBadMagic},
                      BadCase{"magic in the wrong case",
                              [] {
                                  return file({{background(0)}, 1, -1, -1, ".she"});
                              },
                              Code::kBadMagic},
                      BadCase{"one byte, not the magic's", [] { return Bytes{'S'}; },
                              Code::kBadMagic},
                      BadCase{"version 0",
                              [] {
                                  return file({{background(0)}, 0});
                              },
                              Code::kUnknownVersion},
                      BadCase{"version 2",
                              [] {
                                  return file({{background(0)}, 2});
                              },
                              Code::kUnknownVersion},
                      BadCase{"version 256",
                              [] {
                                  return file({{background(0)}, 256});
                              },
                              Code::kUnknownVersion},
                      BadCase{"declared longer than the bytes",
                              [] {
                                  return file({{background(0)}, 1, -1, 25});
                              },
                              Code::kTruncated},
                      BadCase{"declared 4 GiB",
                              [] {
                                  return file({{background(0)}, 1, -1, 0xFFFFFFFF});
                              },
                              Code::kTruncated},
                      BadCase{"a byte after the end", [] { return appended(good_file(), 0); },
                              Code::kWrongLength},
                      BadCase{"declared shorter than the bytes",
                              [] {
                                  return file({{background(0)}, 1, -1, 23});
                              },
                              Code::kWrongLength},
                      BadCase{"declared shorter than any file",
                              [] {
                                  return file({{background(0)}, 1, -1, 15});
                              },
                              Code::kWrongLength},
                      BadCase{"declared length 0",
                              [] {
                                  return file({{background(0)}, 1, -1, 0});
                              },
                              Code::kWrongLength},
                      BadCase{"a colour byte changed",
                              [] { return with_byte(good_file(), 16, 0x00); }, Code::kBadChecksum},
                      BadCase{"the checksum changed",
                              [] {
                                  Bytes b = good_file();
                                  b.back() ^= 0x80;
                                  return b;
                              },
                              Code::kBadChecksum},
                      BadCase{"rule kind 0",
                              [] {
                                  return file({{background(0), rule(0, {})}});
                              },
                              Code::kBadRule},
                      BadCase{"rule kind 3",
                              [] {
                                  return file({{background(0), rule(3, {1, 2, 3, 4})}});
                              },
                              Code::kBadRule},
                      BadCase{"background of 3 bytes",
                              [] {
                                  return file({{rule(1, {1, 2, 3})}});
                              },
                              Code::kBadRule},
                      BadCase{"background of 5 bytes",
                              [] {
                                  return file({{rule(1, {1, 2, 3, 0, 5})}});
                              },
                              Code::kBadRule},
                      BadCase{"band of 10 bytes",
                              [] {
                                  return file({{background(0), rule(2, Bytes(10, 0))}});
                              },
                              Code::kBadRule},
                      BadCase{"band on edge 4",
                              [] {
                                  return file({{background(0), band(4, 1, 0, 0)}});
                              },
                              Code::kBadRule},
                      BadCase{"band 0 thick",
                              [] {
                                  return file({{background(0), band(0, 0, 0, 0)}});
                              },
                              Code::kBadRule},
                      BadCase{"band 4097 thick",
                              [] {
                                  return file({{background(0), band(0, 4097, 0, 0)}});
                              },
                              Code::kBadRule},
                      BadCase{"background not a colour",
                              [] { return file({{background(0x01000000)}}); }, Code::kBadRule},
                      BadCase{"band outer not a colour",
                              [] {
                                  return file({{background(0), band(0, 1, 0xFF000000, 0)}});
                              },
                              Code::kBadRule},
                      BadCase{"band inner not a colour",
                              [] {
                                  return file({{background(0), band(0, 1, 0, 0x02FFFFFF)}});
                              },
                              Code::kBadRule},
                      BadCase{"two backgrounds",
                              [] {
                                  return file({{background(0), background(1)}});
                              },
                              Code::kBadRule},
                      BadCase{"more rules counted than written",
                              [] {
                                  return file({{background(0)}, 1, 2});
                              },
                              Code::kBadRule},
                      BadCase{"fewer rules counted than written",
                              [] {
                                  return file({{background(0), band(0, 1, 0, 0)}, 1, 1});
                              },
                              Code::kBadRule},
                      BadCase{"a rule's length runs past the end",
                              [] {
                                  Bytes r;
                                  put16(r, 1);
                                  put16(r, 50);
                                  put32(r, 0);
                                  return file({{r}});
                              },
                              Code::kBadRule},
                      BadCase{"a rule header cut short",
                              [] {
                                  return file({{background(0), Bytes{2, 0}}});
                              },
                              Code::kBadRule},
                      BadCase{"no rules", [] { return file({}); }, Code::kNoBackground},
                      BadCase{"bands but no background", [] { return file({{band(1, 5, 0, 0)}}); },
                              Code::kNoBackground}),
    ::tovrelle::test::NameBy<&BadCase::what>{});

TEST(ReadSkin, NoDataAtAll) {
    const unsigned char one = '.';
    EXPECT_EQ(read_skin(nullptr, 0).code, Code::kNoData);
    EXPECT_EQ(read_skin(nullptr, 10).code, Code::kNoData);
    EXPECT_EQ(read_skin(&one, -1).code, Code::kNoData);
}

TEST(ReadSkin, EveryShorterLengthIsTruncated) {
    for (const Bytes& whole : {good_file(), file({{background(0)}})}) {
        for (std::size_t size = 0; size < whole.size(); ++size) {
            SCOPED_TRACE(size);
            EXPECT_EQ(read_exact(whole, size).code, Code::kTruncated);
        }
    }
}

TEST(ReadSkin, EveryLengthOfARuleThatRunsPastTheEnd) {
    // The file's length and checksum are right, but a rule claims more bytes than there are:
    // each claim from one byte too many up to the largest is refused without a look past the end.
    for (unsigned claim = 5; claim <= 0xFFFF; claim = claim * 3 + 1) {
        SCOPED_TRACE(claim);
        Bytes r;
        put16(r, 1);
        put16(r, claim);
        put32(r, 0);
        EXPECT_EQ(read_exact(file({{r}})).code, Code::kBadRule);
    }
}

}  // namespace
}  // namespace skinh
