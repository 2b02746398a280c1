// Where the skin library comes from, tried against a fake file system.
#include <gtest/gtest.h>

#include <ostream>

#include <set>
#include <string>
#include <vector>

#include "appearance/skin_search.h"
#include "tests/support/case_names.h"

namespace tovrelle {
namespace {

// ---- trimming ----

struct TrimCase {
    const char* what;
    const wchar_t* path;
    const wchar_t* trimmed;
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const TrimCase& c, std::ostream* os) {
    *os << c.what;
}

class TrimPathTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimPathTest, SpacesAndFullWidthSpacesGoAtBothEndsOnly) {
    SCOPED_TRACE(GetParam().what);
    EXPECT_EQ(trim_path(GetParam().path), GetParam().trimmed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrimPathTest,
    ::testing::Values(TrimCase{"empty", L"", L""},
                      TrimCase{"nothing to trim", L"C:\\Tools\\SkinH_EL.dll",
                               L"C:\\Tools\\SkinH_EL.dll"},
                      TrimCase{"only spaces", L"   ", L""},
                      TrimCase{"only full-width spaces", L"\x3000\x3000", L""},
                      TrimCase{"spaces both ends", L"  C:\\a b\\x.dll  ", L"C:\\a b\\x.dll"},
                      TrimCase{"mixed at both ends",
                               L"\x3000 \x3000"
                               L"D:\\x.dll \x3000",
                               L"D:\\x.dll"},
                      TrimCase{"inner full-width space stays",
                               L"\x3000"
                               L"D:\\编程区\x3000目录\\x.dll",
                               L"D:\\编程区\x3000目录\\x.dll"},
                      TrimCase{"Chinese at the ends stays", L" 编程区 ", L"编程区"},
                      TrimCase{"tabs are not spaces", L"\tC:\\x.dll\t", L"\tC:\\x.dll\t"},
                      TrimCase{"no-break space is not a space",
                               L"\xA0"
                               L"C:\\x.dll",
                               L"\xA0"
                               L"C:\\x.dll"}),
    ::tovrelle::test::NameBy<&TrimCase::what>{});

// ---- the search ----

class FakeFileSystem : public SkinFileSystem {
  public:
    FakeFileSystem(std::set<std::wstring> files, std::set<std::wstring> directories,
                   std::wstring system)
        : files_(std::move(files)),
          directories_(std::move(directories)),
          system_(std::move(system)) {}
    // As FindFirstFileW: a directory of that name is found as well as a file.
    bool exists(const std::wstring& path) const override {
        asked.push_back(path);
        return files_.count(path) != 0 || directories_.count(path) != 0;
    }
    std::wstring system_directory() const override { return system_; }

    mutable std::vector<std::wstring> asked;

