#include "text/font_locator.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace tickvane::text {
namespace {

using Accept = FontRequest::Accept;

// fonts-vlgothic is one of the device's packages, so its absence is a failure here.
TEST(FontLocator, DeviceRequestsFindVlGothic)
{
    const auto font = locate_font(japanese_ui_font_requests());
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->family, "VL Gothic");
    EXPECT_EQ(access(font->path.c_str(), R_OK), 0) << font->path;
}

TEST(FontLocator, NamedFamilyRefusesFontconfigsSubstitute)
{
    const FontRequest missing[] = {{"No Such Family Tickvane", Accept::NamedFamily}};
    EXPECT_FALSE(locate_font(missing).has_value());
    // The same request accepting anything shows that fontconfig did offer a stand-in.
    const FontRequest lenient[] = {{"No Such Family Tickvane", Accept::Anything}};
    EXPECT_TRUE(locate_font(lenient).has_value());
}

TEST(FontLocator, FallsThroughToTheNextRequest)
{
    const FontRequest requests[] = {
        {"No Such Family Tickvane", Accept::NamedFamily},
        {"sans:lang=ja", Accept::Japanese},
    };
    const auto font = locate_font(requests);
    ASSERT_TRUE(font.has_value());
    EXPECT_FALSE(font->path.empty());
    EXPECT_FALSE(locate_font({}).has_value());
}

}  // namespace
}  // namespace tickvane::text
