#include <gtest/gtest.h>

#include "project/definition.h"
#include "settings/project_settings.h"
#include "testing/test_project.h"

namespace pentrak {
namespace {

TEST(DefinitionTablesTest, FieldSlotsLeaveRoomForTheLongestLineAndItsEndMark) {
  struct Case {
    short content_files, globals, folder_globals;
    int expected;
  };
  const Case cases[] = {
      {5, 5, 5, 8},    {1, 9, 5, 10},
      {1, 2, 12, 13},  {0, 0, 0, 3},  // path, template and the end mark even when nothing else fits
      {-4, -4, -4, 3},
  };
  for (const Case& c : cases) {
    ProjectSettings project;
    project.max_content_files = c.content_files;
    project.max_globals = c.globals;
    project.max_folder_globals = c.folder_globals;
    EXPECT_EQ(FieldSlots(project), c.expected) << c.content_files << "/" << c.globals;
  }
}

TEST(DefinitionTablesTest, TablesTakeTheFullSizeOfTheLimitsAndLimitsBelowOneGiveNoSlots) {
  ProjectDefinition definition;
  ProjectSettings project = testing::NewProject();
  SizeDefinitionTables(definition, project);
  ASSERT_EQ(definition.folders.size(), 25u);
  EXPECT_EQ(definition.global_content_files.size(), 5u);
  EXPECT_EQ(definition.field_buffer.size(), 8u);
  for (const Folder& folder : definition.folders) {
    ASSERT_EQ(folder.documents.size(), 50u);
    EXPECT_EQ(folder.content_files.size(), 5u);
    EXPECT_EQ(folder.documents[49].content_files.size(), 5u);
  }

  project.max_folders = 2;
  project.max_docs = 0;
  project.max_globals = -3;
  SizeDefinitionTables(definition, project);
  ASSERT_EQ(definition.folders.size(), 2u);
  EXPECT_TRUE(definition.folders[1].documents.empty());
  EXPECT_TRUE(definition.global_content_files.empty());
}

}  // namespace
}  // namespace pentrak
