// Binding the skin library under Wine: real files, real LoadLibraryExW, fake skin libraries
// built beside this test (fake_skin_records.dll takes every skin, fake_skin_refuses.dll none,
// no_entry_skin.dll has no plain SkinH_AttachRes) and a copy of the real SkinH_EL.dll.
#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "app/program.h"
#include "app/run_directory.h"
#include "appearance/skin_binding.h"
#include "appearance/wiring.h"
#include "skinlib/format/skin_format.h"
#include "tests/win32/appearance/fake_skin_library.h"
#include "tests/win32/support/win32_test_support.h"
#include "tests/support/case_names.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;

std::wstring exe_directory() {
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    return run_directory(name);
}

std::wstring upper(std::wstring s) {
    CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

// A folder of its own under the temp folder, removed again with what the test put in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"tovrelle-skin-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        for (const std::wstring& f : files_) {
            DeleteFileW(f.c_str());
        }
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) {
            RemoveDirectoryW(it->c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    [[nodiscard]] const std::wstring& path() const { return path_; }
    std::wstring file(const wchar_t* name, const char* content) {
        const std::wstring p = path_ + L"\\" + name;
        UniqueKernelHandle h(
            CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(h.get(), content, static_cast<DWORD>(strlen(content)), &written, nullptr);
        files_.push_back(p);
        return p;
    }
    std::wstring folder(const wchar_t* name) {
        const std::wstring p = path_ + L"\\" + name;
        CreateDirectoryW(p.c_str(), nullptr);
        folders_.push_back(p);
        return p;
    }

  private:
    static inline int counter_ = 0;
    std::wstring path_;
    std::vector<std::wstring> files_;
    std::vector<std::wstring> folders_;
};

class SkinBindingTest : public ::testing::Test {
  protected:
    void TearDown() override { libraries.release_all(); }

    std::wstring beside(const wchar_t* name) const { return dir + L"\\" + name; }
    static bool loaded(const std::wstring& path) {
        return GetModuleHandleW(path.c_str()) != nullptr;
    }
    static int calls(HMODULE m) {
        auto f = reinterpret_cast<FakeSkinCalls>(
            reinterpret_cast<void*>(GetProcAddress(m, "fake_skin_calls")));
        return f != nullptr ? f() : -1;
    }
    static const FakeSkinCall* last_call(HMODULE m) {
        auto f = reinterpret_cast<FakeSkinLastCall>(
            reinterpret_cast<void*>(GetProcAddress(m, "fake_skin_last_call")));
        return f != nullptr ? f() : nullptr;
    }

    const std::wstring dir = exe_directory();
    LoadedLibraries libraries;
    const std::vector<std::uint8_t> skin{'.', 'S', 'H', 'E', 1, 0, 0, 0, 42};
};

TEST_F(SkinBindingTest, ExistenceCountsFilesAndDirectoriesButNotMissingNames) {
    ScratchFolder scratch;
    const Win32SkinFileSystem fs;
    EXPECT_TRUE(fs.exists(scratch.file(L"plain.dll", "x")));
    EXPECT_TRUE(fs.exists(scratch.folder(L"SkinH_EL.dll")));
    EXPECT_FALSE(fs.exists(scratch.path() + L"\\missing.dll"));
    EXPECT_FALSE(fs.exists(L""));

    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    EXPECT_EQ(fs.system_directory(), system);
}

TEST_F(SkinBindingTest, NothingThereOrNotALibraryLoadsNothing) {
    ScratchFolder scratch;
    const std::wstring text_file = scratch.file(L"not_a_library.dll", "MZ but nothing more");
    for (const std::wstring& path :
         {scratch.path() + L"\\missing.dll", text_file, std::wstring()}) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        EXPECT_FALSE(attach_skin(libraries, path, skin, L"", 0, 0, 0));
        EXPECT_EQ(libraries.size(), 0u);
    }
}

TEST_F(SkinBindingTest, DirectoryNamedLikeTheLibraryIsFoundButNotLoaded) {
    ScratchFolder scratch;
    scratch.folder(L"SkinH_EL.dll");
    const Win32SkinFileSystem fs;
    ASSERT_FALSE(fs.exists(fs.system_directory() + L"\\SkinH_EL.dll"))
        << "the prefix has a skin library";
    const std::wstring path = locate_skin_library(L"", scratch.path(), fs);
    EXPECT_EQ(path, scratch.path() + L"\\SkinH_EL.dll");
    EXPECT_FALSE(attach_skin(libraries, path, skin, L"", 0, 0, 0));
    EXPECT_EQ(libraries.size(), 0u);
}

TEST_F(SkinBindingTest, LibraryWithoutTheEntryPointIsReleasedAgain) {
    const std::wstring path = beside(L"no_entry_skin.dll");
    ASSERT_FALSE(loaded(path));
    EXPECT_FALSE(attach_skin(libraries, path, skin, L"", 0, 0, 0));
    EXPECT_EQ(libraries.size(), 0u);
    EXPECT_FALSE(loaded(path));

    // It is a near miss: the entry is there under its decorated name only.
    UniqueModule m(LoadLibraryW(path.c_str()));
    ASSERT_TRUE(m);
    EXPECT_NE(GetProcAddress(m.get(), "SkinH_AttachRes@24"), nullptr);
}

TEST_F(SkinBindingTest, LibraryBoundBeforeStaysEvenWithoutTheEntryPoint) {
    const std::wstring path = beside(L"no_entry_skin.dll");
    HMODULE m = libraries.add(path, UniqueModule(LoadLibraryW(path.c_str())));
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(attach_skin(libraries, path, skin, L"", 0, 0, 0));
    EXPECT_EQ(libraries.size(), 1u);
    EXPECT_EQ(libraries.find(path), m);
    EXPECT_TRUE(loaded(path));
}

TEST_F(SkinBindingTest, EntryThatRefusesLeavesTheLibraryLoadedAndAttachFalse) {
    const std::wstring path = beside(L"fake_skin_refuses.dll");
    EXPECT_FALSE(attach_skin(libraries, path, skin, L"", 0, 0, 0));
    ASSERT_EQ(libraries.size(), 1u);
    HMODULE m = libraries.find(path);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m, GetModuleHandleW(path.c_str()));
    EXPECT_EQ(calls(m), 1);
}

