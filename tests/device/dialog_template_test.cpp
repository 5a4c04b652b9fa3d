// Dialog templates: the options dialog exactly as the clock's resources declare it,
// the extended form, and damaged templates refused without reading past their end.
#include <gtest/gtest.h>

#include "res/dialog_template.h"
#include "res/resources.h"
#include "resource.h"
#include "template_bytes.h"
#include "testing.h"

using namespace tickvane::device;
namespace dt = tickvane::device::testing;

namespace {

const ResEntry& options_dialog()
{
    const ResEntry* e = find_resource(dt::instance(), MAKEINTRESOURCEW(IDD_OPTION), RT_DIALOG);
    if (e == nullptr)
        throw std::runtime_error("dialog 123 missing from the embedded resources");
    return *e;
}

struct ExpectedItem {
    int id;
    uint16_t cls;
    std::u16string text;
    int x, y, cx, cy;
    DWORD style;
};

void expect_item(const DialogItemTemplate& got, const ExpectedItem& want, size_t index)
{
    SCOPED_TRACE("item " + std::to_string(index));
    EXPECT_EQ(got.id, want.id);
    EXPECT_TRUE(got.window_class.is_ordinal);
    EXPECT_EQ(got.window_class.ordinal, want.cls);
    EXPECT_FALSE(got.text.is_ordinal);
    EXPECT_EQ(got.text.text, want.text);
    EXPECT_EQ(std::vector<int>({got.x, got.y, got.cx, got.cy}), std::vector<int>({want.x, want.y, want.cx, want.cy}));
    EXPECT_EQ(got.style, want.style);
    EXPECT_EQ(got.ex_style, 0u);
    EXPECT_TRUE(got.creation_data.empty());
}

// A DLGTEMPLATEEX with a font, help ids, a 32-bit id, a control by class name and
// one by ordinal with its text as an ordinal and creation data.
std::vector<uint8_t> extended_template()
{
    TemplateBytes t;
    t.u16(1).u16(0xFFFF).u32(77).u32(0x00000100).u32(0x80C800C0).u16(2);
    t.u16(5).u16(6).u16(100).u16(50);
    t.ordinal(9).str(u"MyDialog").str(u"Odd");  // odd title: the first item needs padding
    t.u16(9).u16(700).u8(1).u8(128).str(u"MS UI Gothic");
    t.align4().u32(5).u32(0x4).u32(0x50000000).u16(1).u16(2).u16(30).u16(12).u32(0xFFFFFFFF);
    t.str(u"sTaTiC").str(u"x").u16(0);
    t.align4().u32(0).u32(0).u32(0x50010000).u16((unsigned)-3).u16(4).u16(8).u16(9).u32(70000);
    t.ordinal(0x80).ordinal(42).u16(3).u8(0xAA).u8(0xBB).u8(0xCC);
    return t.b;
}

}  // namespace

