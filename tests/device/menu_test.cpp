// Menus: the clock's menu bar resource, nested and extended templates, damaged ones
// refused, and handles that die once and are never handed out again.
#include <gtest/gtest.h>

#include <set>

#include "menus/menu_template.h"
#include "menus/menus.h"
#include "res/resources.h"
#include "resource.h"
#include "template_bytes.h"
#include "testing.h"

using namespace tickvane::device;
namespace dt = tickvane::device::testing;

namespace {

const ResEntry& main_menu_resource()
{
    const ResEntry* e = find_resource(dt::instance(), MAKEINTRESOURCEW(IDR_MAINMENU), RT_MENU);
    if (e == nullptr)
        throw std::runtime_error("menu 101 missing from the embedded resources");
    return *e;
}

// File > (Open, separator, Recent > (One)), then a greyed last item.
std::vector<uint8_t> nested_template()
{
    TemplateBytes t;
    t.u16(0).u16(0);
    t.u16(MF_POPUP).str(u"&File");
    t.u16(0).u16(11).str(u"Open");
    t.u16(0).u16(0).u16(0);  // separator
    t.u16(MF_POPUP | MF_END).str(u"Recent");
    t.u16(MF_END).u16(12).str(u"One");
    t.u16(MF_GRAYED | MF_END).u16(13).str(u"Quit");
    return t.b;
}

std::vector<uint8_t> extended_template()
{
    TemplateBytes t;
    t.u16(1).u16(4).u32(0);
    t.align4().u32(0).u32(0).u32(0).u16(0x01).str(u"Pop").align4().u32(0);
    t.align4().u32(0).u32(0x3).u32(70001).u16(0x80).str(u"Inside");
    t.align4().u32(MF_SEPARATOR).u32(0).u32(0).u16(0).str(u"");
    t.align4().u32(0).u32(0).u32(5).u16(0x80).str(u"Last");
    return t.b;
}

}  // namespace

TEST(Menus, ClockMenuHoldsOptionsThenExitWithNoPopUps)
{
    dt::reset();
    HMENU m = LoadMenuW(dt::instance(), MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_NE(m, nullptr);
    const Menu* menu = find_menu(m);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 2u);
    EXPECT_EQ(menu->items[0].id, (UINT)IDM_OPTION);
    EXPECT_EQ(menu->items[0].text, u"オプション");
    EXPECT_EQ(menu->items[1].id, (UINT)IDM_EXIT);
    EXPECT_EQ(menu->items[1].text, u"プログラムの終了");
    for (const MenuItem& item : menu->items) {
        EXPECT_EQ(item.flags, 0u);
        EXPECT_TRUE(item.popup.empty());
    }
}

TEST(Menus, NestedAndExtendedTemplatesKeepStructureAndFlags)
{
    std::vector<uint8_t> b = nested_template();
    std::optional<Menu> m = parse_menu_template(b.data(), b.size());
    ASSERT_TRUE(m.has_value());
    ASSERT_EQ(m->items.size(), 2u);
    const MenuItem& file = m->items[0];
    EXPECT_EQ(file.flags, (UINT)MF_POPUP);
    EXPECT_EQ(file.text, u"&File");
    ASSERT_EQ(file.popup.size(), 3u);
    EXPECT_EQ(file.popup[0].id, 11u);
    EXPECT_EQ(file.popup[1].flags, (UINT)MF_SEPARATOR);
    EXPECT_EQ(file.popup[2].flags, (UINT)MF_POPUP);  // MF_END is not kept
    ASSERT_EQ(file.popup[2].popup.size(), 1u);
    EXPECT_EQ(file.popup[2].popup[0].id, 12u);
    EXPECT_EQ(m->items[1].flags, (UINT)MF_GRAYED);
    EXPECT_EQ(m->items[1].id, 13u);

    std::vector<uint8_t> x = extended_template();
    std::optional<Menu> e = parse_menu_template(x.data(), x.size());
    ASSERT_TRUE(e.has_value());
    ASSERT_EQ(e->items.size(), 3u);
    EXPECT_EQ(e->items[0].flags, (UINT)MF_POPUP);
    ASSERT_EQ(e->items[0].popup.size(), 1u);
    EXPECT_EQ(e->items[0].popup[0].id, 70001u);
    EXPECT_EQ(e->items[0].popup[0].flags, (UINT)MF_GRAYED);
    EXPECT_EQ(e->items[1].flags, (UINT)MF_SEPARATOR);
    EXPECT_EQ(e->items[2].id, 5u);  // after the pop-up's last item, the top level goes on
    EXPECT_EQ(e->items[2].text, u"Last");
}