TEST_F(SkinBindingTest, SecondBindInOtherCaseReusesTheModule) {
    const std::wstring path = beside(L"fake_skin_records.dll");
    EXPECT_TRUE(attach_skin(libraries, path, skin, L"", 0, 0, 0));
    EXPECT_TRUE(attach_skin(libraries, upper(path), skin, L"", 0, 0, 0));
    ASSERT_EQ(libraries.size(), 1u);
    EXPECT_EQ(calls(libraries.find(path)), 2);
    // Loaded once only: one release unloads it.
    libraries.release_all();
    EXPECT_FALSE(loaded(path));
}

TEST_F(SkinBindingTest, RelativePathIsTakenAgainstTheCurrentDirectory) {
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.c_str()));
    const bool attached = attach_skin(libraries, L"fake_skin_records.dll", skin, L"", 0, 0, 0);
    SetCurrentDirectoryW(before);
    EXPECT_TRUE(attached);
    EXPECT_NE(libraries.find(beside(L"fake_skin_records.dll")), nullptr);
}

struct ArgumentCase {
    const char* what;
    const wchar_t* text;
    int a, b, c;
    const char* text_seen;  // nullptr: a null pointer arrived
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const ArgumentCase& c, std::ostream* os) {
    *os << c.what;
}

class SkinArgumentsTest : public SkinBindingTest,
                          public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(SkinArgumentsTest, ReachTheEntryPointAsGiven) {
    const ArgumentCase& c = GetParam();
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(
        attach_skin(libraries, beside(L"fake_skin_records.dll"), skin, c.text, c.a, c.b, c.c));
    const FakeSkinCall* call = last_call(libraries.find(beside(L"fake_skin_records.dll")));
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->data, skin.data());
    EXPECT_EQ(call->size, static_cast<int>(skin.size()));
    if (c.text_seen == nullptr) {
        EXPECT_EQ(call->text, nullptr);
    } else {
        ASSERT_NE(call->text, nullptr);
        EXPECT_STREQ(call->text_copy, c.text_seen);
    }
    EXPECT_EQ(call->a, c.a);
    EXPECT_EQ(call->b, c.b);
    EXPECT_EQ(call->c, c.c);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SkinArgumentsTest,
    ::testing::Values(ArgumentCase{"the program's call", L"", 0, 0, 0, nullptr},
                      ArgumentCase{"a text and integers", L"blue-7", 1, -2, 300000, "blue-7"}),
    ::tovrelle::test::NameBy<&ArgumentCase::what>{});

TEST(EmbeddedSkin, IsASkinFileTheLibraryTakes) {
    const std::vector<std::uint8_t> data = embedded_skin(nullptr);
    ASSERT_GE(data.size(), 4u);
    EXPECT_EQ(std::string(data.begin(), data.begin() + 4), ".SHE");
    EXPECT_EQ(skinh::read_skin(data.data(), static_cast<int>(data.size())).code, skinh::Code::kOk);
    // A fresh copy each time, not the resource itself.
    EXPECT_NE(embedded_skin(nullptr).data(), data.data());
}

// The created handler's skin steps on the program's own window, with SkinH_EL.dll beside this
// test as it is beside tovrelle.exe.
TEST(DressWindow, TheWindowShowsTheEmbeddedSkinFromBesideTheExecutable) {
    Program program;
    ProgramState& state = program.state();
    state.run_directory = exe_directory();
    bool visible_when_dressed = true;
    program.window().events().created = [&] {
        visible_when_dressed = IsWindowVisible(program.window().hwnd()) != FALSE;
        dress_window(program);
    };
    ASSERT_TRUE(program.window().create(GetModuleHandleW(nullptr)));
    HWND hwnd = program.window().hwnd();
    SetForegroundWindow(hwnd);
    test::pump(300ms, &program.window());

    EXPECT_FALSE(visible_when_dressed);
    EXPECT_EQ(state.skin_library_path, state.run_directory + L"\\SkinH_EL.dll");
    EXPECT_EQ(state.skin_data, embedded_skin(nullptr));
    EXPECT_EQ(program.libraries().size(), 1u);
    const skinh::ReadResult skin =
        skinh::read_skin(state.skin_data.data(), static_cast<int>(state.skin_data.size()));
    ASSERT_EQ(skin.code, skinh::Code::kOk);
    // An empty spot of the window, and one in the status line right of its text.
    EXPECT_EQ(test::client_pixel(hwnd, 150, 70), skin.skin.background);
    EXPECT_EQ(test::client_pixel(hwnd, 385, 12), skin.skin.background);

    DestroyWindow(hwnd);
    program.libraries().release_all();
    EXPECT_EQ(GetModuleHandleW(state.skin_library_path.c_str()), nullptr);
}

}  // namespace
}  // namespace tovrelle