TEST(DialogTemplate, OptionsDialogCarriesExactlyTheDeclaredWindowAndControls)
{
    dt::reset();
    const ResEntry& e = options_dialog();
    std::optional<DialogTemplate> t = parse_dialog_template(e.data, e.size);
    ASSERT_TRUE(t.has_value());
    EXPECT_FALSE(t->extended);
    EXPECT_EQ(t->style, 0x80C80048u);
    EXPECT_EQ(t->ex_style, 0u);
    EXPECT_EQ(std::vector<int>({t->x, t->y, t->cx, t->cy}), std::vector<int>({0, 0, 136, 108}));
    EXPECT_TRUE(t->menu.is_ordinal && t->menu.ordinal == 0);
    EXPECT_TRUE(t->window_class.is_ordinal && t->window_class.ordinal == 0);
    EXPECT_EQ(t->title, u"OPTION");
    EXPECT_EQ(t->point_size, 8);
    EXPECT_EQ(t->face, u"MS Shell Dlg");
    const std::vector<ExpectedItem> want = {
        {IDOK, kClassButton, u"適用", 7, 87, 50, 14, 0x50010001},
        {IDCANCEL, kClassButton, u"閉じる", 71, 87, 50, 14, 0x50010000},
        {-1, kClassStatic, u"秒", 119, 23, 10, 8, 0x50020000},
        {-1, kClassStatic, u"分", 56, 23, 10, 8, 0x50020000},
        {IDC_MINUTES, kClassComboBox, u"", 7, 20, 48, 72, 0x50210103},
        {IDC_SECONDS, kClassComboBox, u"", 70, 21, 48, 63, 0x50210103},
    };
    ASSERT_EQ(t->items.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        expect_item(t->items[i], want[i], i);
}

TEST(DialogTemplate, ExtendedFormReadsFontDetailsLongIdsOrdinalsAndCreationData)
{
    std::vector<uint8_t> b = extended_template();
    std::optional<DialogTemplate> t = parse_dialog_template(b.data(), b.size());
    ASSERT_TRUE(t.has_value());
    EXPECT_TRUE(t->extended);
    EXPECT_EQ(t->style, 0x80C800C0u);
    EXPECT_EQ(t->ex_style, 0x100u);
    EXPECT_EQ(std::vector<int>({t->x, t->y, t->cx, t->cy}), std::vector<int>({5, 6, 100, 50}));
    EXPECT_TRUE(t->menu.is_ordinal);
    EXPECT_EQ(t->menu.ordinal, 9);
    EXPECT_FALSE(t->window_class.is_ordinal);
    EXPECT_EQ(t->window_class.text, u"MyDialog");
    EXPECT_EQ(t->title, u"Odd");
    EXPECT_EQ(t->point_size, 9);
    EXPECT_EQ(t->weight, 700);
    EXPECT_TRUE(t->italic);
    EXPECT_EQ(t->charset, 128);
    EXPECT_EQ(t->face, u"MS UI Gothic");
    ASSERT_EQ(t->items.size(), 2u);
    const DialogItemTemplate& a = t->items[0];
    EXPECT_EQ(a.id, -1);
    EXPECT_EQ(a.style, 0x50000000u);
    EXPECT_EQ(a.ex_style, 0x4u);
    EXPECT_TRUE(a.window_class.is_ordinal);
    EXPECT_EQ(a.window_class.ordinal, kClassStatic);  // names map to ordinals whatever their case
    EXPECT_EQ(a.text.text, u"x");
    const DialogItemTemplate& b2 = t->items[1];
    EXPECT_EQ(b2.id, 70000);
    EXPECT_EQ(b2.x, -3);
    EXPECT_EQ(b2.window_class.ordinal, kClassButton);
    EXPECT_TRUE(b2.text.is_ordinal);
    EXPECT_EQ(b2.text.ordinal, 42);
    EXPECT_EQ(b2.creation_data, (std::vector<uint8_t>{0xAA, 0xBB, 0xCC}));
}

TEST(DialogTemplate, StandardFormWithoutFontReadsNoFontBlock)
{
    TemplateBytes t;
    t.u32(0x80C00000).u32(0).u16(1).u16(0).u16(0).u16(40).u16(20);
    t.u16(0).u16(0).str(u"T");  // no DS_SETFONT: the items follow the title
    t.align4().u32(0x50000003).u32(0).u16(1).u16(1).u16(10).u16(10).u16(1013).str(u"ComboBox").u16(0).u16(0);
    std::optional<DialogTemplate> d = parse_dialog_template(t.b.data(), t.b.size());
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->point_size, 0);
    EXPECT_TRUE(d->face.empty());
    ASSERT_EQ(d->items.size(), 1u);
    EXPECT_EQ(d->items[0].id, 1013);
    EXPECT_EQ(d->items[0].window_class.ordinal, kClassComboBox);
    EXPECT_FALSE(d->items[0].text.is_ordinal);  // no text is the empty string, not ordinal 0
    EXPECT_TRUE(d->items[0].text.text.empty());
}

TEST(DialogTemplate, EveryTruncationOfRealAndExtendedTemplatesIsRefused)
{
    dt::reset();
    const ResEntry& e = options_dialog();
    std::vector<uint8_t> ex = extended_template();
    for (auto [bytes, size] : {std::pair{e.data, (size_t)e.size}, std::pair{(const uint8_t*)ex.data(), ex.size()}}) {
        ASSERT_TRUE(parse_dialog_template(bytes, size).has_value());
        for (size_t n = 0; n < size; ++n) {
            std::vector<uint8_t> cut = prefix(bytes, n);
            EXPECT_FALSE(parse_dialog_template(cut.data(), cut.size()).has_value()) << "length " << n;
        }
    }
    EXPECT_FALSE(parse_dialog_template(nullptr, 400).has_value());
}

TEST(DialogTemplate, ImpossibleContentIsRefused)
{
    dt::reset();
    const ResEntry& e = options_dialog();
    std::vector<uint8_t> base(e.data, e.data + e.size);
    auto refused = [](std::vector<uint8_t> b) { return !parse_dialog_template(b.data(), b.size()).has_value(); };

    std::vector<uint8_t> absurd = base;
    absurd[8] = 0xFF, absurd[9] = 0xFF;  // 65535 controls in a template that holds six
    EXPECT_TRUE(refused(absurd));

    std::vector<uint8_t> version2 = extended_template();
    version2[0] = 2;
    EXPECT_TRUE(refused(version2));

    auto titled = [](bool terminated) {
        TemplateBytes t;
        t.u32(0).u32(0).u16(0).u16(0).u16(0).u16(1).u16(1).u16(0).u16(0).u16('a').u16('b');
        return terminated ? t.u16(0).b : t.b;
    };
    EXPECT_FALSE(refused(titled(true)));
    EXPECT_TRUE(refused(titled(false)));

    auto with_class = [](unsigned ordinal) {
        TemplateBytes t;
        t.u32(0).u32(0).u16(1).u16(0).u16(0).u16(1).u16(1).u16(0).u16(0).u16(0);
        return t.align4().u32(0).u32(0).u16(0).u16(0).u16(1).u16(1).u16(5).ordinal(ordinal).u16(0).u16(0).b;
    };
    EXPECT_FALSE(refused(with_class(kClassComboBox)));
    EXPECT_TRUE(refused(with_class(0x86)));
    EXPECT_TRUE(refused(with_class(0x7F)));

    std::vector<uint8_t> long_data = extended_template();
    long_data[long_data.size() - 5] = 0xFF;  // creation data said to run far past the end
    EXPECT_TRUE(refused(long_data));
}
