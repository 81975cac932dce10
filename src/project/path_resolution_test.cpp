#include "project/path_resolution.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/program_options.h"
#include "testing/test_folder.h"
#include "testing/test_project.h"

namespace pentrak {
namespace {

TEST(PathResolutionTest, RootsFallbackAndDefaultDrive) {
  TestFolder temp;
  FileSystem fs;
  const std::string src = temp / "src";
  const std::string common = temp / "common";
  fs.CreateFolder(src);
  fs.WriteLines(src + "/a.par", {});

  ProjectSettings project;
  project.content_root = src;
  project.default_content_root = common;
  project.document_root = "/www/";
  ProgramOptions options;
  PathContext context{fs, project, options};

  struct Case {
    std::string name;
    bool is_document;
    std::string custom_root, custom_fallback, expected;
    bool used_fallback;
  };
  const Case cases[] = {
      {"sub\\b.par", false, "", "", common + "/sub\\b.par", true},
      {"b.html", true, "", "", "/www/b.html", false},  // documents have no fallback
      {"D:\\x\\a.par", false, "", "", "D:\\x\\a.par", false},
      {"\\x\\a.par", false, "", "", "\\x\\a.par", false},
      {"/x/a.par", false, "", "", "/x/a.par", false},
      {"a.par", true, "C:\\custom\\", "", "C:\\custom\\a.par", false},
      {"b.par", false, src, "/spare", "/spare/b.par", true},
  };
  for (const Case& c : cases) {
    bool used_fallback = !c.used_fallback;
    EXPECT_EQ(ResolveProjectPath(context, c.name, true, c.is_document, c.custom_root,
                                 c.custom_fallback, &used_fallback),
              NativePath(c.expected))
        << c.name;
    EXPECT_EQ(used_fallback, c.used_fallback) << c.name;
  }

  // The default drive goes in front of a rooted name, resolved or kept as written.
  options.default_drive = "D:";
  options.enable_default_drive = 1;
  EXPECT_EQ(ResolveProjectPath(context, "\\x\\a.par", false, false), "D:\\x\\a.par");
  EXPECT_EQ(ResolveProjectPath(context, "a.html", true, true), "D:/www/a.html");
}

}  // namespace
}  // namespace pentrak
