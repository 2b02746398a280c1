#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/window_def.h"
#include "app/event_routing.h"
#include "tray/icon_directory.h"
#include "tray/popup_model.h"
#include "tray/tooltip.h"

namespace tovrelle {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- icon directory ----

Bytes read_tray_icon_data() {
    std::ifstream in(TOVRELLE_TRAY_ICON_FILE, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// One image of a made-up icon file: a bitmap with a 40-byte header, or a PNG (a width byte
// of 0 means 256 pixels, which only PNG images have in practice).
struct FakeImage {
    std::uint8_t width_byte;
    std::uint8_t colours;
    std::uint16_t bits;
};

constexpr std::size_t kPayload = 8;

Bytes bitmap_image(int size, std::uint16_t bits) {
    Bytes image(40 + kPayload, 0);
    put32(image, 0, 40);
    put32(image, 4, static_cast<std::uint32_t>(size));
    put32(image, 8, static_cast<std::uint32_t>(size * 2));  // colour image and mask
    put16(image, 12, 1);
    put16(image, 14, bits);
    return image;
}

Bytes png_image(std::uint32_t size) {
    Bytes image = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {size, size}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            image.push_back(static_cast<std::uint8_t>(v >> shift));
        }
    }
    image.insert(image.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});  // 8-bit RGBA, then CRC
    return image;
}

Bytes icon_file(const std::vector<FakeImage>& images) {
    Bytes file(6 + 16 * images.size(), 0);
    put16(file, 2, 1);
    put16(file, 4, static_cast<std::uint32_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const FakeImage& f = images[i];
        const Bytes image = f.width_byte == 0 ? png_image(256) : bitmap_image(f.width_byte, f.bits);
        const std::size_t at = 6 + 16 * i;
        file[at] = f.width_byte;
        file[at + 1] = f.width_byte;
        file[at + 2] = f.colours;
        put16(file, at + 4, 1);
        put16(file, at + 6, f.bits);
        put32(file, at + 8, static_cast<std::uint32_t>(image.size()));
        put32(file, at + 12, static_cast<std::uint32_t>(file.size()));
        file.insert(file.end(), image.begin(), image.end());
    }
    return file;
}

// Where an entry's image lies, as the directory says.
std::size_t image_offset(const Bytes& file, std::size_t entry) {
    const std::size_t at = 6 + 16 * entry + 12;
    return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) |
           (std::size_t{file[at + 3]} << 24);
}

// A result must lie inside the data it was read from.
void expect_inside(const std::optional<IconImage>& image, const Bytes& data) {
    if (image) {
        EXPECT_GE(image->bytes.data(), data.data());
        EXPECT_LE(image->bytes.data() + image->bytes.size(), data.data() + data.size());
    }
}

TEST(IconDirectory, TrayIconDataShowsThe16PixelSixteenColourImage) {
    const Bytes data = read_tray_icon_data();
    ASSERT_GT(data.size(), 6u) << TOVRELLE_TRAY_ICON_FILE;
    const std::optional<IconImage> first = select_icon_image(data, 16);
    ASSERT_TRUE(first.has_value());
    // Entry 4 of the twelve: the 256-pixel entries carry width byte 0, and the 8-bit and
    // 32-bit ones colour count 0.
    EXPECT_EQ(first->entry, 3u);
    EXPECT_FALSE(first->png);
    EXPECT_EQ(first->width, 16);
    EXPECT_EQ(first->height, 16);
    EXPECT_EQ(first->bits_per_pixel, 4);
    EXPECT_EQ(first->bytes.data(), data.data() + image_offset(data, 3));
    expect_inside(first, data);

    const std::optional<IconImage> second = select_icon_image(data, 32);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->entry, 4u);
    EXPECT_EQ(second->width, 32);
    EXPECT_EQ(second->height, 32);
}

