#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "display/display.h"
#include "test_pattern.h"

namespace fs = std::filesystem;
using namespace tickvane::display;
using namespace tickvane::display::testing;

namespace {

// The file's pixels as 0x00RRGGBB, empty unless it is an 8-bit RGB PNG of the given size.
std::vector<uint32_t> read_rgb8_png(const std::string& path, png_uint_32 width, png_uint_32 height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    bool as_expected = image.format == PNG_FORMAT_RGB && image.width == width && image.height == height;
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) || !as_expected)
        return {};
    std::vector<uint32_t> pixels;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        pixels.push_back(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    return pixels;
}

class HeadlessPng : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/tickvane-headless-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename());
        return names;
    }

    fs::path dir;
    Framebuffer screen{240, 320};
    const std::vector<Rect> small_change{{10, 10, 5, 5}};
};

TEST_F(HeadlessPng, EveryPresentReplacesTheWholeScreenAsEightBitRgb)
{
    auto display = open_headless(240, 320, dir / "screen.png");
    display->present(Framebuffer(240, 320, 0xABCDEF).pixels(), small_change);
    display->present(screen.pixels(), small_change);

    std::vector<uint32_t> got = read_rgb8_png(dir / "screen.png", 240, 320);
    ASSERT_EQ(got.size(), 240u * 320u);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x)
            ASSERT_EQ(got[y * 240 + x], pattern_pixel(x, y)) << x << "," << y;
    EXPECT_EQ(files(), std::vector<std::string>{"screen.png"}) << "no temporary file may remain";
}

TEST_F(HeadlessPng, WritesNothingWithoutAChangeAPathOrAScreen)
{
    open_headless(240, 320, dir / "a.png")->present(screen.pixels(), {});
    open_headless(240, 320, "")->present(screen.pixels(), small_change);
    auto display = open_headless(240, 320, dir / "b.png");
    display->present(Pixels{}, small_change);
    display->present(Pixels{screen.words.data(), 240, 320, 100}, small_change);  // rows overlap
    EXPECT_TRUE(files().empty());
}

TEST_F(HeadlessPng, FailuresAreReportedOnceLeaveNothingBehindAndPassWhenFixed)
{
    auto display = open_headless(240, 320, dir / "later" / "screen.png");
    fs::create_directory(dir / "in-the-way.png");
    auto blocked = open_headless(240, 320, dir / "in-the-way.png");

    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i)
        display->present(screen.pixels(), small_change);
    blocked->present(screen.pixels(), small_change);
    std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("later/screen.png"), std::string::npos) << log;
    EXPECT_EQ(log.find("later/screen.png"), log.rfind("later/screen.png")) << log;
    EXPECT_NE(log.find("in-the-way.png"), std::string::npos) << log;
    EXPECT_EQ(files(), std::vector<std::string>{"in-the-way.png"});

    fs::create_directory(dir / "later");
    display->present(screen.pixels(), small_change);
    EXPECT_FALSE(read_rgb8_png(dir / "later" / "screen.png", 240, 320).empty());
}

// The picture replaces only a regular file of this user's: a link, a pipe standing
// for a device node, or another user's file that the setting names stays.
TEST_F(HeadlessPng, ReplacesOnlyARegularFileOfTheUsersOwn)
{
    std::ofstream(dir / "kept") << "kept";
    fs::create_symlink(dir / "kept", dir / "link.png");
    ASSERT_EQ(mkfifo((dir / "pipe.png").c_str(), 0600), 0);
    std::ofstream(dir / "theirs.png") << "theirs";
    bool theirs = geteuid() == 0 && chown((dir / "theirs.png").c_str(), 65534, 65534) == 0;
    ::testing::internal::CaptureStderr();
    for (const char* name : {"link.png", "pipe.png", "theirs.png"})
        open_headless(240, 320, dir / name)->present(screen.pixels(), small_change);
    std::string log = ::testing::internal::GetCapturedStderr();
    auto text = [&](const char* name) {
        std::ifstream in(dir / name);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_TRUE(fs::is_symlink(dir / "link.png"));
    EXPECT_EQ(text("kept"), "kept");
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.png"));
    if (theirs)
        EXPECT_EQ(text("theirs.png"), "theirs");
    EXPECT_NE(log.find("not a regular file of this user"), std::string::npos) << log;
    EXPECT_EQ(files().size(), 4u) << "no temporary file may remain";
}

TEST(HeadlessWait, EndsAtTheTimeoutOrWhenADescriptorBecomesReadable)
{
    using Clock = std::chrono::steady_clock;
    auto display = open_headless(240, 320, "");
    auto start = Clock::now();
    display->wait(80, {});
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(80));

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(write(fds[1], "x", 1), 1);
    });
    start = Clock::now();
    display->wait(-1, {-1, fds[0]});  // a negative entry is skipped, as poll() does
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(40));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    writer.join();
    close(fds[0]);
    close(fds[1]);
}

}  // namespace
