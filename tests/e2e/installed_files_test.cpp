// What the README's install step puts into a device tree besides the running programs:
// stripped executables, and a desktop entry with its icon in the tree's share folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "bounded_process.h"
#include "installed_tree.h"

using namespace tickvane::e2e;
using std::chrono::seconds;

namespace {

bool on_path(const std::string& program)
{
    return run_bounded({"sh", "-c", "command -v " + program}, environment_with({}), seconds(5)).exit_code == 0;
}

TEST(InstalledFiles, AreStrippedAndTheDesktopEntryStartsTheTreesClockWithTheProgramsIcon)
{
    InstalledTree tree;
    std::string why;
    ASSERT_TRUE(tree.install(TICKVANE_CMAKE, TICKVANE_BUILD_DIR, &why)) << why;
    for (std::string exe : {tree.clock_exe(), tree.root() + "/Windows/tickvane-device"}) {
        Outcome sections = run_bounded({"objdump", "-h", exe}, environment_with({}), seconds(10));
        ASSERT_EQ(sections.exit_code, 0) << sections.output;
        EXPECT_EQ(sections.output.find(".debug_"), std::string::npos) << exe << " keeps its debug information";
        EXPECT_EQ(sections.output.find(".symtab"), std::string::npos) << exe << " keeps its symbol table";
    }

    std::string entry = tree.root() + "/share/applications/tickvane.desktop";
    std::ifstream in(entry);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\nExec=\"" + tree.clock_exe() + "\"\n"), std::string::npos) << text.str();
    std::string icon = tree.root() + "/share/icons/hicolor/32x32/apps/tickvane.png";
    EXPECT_NE(text.str().find("\nIcon=" + icon + "\n"), std::string::npos) << text.str();
    if (on_path("desktop-file-validate")) {
        Outcome valid = run_bounded({"desktop-file-validate", entry}, environment_with({}), seconds(10));
        EXPECT_EQ(valid.exit_code, 0) << valid.output;
    }
    if (on_path("compare")) {
        // The colours of the resource's 32-pixel 16-colour image, which ImageMagick reads from the .ico itself.
        Outcome same = run_bounded({"compare", "-metric", "AE", icon, TICKVANE_RESOURCE_DIR "/zubo.ico[0]", "null:"},
                                   environment_with({}), seconds(10));
        EXPECT_EQ(same.output, "0") << "pixels differ from the icon resource: " << same.output;
    }
}

}  // namespace