struct ChoiceCase {
    const char* name;
    std::vector<FakeImage> images;
    int width;
    std::size_t expected_entry;
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

class IconChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(IconChoiceTest, FirstMatchElseTheLastEntry) {
    const Bytes data = icon_file(GetParam().images);
    const std::optional<IconImage> image = select_icon_image(data, GetParam().width);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->entry, GetParam().expected_entry);
    expect_inside(image, data);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IconChoiceTest,
    ::testing::Values(
        // The twelve images without the 16-pixel 16-colour one: nothing matches 16 pixels,
        // so the last entry (48-pixel true colour) is taken; 32 pixels still finds its own.
        ChoiceCase{"no_16px_16_colours",
                   {{0, 16, 4},
                    {0, 0, 8},
                    {0, 0, 32},
                    {32, 16, 4},
                    {48, 16, 4},
                    {16, 0, 8},
                    {32, 0, 8},
                    {48, 0, 8},
                    {16, 0, 32},
                    {32, 0, 32},
                    {48, 0, 32}},
                   16,
                   10},
        ChoiceCase{"no_16px_16_colours_32_pass",
                   {{0, 16, 4}, {32, 16, 4}, {16, 0, 8}, {48, 0, 32}},
                   32,
                   1},
        // Any colour count of 16 or more matches, the first one wins.
        ChoiceCase{"more_colours_count", {{16, 0, 32}, {16, 200, 8}, {16, 16, 4}}, 16, 1},
        ChoiceCase{"fifteen_colours_is_too_few", {{16, 15, 4}, {32, 16, 4}}, 16, 1},
        ChoiceCase{"single_entry", {{48, 0, 32}}, 16, 0},
        // The last entry may be a PNG; its height is not halved.
        ChoiceCase{"last_is_png", {{32, 0, 32}, {0, 0, 32}}, 16, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IconDirectory, PngImageTakesItsSizeFromItsHeader) {
    const Bytes data = icon_file({{32, 0, 32}, {0, 0, 32}});
    const std::optional<IconImage> image = select_icon_image(data, 16);
    ASSERT_TRUE(image.has_value());
    EXPECT_TRUE(image->png);
    EXPECT_EQ(image->width, 256);
    EXPECT_EQ(image->height, 256);
    EXPECT_EQ(image->bits_per_pixel, 32);
}

TEST(IconDirectory, EntriesAfterTheMatchAreNotRead) {
    // The directory claims far more entries than the data holds.
    Bytes data = icon_file({{16, 16, 4}, {32, 16, 4}});
    put16(data, 4, 0xFFFF);
    EXPECT_EQ(select_icon_image(data, 16)->entry, 0u);
    // Without a match every entry must be read, and the end of the data cuts one off.
    EXPECT_FALSE(select_icon_image(data, 48).has_value());
}

struct MalformedCase {
    const char* name;
    Bytes data;
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.name;
}

Bytes damaged(std::vector<FakeImage> images, void (*damage)(Bytes&)) {
    Bytes data = icon_file(images);
    damage(data);
    return data;
}

// One image: both passes pick it (the second one as the last entry), so damage to it
// leaves neither pass a way round.
const std::vector<FakeImage> kOne = {{16, 16, 4}};

class MalformedIconTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedIconTest, GivesNoImage) {
    // Each case's data is an allocation of exactly its size, so the sanitizers catch any
    // read past its end.
    const Bytes& data = GetParam().data;
    for (int width : {16, 32}) {
        EXPECT_FALSE(select_icon_image(data, width).has_value()) << "width " << width;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MalformedIconTest,
    ::testing::Values(
        MalformedCase{"empty", {}}, MalformedCase{"short_header", {0, 0, 1, 0, 1}},
        MalformedCase{"header_only", {0, 0, 1, 0, 1, 0}},
        MalformedCase{"reserved_not_0", damaged(kOne, [](Bytes& b) { put16(b, 0, 1); })},
        MalformedCase{"type_0", damaged(kOne, [](Bytes& b) { put16(b, 2, 0); })},
        MalformedCase{"type_3", damaged(kOne, [](Bytes& b) { put16(b, 2, 3); })},
        MalformedCase{"count_0", damaged(kOne, [](Bytes& b) { put16(b, 4, 0); })},
        MalformedCase{"entry_cut_off", damaged({{48, 0, 32}}, [](Bytes& b) { b.resize(6 + 10); })},
        MalformedCase{"count_beyond_entries",
                      damaged({{48, 0, 32}}, [](Bytes& b) { put16(b, 4, 0xFFFF); })},
        MalformedCase{"image_runs_past_the_end",
                      damaged(kOne, [](Bytes& b) { b.resize(b.size() - 1); })},
        MalformedCase{"image_size_past_the_end",
                      damaged(kOne, [](Bytes& b) { put32(b, 6 + 8, 0x10000); })},
        MalformedCase{"image_size_0", damaged(kOne, [](Bytes& b) { put32(b, 6 + 8, 0); })},
        MalformedCase{"offset_beyond_the_data",
                      damaged(kOne, [](Bytes& b) { put32(b, 6 + 12, 0x7FFFFFF0); })},
        MalformedCase{"offset_at_the_end", damaged(kOne,
                                                   [](Bytes& b) {
                                                       put32(b, 6 + 12,
                                                             static_cast<std::uint32_t>(b.size()));
                                                   })},
        // offset + size wraps around 32 bits to a small number
        MalformedCase{"offset_plus_size_wraps", damaged(kOne,
                                                        [](Bytes& b) {
                                                            put32(b, 6 + 12, 0xFFFFFFF0);
                                                            put32(b, 6 + 8, 0x20);
                                                        })},
        MalformedCase{"image_shorter_than_its_header",
                      damaged(kOne, [](Bytes& b) { put32(b, 6 + 8, 20); })},
        MalformedCase{"bitmap_header_size_12",
                      damaged(kOne, [](Bytes& b) { put32(b, image_offset(b, 0), 12); })},
        MalformedCase{"bitmap_header_larger_than_image",
                      damaged(kOne, [](Bytes& b) { put32(b, image_offset(b, 0), 4000); })},
        MalformedCase{"bitmap_width_0",
                      damaged(kOne, [](Bytes& b) { put32(b, image_offset(b, 0) + 4, 0); })},
        MalformedCase{"bitmap_height_1",
                      damaged(kOne, [](Bytes& b) { put32(b, image_offset(b, 0) + 8, 1); })},
        MalformedCase{"bitmap_top_down", damaged(kOne,
                                                 [](Bytes& b) {
                                                     put32(b, image_offset(b, 0) + 8,
                                                           static_cast<std::uint32_t>(-32));
                                                 })},
        MalformedCase{"png_cut_in_its_header",
                      damaged({{0, 0, 32}}, [](Bytes& b) { put32(b, 6 + 8, 20); })},
        MalformedCase{"png_without_ihdr",
                      damaged({{0, 0, 32}}, [](Bytes& b) { b[image_offset(b, 0) + 12] = 'X'; })},
        MalformedCase{
            "png_width_0",
            damaged({{0, 0, 32}}, [](Bytes& b) { put32(b, image_offset(b, 0) + 16, 0); })}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IconDirectory, EveryCutOfTheTrayIconDataStaysInside) {
    const Bytes full = read_tray_icon_data();
    ASSERT_GT(full.size(), 6u + 16u * 12u);
    // The first pass needs the directory up to entry 4 and entry 4's whole image.
    const std::size_t needed = image_offset(full, 3) + 296;
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 6 + 16 * 12 + 4; ++n) {
        lengths.push_back(n);
    }
    for (std::size_t n = needed - 48; n <= needed + 4; ++n) {
        lengths.push_back(n);
    }
    for (std::size_t n = 300; n < full.size(); n += 997) {
        lengths.push_back(n);
    }
    lengths.push_back(full.size());
    for (const std::size_t n : lengths) {
        SCOPED_TRACE(n);
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        const std::optional<IconImage> image = select_icon_image(cut, 16);
        EXPECT_EQ(image.has_value(), n >= needed);
        expect_inside(image, cut);
    }
}

// ---- popup model ----

// One line per item, submenus indented: "20001 打开\tCtrl+O [greyed] [checked]".
void describe(const std::vector<PopupItem>& items, std::vector<std::wstring>& out, int depth = 0) {
    for (const PopupItem& item : items) {
        std::wstring line(static_cast<std::size_t>(depth) * 2, L' ');
        line += std::to_wstring(item.command) + L" ";
        line += item.separator ? L"----" : item.text;
        if (item.greyed) {
            line += L" [greyed]";
        }
        if (item.checked) {
            line += L" [checked]";
        }
        out.push_back(line);
        describe(item.submenu, out, depth + 1);
    }
}

std::vector<std::wstring> describe(const std::vector<PopupItem>& items) {
    std::vector<std::wstring> out;
    describe(items, out);
    return out;
}

MenuEntryDef entry(std::wstring_view caption, int level, bool hidden = false, bool disabled = false,
                   bool checked = false, std::wstring_view shortcut = L"") {
    return MenuEntryDef{caption, 0, caption, level, hidden, disabled, checked, shortcut};
}

// clang-format off
const std::vector<MenuEntryDef> kGeneric = {
    entry(L"文件", 0, true),                      // 0
    entry(L"打开", 1, false, false, false, L"Ctrl+O"),  // 1
    entry(L"-", 1),                              // 2
    entry(L"秘密", 1, true),                      // 3 hidden, and so is what lies below it
    entry(L"秘密子项", 2),                         // 4
    entry(L"选项", 1, false, true, true),           // 5
    entry(L"更多", 1),                            // 6
    entry(L"甲", 2),                              // 7
    entry(L"乙", 2, true),                         // 8
    entry(L"丙", 2, false, false, true, L"F5"),     // 9
    entry(L"丁", 3),                              // 10
    entry(L"-", 2, false, true),                   // 11
    entry(L"只有隐藏的", 1),                        // 12 everything below it is hidden
    entry(L"看不见", 2, true),                      // 13
    entry(L"退出", 1),                            // 14
    entry(L"帮助", 0),                            // 15 the next top-level entry ends 文件
    entry(L"关于", 1),                            // 16
};
// clang-format on

TEST(PopupModel, MainWindowMenuGivesItsTwoItems) {
    const WindowDef& def = main_window_def();
    const std::optional<std::vector<PopupItem>> items = build_popup(def.menu, 0);
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(describe(*items), (std::vector<std::wstring>{L"20001 隐身运行", L"20002 退出软件"}));
    for (const PopupItem& item : *items) {
        EXPECT_TRUE(item.submenu.empty());
    }
}

TEST(PopupModel, GenericEntriesLevelsHiddenSeparatorsFlagsShortcuts) {
    const std::optional<std::vector<PopupItem>> items = build_popup(kGeneric, 0);
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(describe(*items), (std::vector<std::wstring>{
                                    L"20001 打开\tCtrl+O",
                                    L"20002 ----",
                                    L"20005 选项 [greyed] [checked]",
                                    L"20006 更多",
                                    L"  20007 甲",
                                    L"  20009 丙\tF5 [checked]",
                                    L"    20010 丁",
                                    L"  20011 ---- [greyed]",
                                    L"20012 只有隐藏的",
                                    L"20014 退出",
                                }));
}

TEST(PopupModel, ItemWithItemsOfItsOwnAndTheNextTopLevelEntry) {
    EXPECT_EQ(describe(*build_popup(kGeneric, 6)),
              (std::vector<std::wstring>{L"20007 甲", L"20009 丙\tF5 [checked]", L"  20010 丁",
                                         L"20011 ---- [greyed]"}));
    EXPECT_EQ(describe(*build_popup(kGeneric, 15)), (std::vector<std::wstring>{L"20016 关于"}));
}

TEST(PopupModel, EntryTwoLevelsBelowItsPredecessorHangsFromNothing) {
    const std::vector<MenuEntryDef> list = {entry(L"菜单", 0), entry(L"孤儿", 2),
                                            entry(L"孤儿的子项", 3), entry(L"正常", 1)};
    EXPECT_EQ(describe(*build_popup(list, 0)), (std::vector<std::wstring>{L"20003 正常"}));
}

TEST(PopupModel, RequestsWithoutItemsAreRefused) {
    struct Case {
        const char* name;
        std::span<const MenuEntryDef> list;
        std::size_t chosen;
    };
    const std::vector<MenuEntryDef> flat = {entry(L"甲", 0), entry(L"乙", 0)};
    const Case cases[] = {
        {"item_without_items", main_window_def().menu, 1},
        {"last_entry", main_window_def().menu, 2},
        {"beyond_the_list", main_window_def().menu, 3},
        {"far_beyond_the_list", main_window_def().menu, static_cast<std::size_t>(-1)},
        {"empty_list", {}, 0},
        {"next_on_the_same_level", flat, 0},
        {"leaf_inside_a_submenu", kGeneric, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(build_popup(c.list, c.chosen).has_value());
    }
}

// ---- command numbers of the main window's menu ----

void collect_commands(const std::vector<PopupItem>& items, std::vector<PopupItem>& out) {
    for (const PopupItem& item : items) {
        out.push_back(item);
        collect_commands(item.submenu, out);
    }
}

TEST(PopupModel, EveryCommandRoutesBackToTheEntryThatMadeIt) {
    for (const std::span<const MenuEntryDef> list :
         {std::span<const MenuEntryDef>(kGeneric), main_window_def().menu}) {
        std::vector<PopupItem> all;
        collect_commands(*build_popup(list, 0), all);
        for (const PopupItem& item : all) {
            SCOPED_TRACE(item.command);
            const CommandTarget target = route_command(item.command, list.size());
            ASSERT_EQ(target.kind, CommandTarget::Kind::MenuEntry);
            if (!item.separator) {
                EXPECT_EQ(item.text.substr(0, list[target.index].caption.size()),
                          list[target.index].caption);
            }
        }
    }
}

TEST(MainWindowCommands, NumbersAroundTheMenuRange) {
    const WindowDef& def = main_window_def();
    struct Case {
        unsigned command;
        CommandTarget::Kind kind;
        Identity entry;  // for menu entries
    };
    const Case cases[] = {
        {19999, CommandTarget::Kind::Control, 0},
        {20000, CommandTarget::Kind::MenuEntry, ids::菜单},
        {20001, CommandTarget::Kind::MenuEntry, ids::隐身运行},
        {20002, CommandTarget::Kind::MenuEntry, ids::退出软件},
        {20003, CommandTarget::Kind::Ignored, 0},
        {57600, CommandTarget::Kind::Ignored, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const CommandTarget target = route_command(c.command, def.menu.size());
        EXPECT_EQ(target.kind, c.kind);
        if (c.kind == CommandTarget::Kind::MenuEntry) {
            EXPECT_EQ(def.menu[target.index].id, c.entry);
        }
    }
}

// ---- tooltip cut ----

TEST(TipLength, CutToTheBufferWithoutSplittingAPair) {
    constexpr std::size_t kTip = 128;  // NOTIFYICONDATAW::szTip
    const auto text = [](std::size_t n, std::size_t pair_at = std::wstring::npos) {
        std::wstring t(n, L'关');
        if (pair_at != std::wstring::npos) {
            t[pair_at] = static_cast<wchar_t>(0xD83D);  // a character outside the first plane
            t[pair_at + 1] = static_cast<wchar_t>(0xDE00);
        }
        return t;
    };
    struct Case {
        const char* name;
        std::wstring text;
        std::size_t capacity;
        std::size_t expected;
    };
    const Case cases[] = {
        {"empty", L"", kTip, 0},
        {"short", L"  将于22时30分0秒 关机", kTip, 15},
        {"exactly_fits", text(127), kTip, 127},
        {"one_too_many", text(128), kTip, 127},
        {"far_too_long", text(1000), kTip, 127},
        {"pair_across_the_cut", text(200, 126), kTip, 126},
        {"pair_just_before_the_cut", text(200, 125), kTip, 127},
        {"pair_fits_whole", text(127, 125), kTip, 127},
        {"no_room", L"甲", 0, 0},
        {"room_for_the_terminator_only", L"甲", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tip_length(c.text, c.capacity), c.expected);
    }
}

}  // namespace
}  // namespace tovrelle
