// The parts of dialog_latency that decide what it measures: when a frame counts as the
// painted dialog, when as closed again, and the memory it reads.
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "dialog_look.h"
#include "proc_memory.h"

using namespace tickvane::bench;

namespace {

constexpr uint32_t kClockBackground = 0x000000, kCaption = 0x2C5AAB, kWhite = 0xFFFFFF, kDark = 0x404040;

// A 240 x 320 screen to paint the dialog's parts into, one at a time.
class FakeScreen {
public:
    FakeScreen() : pixels_(240 * 320, kClockBackground) {}
    void fill(ScreenRect r, uint32_t rgb)
    {
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                pixels_[static_cast<size_t>(y * 240 + x)] = rgb;
    }
    void caption() { fill({1, 27, 204, 20}, kCaption); }
    void face() { fill({1, 47, 204, 161}, kDialogFace); }
    void close_button(bool with_text)
    {
        ScreenRect b = kOptionsDialog.close_button;
        fill(b, kDialogFace);
        fill({b.x, b.y, b.width, 1}, kWhite);
        fill({b.x, b.y + b.height - 1, b.width, 1}, kDark);
        if (with_text)
            for (int i = 0; i < 3; ++i)  // three glyphs' worth of strokes
                fill({b.x + 20 + i * 14, b.y + 6, 2, 10}, 0x000000);
    }
    void whole_dialog()
    {
        caption();
        face();
        close_button(true);
    }
    ScreenPixels pixels() const
    {
        return [this](int x, int y) { return pixels_[static_cast<size_t>(y * 240 + x)]; };
    }

private:
    std::vector<uint32_t> pixels_;
};

TEST(DialogLook, PaintedOnlyWhenCaptionFaceAndCloseButtonAllShow)
{
    FakeScreen s;
    EXPECT_FALSE(dialog_painted(s.pixels(), kOptionsDialog));
    EXPECT_TRUE(dialog_gone(s.pixels(), kOptionsDialog));
    s.caption();
    EXPECT_FALSE(dialog_painted(s.pixels(), kOptionsDialog)) << "caption alone";
    s.face();
    EXPECT_FALSE(dialog_painted(s.pixels(), kOptionsDialog)) << "no Close button yet";
    s.close_button(false);
    EXPECT_FALSE(dialog_painted(s.pixels(), kOptionsDialog)) << "button without its text";
    s.close_button(true);
    EXPECT_TRUE(dialog_painted(s.pixels(), kOptionsDialog));
    EXPECT_FALSE(dialog_gone(s.pixels(), kOptionsDialog));
}

TEST(DialogLook, AnyRemainingPartOfTheDialogKeepsItOpen)
{
    FakeScreen only_caption, only_face;
    only_caption.caption();
    only_face.face();
    EXPECT_FALSE(dialog_gone(only_caption.pixels(), kOptionsDialog));
    EXPECT_FALSE(dialog_gone(only_face.pixels(), kOptionsDialog));
}

TEST(DialogLook, OtherLooksAreNotTheDialog)
{
    FakeScreen grey_caption;  // a face-coloured caption: another window, not ours
    grey_caption.whole_dialog();
    grey_caption.fill({1, 27, 204, 20}, kDialogFace);
    EXPECT_FALSE(dialog_painted(grey_caption.pixels(), kOptionsDialog));

    FakeScreen white_face;  // a face that is not the dialog grey
    white_face.whole_dialog();
    white_face.fill({kOptionsDialog.face.x, kOptionsDialog.face.y, 1, 1}, kWhite);
    EXPECT_FALSE(dialog_painted(white_face.pixels(), kOptionsDialog));

    FakeScreen pressed;  // dark top edge, light bottom: not the button at rest
    pressed.whole_dialog();
    ScreenRect b = kOptionsDialog.close_button;
    pressed.fill({b.x, b.y, b.width, 1}, kDark);
    pressed.fill({b.x, b.y + b.height - 1, b.width, 1}, kWhite);
    EXPECT_FALSE(close_button_painted(pressed.pixels(), b));

    EXPECT_TRUE(is_caption_blue(kCaption));
    for (uint32_t not_blue : {kDialogFace, kWhite, 0x000000u, 0x8080C0u, 0xC00000u, 0x00C0C0u})
        EXPECT_FALSE(is_caption_blue(not_blue)) << std::hex << not_blue;
}

TEST(ProcStatus, ReadsResidentAndPeakInKilobytes)
{
    auto m = parse_proc_status(
        "Name:\tzubo.exe\nVmPeak:\t  20000 kB\nVmHWM:\t    9876 kB\nVmRSS:\t    5432 kB\n"
        "Threads:\t1\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->rss_kb, 5432);
    EXPECT_EQ(m->hwm_kb, 9876);
    auto last_line_unterminated = parse_proc_status("VmRSS:\t1 kB\nVmHWM:\t2 kB");
    ASSERT_TRUE(last_line_unterminated);
    EXPECT_EQ(last_line_unterminated->hwm_kb, 2);
}

TEST(ProcStatus, RefusesMissingOrMalformedFields)
{
    for (const char* text :
         {"", "VmRSS:\t5 kB\n", "VmHWM:\t5 kB\n", "VmRSS:\t\nVmHWM:\t5 kB\n", "VmRSS:\tabc kB\nVmHWM:\t5 kB\n",
          "VmRSS:\t5 MB\nVmHWM:\t5 kB\n", "VmRSS:\t-5 kB\nVmHWM:\t5 kB\n", "VmRSS:\t5\nVmHWM:\t5 kB\n",
          "VmRSS:\t99999999999999999999999 kB\nVmHWM:\t5 kB\n", "XVmRSS:\t5 kB\nVmHWM:\t5 kB\n"})
        EXPECT_FALSE(parse_proc_status(text)) << text;
}

TEST(ProcStatus, ReadsALiveProcessAndNotAnEndedOne)
{
    auto self = read_proc_memory(getpid());
    ASSERT_TRUE(self);
    EXPECT_GT(self->rss_kb, 0);
    EXPECT_GE(self->hwm_kb, self->rss_kb);
    EXPECT_FALSE(read_proc_memory(-1));
}

}  // namespace
