#include "settings/project_properties.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// A path written with "\" as the platform writes it.
std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '\\', kNativeSeparator);
  return path;
}

const char* const kOverlap =
    "Macro Tags cannot be substrings of one another. Please double-check all of the Macro Tags "
    "and Advanced Macro Tags that you have entered.";

TEST(ProjectPropertiesTest, ValidationRulesInOrderWithTheirMessagesAndTabs) {
  using Edit = std::function<void(MacroTags&)>;
  struct Case {
    const char* name;
    Edit edit;
    const char* message;  // nullptr: passes
    PropertiesTab tab = PropertiesTab::kMacros;
  };
  const Case cases[] = {
      {"New Project", [](MacroTags&) {}, nullptr},
      {"", [](MacroTags& t) { t.macro_start = ""; }, "Project Name cannot be blank.",
       PropertiesTab::kGeneral},
      {" ", [](MacroTags&) {}, nullptr},
      {"P", [](MacroTags& t) { t.macro_start = ""; }, "Macro Tag starting value cannot be blank."},
      {"P", [](MacroTags& t) { t.macro_end = ""; }, "Macro Tag ending value cannot be blank."},
      {"P", [](MacroTags& t) { t.conditional_end = ""; },
       "Please enter an ending values for the Conditional Block Macro Tag."},
      {"P", [](MacroTags& t) { t.conditional_start = ""; },
       "Please enter a starting values for the Conditional Block Macro Tag."},
      {"P", [](MacroTags& t) { t.conditional_start = t.conditional_end = ""; }, nullptr},
      {"P", [](MacroTags& t) { t.parameter_end = "]"; }, kOverlap},
      {"P", [](MacroTags& t) { t.wildcard = "@"; }, kOverlap},
      {"P", [](MacroTags& t) { t.wildcard = "x[@"; }, kOverlap},
      {"P", [](MacroTags& t) { t.required = t.non_blank_delete; }, kOverlap},
      {"P", [](MacroTags& t) { t.wildcard = ""; }, nullptr},
      {"P", [](MacroTags& t) { t.wildcard = "a", t.required = "A"; }, nullptr},
      {"P", [](MacroTags& t) { t.conditional_start = "{{", t.conditional_end = "}}"; }, nullptr},
      {"P", [](MacroTags& t) { t.conditional_else = "[@", t.line_continuation = "]"; }, nullptr},
  };
  for (const Case& c : cases) {
    ProjectSettings working = MakeNewProjectForm().working;
    working.name = c.name;
    c.edit(working.tags);
    std::optional<PropertiesFieldError> error = ValidateProjectProperties(working);
    std::string what = std::string(c.message ? c.message : "passes") + " [" + c.name + "]";
    ASSERT_EQ(error.has_value(), c.message != nullptr) << what;
    if (!error) continue;
    EXPECT_EQ(error->message, c.message) << what;
    EXPECT_EQ(error->tab, c.tab) << what;
  }
}

std::vector<std::string> Examples(const SampleTexts& s) {
  return {s.macro_definition,    s.wildcard,         s.parent_reference, s.concatenate,
          s.single_quote_escape, s.non_blank_delete, s.required,         s.conditional_start,
          s.conditional_else,    s.conditional_end};
}

TEST(ProjectPropertiesTest, ExampleTextsAndElseTagFollowTheTags) {
  ProjectPropertiesForm form = MakeNewProjectForm();
  EXPECT_EQ(Examples(form.samples),
            (std::vector<std::string>{"[@MACRO(@param1:value1)]:", "[@MACRO*]", "[@^MACRO]",
                                      "[@&MACRO]", "[@\\MACRO]", "[@!MACRO]", "[@$MACRO]",
                                      "[@{MACRO]", "[@}{]", "[@}]"}));

  ChangeTag(form, TagField::kConditionalStart, "{{");
  ChangeTag(form, TagField::kConditionalEnd, "}}");
  EXPECT_EQ(form.working.tags.conditional_else, "}}{{");
  ChangeTag(form, TagField::kParameterEnd, "");  // no parameter without both its tags
  ChangeTag(form, TagField::kMacroStart, "<%");
  EXPECT_EQ(
      Examples(form.samples),
      (std::vector<std::string>{"<%MACRO]:", "<%MACRO*]", "<%^MACRO]", "<%&MACRO]", "<%\\MACRO]",
                                "<%!MACRO]", "<%$MACRO]", "<%{{MACRO]", "<%}}{{]", "<%}}]"}));
  // Another tag leaves the else tag alone.
  form.working.tags.conditional_else = "typed";
  ChangeTag(form, TagField::kWildcard, "#");
  EXPECT_EQ(form.working.tags.conditional_else, "typed");
}