  private:
    std::set<std::wstring> files_;
    std::set<std::wstring> directories_;
    std::wstring system_;
};

struct SearchCase {
    const char* what;
    const wchar_t* given;
    const wchar_t* run_directory;
    const wchar_t* system_directory;
    std::set<std::wstring> files;
    const wchar_t* expected;
    std::set<std::wstring> directories = {};
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const SearchCase& c, std::ostream* os) {
    *os << c.what;
}

class LocateSkinLibraryTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(LocateSkinLibraryTest, Precedence) {
    const SearchCase& c = GetParam();
    SCOPED_TRACE(c.what);
    FakeFileSystem fs(c.files, c.directories, c.system_directory);
    EXPECT_EQ(locate_skin_library(c.given, c.run_directory, fs), c.expected);
}

const wchar_t* const kSys = L"C:\\windows\\system32";
const wchar_t* const kRun = L"C:\\Tools";

INSTANTIATE_TEST_SUITE_P(
    Table, LocateSkinLibraryTest,
    ::testing::Values(SearchCase{"both copies: the system directory's",
                                 L"",
                                 kRun,
                                 kSys,
                                 {L"C:\\Tools\\SkinH_EL.dll",
                                  L"C:\\windows\\system32\\SkinH_EL.dll"},
                                 L"C:\\windows\\system32\\SkinH_EL.dll"},
                      SearchCase{"only beside the executable",
                                 L"",
                                 kRun,
                                 kSys,
                                 {L"C:\\Tools\\SkinH_EL.dll"},
                                 L"C:\\Tools\\SkinH_EL.dll"},
                      SearchCase{"only in the system directory",
                                 L"",
                                 kRun,
                                 kSys,
                                 {L"C:\\windows\\system32\\SkinH_EL.dll"},
                                 L"C:\\windows\\system32\\SkinH_EL.dll"},
                      SearchCase{"executable at a drive root: one backslash",
                                 L"",
                                 L"C:",
                                 kSys,
                                 {L"C:\\SkinH_EL.dll", L"C:\\\\SkinH_EL.dll"},
                                 L"C:\\SkinH_EL.dll"},
                      SearchCase{"system directory ending in a backslash gets no second one",
                                 L"",
                                 kRun,
                                 L"C:\\WINDOWS\\SYSTEM32\\",
                                 {L"C:\\WINDOWS\\SYSTEM32\\SkinH_EL.dll",
                                  L"C:\\WINDOWS\\SYSTEM32\\\\SkinH_EL.dll"},
                                 L"C:\\WINDOWS\\SYSTEM32\\SkinH_EL.dll"},
                      SearchCase{"system directory at a drive root",
                                 L"",
                                 kRun,
                                 L"C:\\",
                                 {L"C:\\SkinH_EL.dll"},
                                 L"C:\\SkinH_EL.dll"},
                      SearchCase{"a directory named SkinH_EL.dll counts as found",
                                 L"",
                                 kRun,
                                 kSys,
                                 {},
                                 L"C:\\windows\\system32\\SkinH_EL.dll",
                                 {L"C:\\windows\\system32\\SkinH_EL.dll"}},
                      SearchCase{"no copy: the trimmed given path",
                                 L" \x3000"
                                 L"D:\\编程区\\SkinH_EL.dll\x3000 ",
                                 kRun,
                                 kSys,
                                 {},
                                 L"D:\\编程区\\SkinH_EL.dll"},
                      SearchCase{"no copy and nothing given: nothing", L"", kRun, kSys, {}, L""},
                      SearchCase{"an existing given path wins over both copies",
                                 L"  E:\\skins\\SkinH_EL.dll ",
                                 kRun,
                                 kSys,
                                 {L"E:\\skins\\SkinH_EL.dll", L"C:\\Tools\\SkinH_EL.dll",
                                  L"C:\\windows\\system32\\SkinH_EL.dll"},
                                 L"E:\\skins\\SkinH_EL.dll"},
                      SearchCase{"the given path is looked up trimmed",
                                 L" E:\\SkinH_EL.dll ",
                                 kRun,
                                 kSys,
                                 {L" E:\\SkinH_EL.dll ", L"C:\\Tools\\SkinH_EL.dll"},
                                 L"C:\\Tools\\SkinH_EL.dll"},
                      SearchCase{"unknown system directory: the drive root is not searched",
                                 L"",
                                 kRun,
                                 L"",
                                 {L"\\SkinH_EL.dll", L"SkinH_EL.dll"},
                                 L""},
                      SearchCase{"unknown system directory: beside the executable still found",
                                 L"",
                                 kRun,
                                 L"",
                                 {L"C:\\Tools\\SkinH_EL.dll"},
                                 L"C:\\Tools\\SkinH_EL.dll"}),
    ::tovrelle::test::NameBy<&SearchCase::what>{});

TEST(LocateSkinLibrary, TheProgramsEmptyPathAsksOnlyTheTwoSafePlaces) {
    FakeFileSystem fs({}, {}, kSys);
    EXPECT_EQ(locate_skin_library(L"", kRun, fs), L"");
    EXPECT_EQ(fs.asked, (std::vector<std::wstring>{L"", L"C:\\Tools\\SkinH_EL.dll",
                                                   L"C:\\windows\\system32\\SkinH_EL.dll"}));
}

}  // namespace
}  // namespace tovrelle
