// The Help menu's guide is found for an installed program and for one in a build tree, and
// the program's help file set from it picks the right page.
#include "app/user_guide.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/app_testing.h"
#include "runtime/window/help.h"

namespace carelog::app {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

TEST(UserGuide, AnInstalledProgramFindsTheGuideInItsPrefixsDocumentation) {
  testing::TempWorkingDirectory directory;
  fs::path prefix = directory.path() / "usr";
  Touch(prefix / "bin/carelog");
  Touch(prefix / "share/doc/carelog/guide/index.html");
  std::vector<std::string> places = UserGuidePlaces((prefix / "bin/carelog").string());
  ASSERT_EQ(places.size(), 1u);  // no build cache: no source tree to look in
  window::SetHelpFile("CARELOG.HLP", places);
  EXPECT_EQ(fs::path(window::LocateHelpFile()), prefix / "share/doc/carelog/guide/index.html");
  // A help file of that name in the data folder comes first, as the name itself is asked for.
  Touch("CARELOG.HLP");
  EXPECT_EQ(window::LocateHelpFile(), "CARELOG.HLP");
  window::SetHelpFile("");
}

TEST(UserGuide, AProgramInABuildTreeFindsTheGuideInItsSources) {
  testing::TempWorkingDirectory directory;
  fs::path source = directory.path() / "src", build = directory.path() / "out/asan";
  Touch(source / "docs/guide/index.html");
  Touch(build / "bin/carelog");
  std::ofstream(build / "CMakeCache.txt")
      << "# cache\nCMAKE_BUILD_TYPE:STRING=Debug\n"
      << "CMAKE_HOME_DIRECTORY:INTERNAL=" << source.string() << "\n";
  window::SetHelpFile("CARELOG.HLP", UserGuidePlaces((build / "bin/carelog").string()));
  EXPECT_EQ(fs::path(window::LocateHelpFile()), source / "docs/guide/index.html");
  // With the guide gone there is nothing to open, and the help action says so instead.
  fs::remove(source / "docs/guide/index.html");
  EXPECT_EQ(window::LocateHelpFile(), "");
  EXPECT_NE(window::HelpNotFoundText("CARELOG.HLP").find("CARELOG.HLP cannot be found"),
            std::string::npos);
  window::SetHelpFile("");
  EXPECT_TRUE(UserGuidePlaces("").empty());
}

}  // namespace
}  // namespace carelog::app