TEST(ProjectPropertiesTest, PathFieldsAreNormalizedAndRootsMirrored) {
  struct Case {
    const char* typed;
    bool folder;
    std::string expected;
  };
  const Case cases[] = {
      {"  c:/sites/shop  ", true, Native("c:\\sites\\shop\\")},
      {"c:\\sites\\shop\\", true, Native("c:\\sites\\shop\\")},
      {"   ", true, ""},
      {" defs/project.txt ", false, Native("defs\\project.txt")},
      {"\tx", false, "\tx"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NormalizeTypedPath(c.typed, c.folder), c.expected) << "[" << c.typed << "]";
  }

  ProjectPropertiesForm form = MakeNewProjectForm();
  form.working.content_root = "c:/sites/shop";
  LeavePathField(form, PathField::kContentRoot);
  EXPECT_EQ(form.working.document_root, Native("c:\\sites\\shop\\"));
  form.working.content_root = "";
  form.working.document_root = "out";
  LeavePathField(form, PathField::kDocumentRoot);
  EXPECT_EQ(form.working.content_root, Native("out\\"));
  form.working.content_root = "src";  // a root already set stays
  LeavePathField(form, PathField::kContentRoot);
  EXPECT_EQ(form.working.document_root, Native("out\\"));

  form.working.temporary_files_path = "tmp";
  form.working.project_macro_file = "macros/all.par ";
  LeavePathField(form, PathField::kTemporaryFilesPath);
  LeavePathField(form, PathField::kProjectMacroFile);
  EXPECT_EQ(form.working.temporary_files_path, Native("tmp\\"));
  EXPECT_EQ(form.working.project_macro_file, Native("macros\\all.par"));
  form.working.name = "Shop";
  EXPECT_EQ(ProposedProjectFileName(form.working), Native("src\\Shop.web"));

  ActivateOptimizeExcludeList(form);
  EXPECT_EQ(form.working.optimization_status, 1);
}

