#include "util/DesktopFolder.h"

#include <gtest/gtest.h>
#include <QDir>

#include <filesystem>

namespace quillane {
namespace {

TEST(DesktopFolder, DesktopWhenItExistsElseHomeWithOneTrailingSeparator) {
    const std::string home = QDir::homePath().toStdString();
    const std::string desktop = home + "/Desktop";
    std::filesystem::create_directories(desktop);
    EXPECT_EQ(DesktopFolder(), desktop + "/");

    // Many accounts have no desktop folder: the home folder stands in.
    std::filesystem::rename(desktop, home + "/Desktop-away");
    EXPECT_EQ(DesktopFolder(), home + "/");
    std::filesystem::rename(home + "/Desktop-away", desktop);
}

}  // namespace
}  // namespace quillane
