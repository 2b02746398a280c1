#include "base/unique_resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace tovrelle {
namespace {

std::vector<int> g_closed;

struct FakePolicy {
    using Handle = int;
    static Handle invalid() noexcept { return 0; }
    static void close(Handle h) noexcept { g_closed.push_back(h); }
};
using Fake = UniqueResource<FakePolicy>;

class UniqueResourceTest : public ::testing::Test {
  protected:
    void SetUp() override { g_closed.clear(); }
};

TEST_F(UniqueResourceTest, ClosesOnceWhenScopeEnds) {
    { Fake a(7); }
    EXPECT_EQ(g_closed, std::vector<int>{7});
}

TEST_F(UniqueResourceTest, MoveTransfersOwnershipWithoutClosing) {
    Fake a(3);
    Fake b(std::move(a));
    EXPECT_FALSE(a.valid());
    EXPECT_EQ(b.get(), 3);
    EXPECT_TRUE(g_closed.empty());
    Fake c(9);
    c = std::move(b);  // the 9 is released, the 3 moves on
    EXPECT_EQ(g_closed, std::vector<int>{9});
    EXPECT_EQ(c.get(), 3);
}

TEST_F(UniqueResourceTest, ResetAndReleaseAndSelfMove) {
    Fake a(1);
    a.reset(2);
    EXPECT_EQ(g_closed, std::vector<int>{1});
    const int raw = a.release();
    EXPECT_EQ(raw, 2);
    EXPECT_FALSE(a);
    a.reset();  // owning nothing: nothing to close
    EXPECT_EQ(g_closed, std::vector<int>{1});
    Fake b(5);
    Fake& alias = b;
    b = std::move(alias);
    EXPECT_EQ(b.get(), 5);
    EXPECT_EQ(g_closed, std::vector<int>{1});
}

}  // namespace
}  // namespace tovrelle
