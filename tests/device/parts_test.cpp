// The device's parts: made on first use, dropped together, the last made first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parts/part.h"

namespace tickvane::device {
namespace {

std::vector<std::string> dropped;
int live_b = 0;

struct A {
    int value = 0;
    ~A();
};
struct B {
    int value = 0;
    B() { ++live_b; }
    ~B()
    {
        --live_b;
        dropped.push_back("B");
    }
};
struct C {
    int value = 0;
    ~C() { dropped.push_back("C"); }
};

constinit parts::PartOf<A> a;
constinit parts::PartOf<B> b;
constinit parts::PartOf<C> c;

// A destructor that reaches a part already dropped makes it again.
A::~A()
{
    dropped.push_back("A");
    b.get().value = 1;
}

TEST(DeviceParts, AreMadeOnFirstUseAndDroppedTogetherTheLastMadeFirst)
{
    parts::drop_all();
    dropped.clear();
    struct Case {
        std::vector<char> made;
        std::vector<std::string> dropped;
    };
    for (const Case& t : std::vector<Case>{
             {{'C', 'B'}, {"B", "C"}},
             {{'B', 'C', 'B'}, {"C", "B"}},  // a part used again is not made again
             {{'A', 'B'}, {"B", "A", "B"}},  // A's destructor makes B again: that one goes too
             {{'B', 'A'}, {"A", "B"}},       // while B still stands, it reaches that one
         }) {
        for (char part : t.made)
            part == 'A' ? (void)a.get() : part == 'B' ? (void)b.get() : (void)c.get();
        parts::drop_all();
        EXPECT_EQ(dropped, t.dropped);
        EXPECT_EQ(live_b, 0);
        dropped.clear();
    }
}

TEST(DeviceParts, KeepTheirStateUntilDropped)
{
    parts::drop_all();
    c.get().value = 7;
    EXPECT_EQ(&c.get(), &c.get());
    EXPECT_EQ(c.get().value, 7);
    parts::drop_all();
    EXPECT_EQ(c.get().value, 0);
    parts::drop_all();
}

}  // namespace
}  // namespace tickvane::device