TEST(Menus, DamagedTemplatesAreRefused)
{
    dt::reset();
    const ResEntry& real = main_menu_resource();
    std::vector<uint8_t> nested = nested_template(), ex = extended_template();
    for (auto [bytes, size] :
         {std::pair{real.data, (size_t)real.size}, std::pair{(const uint8_t*)nested.data(), nested.size()},
          std::pair{(const uint8_t*)ex.data(), ex.size()}}) {
        ASSERT_TRUE(parse_menu_template(bytes, size).has_value());
        for (size_t n = 0; n < size; ++n) {
            std::vector<uint8_t> cut = prefix(bytes, n);
            EXPECT_FALSE(parse_menu_template(cut.data(), cut.size()).has_value()) << "length " << n;
        }
    }
    auto refused = [](const TemplateBytes& t) { return !parse_menu_template(t.b.data(), t.b.size()).has_value(); };
    TemplateBytes no_end;  // no item says it is the last
    no_end.u16(0).u16(0).u16(0).u16(1).str(u"a").u16(0).u16(2).str(u"b");
    EXPECT_TRUE(refused(no_end));
    TemplateBytes deep;
    deep.u16(0).u16(0);
    for (int i = 0; i < 1000; ++i)
        deep.u16(MF_POPUP | MF_END).str(u"p");
    EXPECT_TRUE(refused(deep));
    TemplateBytes version2;
    version2.u16(2).u16(0).u16(MF_END).u16(1).str(u"a");
    EXPECT_TRUE(refused(version2));
    TemplateBytes far_offset;
    far_offset.u16(0).u16(0xFFFF).u16(MF_END).u16(1).str(u"a");
    EXPECT_TRUE(refused(far_offset));
}

TEST(Menus, HandlesDieOnceAndAreNeverReused)
{
    dt::reset();
    std::set<uintptr_t> seen;
    HMENU first = LoadMenuW(dt::instance(), MAKEINTRESOURCEW(IDR_MAINMENU));
    HMENU second = LoadMenuW(dt::instance(), MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    for (HMENU m : {first, second}) {
        EXPECT_GE((uintptr_t)m, 0x10000u);
        EXPECT_LE((uintptr_t)m, 0x7FFFFFFFu);
        seen.insert((uintptr_t)m);
    }
    EXPECT_TRUE(IsMenu(first));
    EXPECT_TRUE(DestroyMenu(first));
    EXPECT_FALSE(IsMenu(first));
    EXPECT_EQ(find_menu(first), nullptr);
    SetLastError(0);
    EXPECT_FALSE(DestroyMenu(first));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_MENU_HANDLE);
    EXPECT_TRUE(IsMenu(second));  // the other menu lives on

    // Destroyed handles are never given out again, however many come and go.
    for (int i = 0; i < 50; ++i) {
        HMENU m = LoadMenuW(dt::instance(), MAKEINTRESOURCEW(IDR_MAINMENU));
        ASSERT_NE(m, nullptr);
        EXPECT_TRUE(seen.insert((uintptr_t)m).second) << "handle given out twice";
        if (i % 2 == 0)
            DestroyMenu(m);
    }
    dt::reset();
    EXPECT_FALSE(IsMenu(second)) << "a fresh device has no menus";
}

TEST(Menus, LoadingWhatIsNotThereFails)
{
    dt::reset();
    EXPECT_EQ(LoadMenuW(dt::instance(), MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(LoadMenuW(dt::instance(), MAKEINTRESOURCEW(IDD_OPTION)), nullptr);  // a dialog, not a menu
    EXPECT_EQ(LoadMenuW((HINSTANCE)(uintptr_t)0x1234, MAKEINTRESOURCEW(IDR_MAINMENU)), nullptr);
    EXPECT_FALSE(DestroyMenu(nullptr));
}