TEST(ProjectPropertiesTest, ResetsFillOnlyTheirOwnFields) {
  ProjectPropertiesForm form = MakeNewProjectForm();
  form.working.tags = {"<", ">", "(", ")", "?", "~", "%", "'", "+", "<<", "x", ">>", "=", "~~"};
  form.working.delete_line = 0;
  form.working.delete_line_exceptions = "HOME";
  form.limits = LimitFields{"9", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"};
  form.working.optimization_status = 2;
  form.working.optimization_level = 2;

  ResetMacroTags(form);
  const MacroTags& t = form.working.tags;
  EXPECT_EQ((std::vector<std::string>{t.macro_start, t.macro_end, t.parameter_start,
                                      t.parameter_end, t.wildcard, t.non_blank_delete,
                                      t.parent_reference, t.single_quote_escape, t.concatenate,
                                      t.conditional_start, t.conditional_else, t.conditional_end,
                                      t.required, t.line_continuation}),
            (std::vector<std::string>{"[@", "]", "(@", ")", "*", "!", "^", "\\", "&", "{", "}{",
                                      "}", "$", "~~"}));
  EXPECT_EQ(form.working.delete_line, 1);
  EXPECT_EQ(form.working.delete_line_exceptions, "ROOT_DIR");
  EXPECT_EQ(form.samples.wildcard, "[@MACRO*]");
  EXPECT_EQ(form.limits.max_folders, "1");

  ResetMemoryManagement(form);
  const LimitFields& l = form.limits;
  EXPECT_EQ(
      (std::vector<std::string>{l.max_nested_macros, l.max_folders, l.max_globals, l.max_docs,
                                l.max_folder_globals, l.max_content_files, l.max_global_macros,
                                l.max_folder_global_macros, l.max_content_file_macros,
                                l.max_project_macros, l.max_parameters}),
      (std::vector<std::string>{"9", "25", "5", "50", "5", "5", "100", "50", "50", "5", "5"}));
  EXPECT_EQ(form.working.optimization_status, 2);

  ResetHtmlOptimization(form);
  EXPECT_EQ(form.working.optimization_status, 0);
  EXPECT_EQ(form.working.optimization_level, 2);
}

TEST(ProjectPropertiesTest, LimitFieldsBecomeIntegersOnlyWhenAllArePositive) {
  const LimitFields fields{"40", "30", "6", "60", "4", "3", "90", "45", "44", "8", "2"};
  ProjectSettings working;
  EXPECT_FALSE(ApplyLimitFields(fields, working).has_value());
  EXPECT_EQ(working.max_nested_macros, 40);
  EXPECT_EQ(working.max_folders, 30);
  EXPECT_EQ(working.max_parameters, 2);

  struct Case {
    std::string LimitFields::*field;
    const char* text;
    const char* message;
    int error_number;  // a failed conversion goes to the shared error report
    PropertiesTab tab;
  };
  const PropertiesTab memory = PropertiesTab::kMemoryManagement;
  const Case cases[] = {
      {&LimitFields::max_folders, "0", "The maximum number of Folders must be greater than 0.", 0,
       memory},
      {&LimitFields::max_parameters, "-3",
       "The maximum number of Parameters per Macro must be greater than 0.", 0, memory},
      {&LimitFields::max_folders, "abc", "The maximum number of Folders must be a whole number.",
       kErrorInvalidInteger, memory},
      {&LimitFields::max_docs, "40000",
       "The maximum number of Documents per Folder must be a whole number.", kErrorInvalidInteger,
       memory},
      {&LimitFields::max_nested_macros, "",
       "The maximum number of nested Macros must be a whole number.", kErrorInvalidInteger,
       PropertiesTab::kMacros},
  };
  for (const Case& c : cases) {
    LimitFields bad = fields;
    bad.*c.field = c.text;
    ProjectSettings untouched;
    std::optional<PropertiesFieldError> error = ApplyLimitFields(bad, untouched);
    ASSERT_TRUE(error.has_value()) << c.text;
    EXPECT_EQ(error->message, c.message);
    EXPECT_EQ(error->error_number, c.error_number) << c.text;
    EXPECT_EQ(error->tab, c.tab) << c.text;
    EXPECT_EQ(untouched.max_nested_macros, 0) << "nothing is converted on a failure";
  }
}

// The sample files a program folder ships, each holding its own name so copies can be told apart.
std::string MakeSamples(const FileSystem& fs, const TestFolder& folder) {
  std::string samples = folder / "samples/";
  fs.CreateFolderPath(samples + "images/");
  fs.CreateFolderPath(samples + "templates/");
  for (const char* name :
       {"project.txt", "images/space.gif", "images/pentrak.gif", "templates/general.tpl",
        "globals.par", "index.par", "tools.par", "partners.par"}) {
    fs.WriteFile(samples + name, std::string("sample ") + name);
  }
  return samples;
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    names.push_back(std::filesystem::relative(entry.path(), folder).generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CreateSampleProjectTest, CopiesEverySampleButNeverOverwrites) {
  TestFolder folder;
  FileSystem fs;
  std::string samples = MakeSamples(fs, folder);
  fs.CreateFolderPath(folder / "site/");
  fs.WriteFile(folder / "site/index.par", "my macros");
  ProjectSettings working;
  working.content_root = folder / "site/";
  working.document_root = folder / "out/deep/";
  CreateSampleProject(fs, samples, working, SampleProjectSwitches{});

  EXPECT_EQ(working.definition_file, "project.txt");
  EXPECT_TRUE(fs.FolderExists(folder / "out/deep"));
  EXPECT_EQ(Entries(folder / "site"),
            (std::vector<std::string>{
                "globals.par", "images", "images/pentrak.gif", "images/space.gif", "index.par",
                "partners.par", "project.txt", "templates", "templates/general.tpl", "tools.par"}));
  EXPECT_EQ(fs.ReadFile(folder / "site/index.par"), "my macros");
  EXPECT_EQ(fs.ReadFile(folder / "site/templates/general.tpl"), "sample templates/general.tpl");

  // Without the sample switches only the roots are made, and the definition file stays empty.
  ProjectSettings bare;
  bare.content_root = folder / "bare/";
  CreateSampleProject(fs, samples, bare, SampleProjectSwitches{false, false, true});
  EXPECT_EQ(bare.definition_file, "");
  EXPECT_EQ(Entries(folder / "bare"), (std::vector<std::string>{"images", "templates"}));
}

TEST(CreateSampleProjectTest, NothingWithoutAContentRootAndErrorNumber10019OnAFailure) {
  TestFolder folder;
  FileSystem fs;
  std::string samples = MakeSamples(fs, folder);
  ProjectSettings working;
  working.document_root = folder / "out/";
  CreateSampleProject(fs, samples, working, SampleProjectSwitches{});
  EXPECT_EQ(Entries(folder.path()).size(), Entries(samples).size() + 2);  // samples/, out/
  EXPECT_EQ(working.definition_file, "");

  working.content_root = folder / "missing/";  // not created: the copies cannot land
  try {
    CreateSampleProject(fs, samples, working, SampleProjectSwitches{true, true, false});
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 10019);
    EXPECT_EQ(e.description(), "Error creating sample project files.");
  }
  EXPECT_FALSE(fs.FolderExists(folder / "missing"));
}

}  // namespace
}  // namespace pentrak
