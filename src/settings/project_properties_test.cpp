#include "settings/project_properties.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/test_support.h"

namespace pentrak {
namespace {

// A path written with "\" as the platform writes it.
std::string Native(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = kNativeSeparator;
  }
  return path;
}

const char* const kBlankName = "Project Name cannot be blank.";
const char* const kBlankStart = "Macro Tag starting value cannot be blank.";
const char* const kBlankEnd = "Macro Tag ending value cannot be blank.";
const char* const kNoConditionalEnd =
    "Please enter an ending values for the Conditional Block Macro Tag.";
const char* const kNoConditionalStart =
    "Please enter a starting values for the Conditional Block Macro Tag.";
const char* const kOverlap =
    "Macro Tags cannot be substrings of one another. Please double-check all of the Macro Tags "
    "and Advanced Macro Tags that you have entered.";

TEST(ProjectPropertiesTest, ValidationRulesInOrderWithTheirMessagesAndTabs) {
  struct Case {
    const char* what;
    std::function<void(ProjectSettings&)> edit;
    const char* message;  // nullptr: passes
    PropertiesTab tab;
  };
  const Case cases[] = {
      {"defaults", [](ProjectSettings&) {}, nullptr, PropertiesTab::kGeneral},
      {"empty name", [](ProjectSettings& p) { p.name = ""; }, kBlankName, PropertiesTab::kGeneral},
      {"name of one space", [](ProjectSettings& p) { p.name = " "; }, nullptr,
       PropertiesTab::kGeneral},
      {"empty name before empty start tag",
       [](ProjectSettings& p) {
         p.name = "";
         p.tags.macro_start = "";
       },
       kBlankName, PropertiesTab::kGeneral},
      {"empty start tag", [](ProjectSettings& p) { p.tags.macro_start = ""; }, kBlankStart,
       PropertiesTab::kMacros},
      {"empty end tag", [](ProjectSettings& p) { p.tags.macro_end = ""; }, kBlankEnd,
       PropertiesTab::kMacros},
      {"conditional start without end", [](ProjectSettings& p) { p.tags.conditional_end = ""; },
       kNoConditionalEnd, PropertiesTab::kMacros},
      {"conditional end without start", [](ProjectSettings& p) { p.tags.conditional_start = ""; },
       kNoConditionalStart, PropertiesTab::kMacros},
      {"no conditional tags",
       [](ProjectSettings& p) {
         p.tags.conditional_start = "";
         p.tags.conditional_end = "";
       },
       nullptr, PropertiesTab::kGeneral},
      {"parameter end equals macro end", [](ProjectSettings& p) { p.tags.parameter_end = "]"; },
       kOverlap, PropertiesTab::kMacros},
      {"wildcard inside the start tag", [](ProjectSettings& p) { p.tags.wildcard = "@"; }, kOverlap,
       PropertiesTab::kMacros},
      {"start tag inside the wildcard", [](ProjectSettings& p) { p.tags.wildcard = "x[@"; },
       kOverlap, PropertiesTab::kMacros},
      {"empty wildcard", [](ProjectSettings& p) { p.tags.wildcard = ""; }, nullptr,
       PropertiesTab::kGeneral},
      {"equal required and non-blank delete",
       [](ProjectSettings& p) { p.tags.required = p.tags.non_blank_delete; }, kOverlap,
       PropertiesTab::kMacros},
      {"doubled conditional tags",
       [](ProjectSettings& p) {
         p.tags.conditional_start = "{{";
         p.tags.conditional_end = "}}";
       },
       nullptr, PropertiesTab::kGeneral},
      {"case differs",
       [](ProjectSettings& p) {
         p.tags.wildcard = "a";
         p.tags.required = "A";
       },
       nullptr, PropertiesTab::kGeneral},
      {"else tag and line continuation take no part",
       [](ProjectSettings& p) {
         p.tags.conditional_else = "[@";
         p.tags.line_continuation = "]";
       },
       nullptr, PropertiesTab::kGeneral},
      {"start tag rule before substring rule",
       [](ProjectSettings& p) {
         p.tags.macro_start = "";
         p.tags.wildcard = "]";
       },
       kBlankStart, PropertiesTab::kMacros},
  };
  for (const Case& c : cases) {
    ProjectSettings working = MakeNewProjectForm().working;
    c.edit(working);
    std::optional<PropertiesFieldError> error = ValidateProjectProperties(working);
    if (c.message == nullptr) {
      EXPECT_FALSE(error.has_value()) << c.what << ": " << error->message;
      continue;
    }
    ASSERT_TRUE(error.has_value()) << c.what;
    EXPECT_EQ(error->message, c.message) << c.what;
    EXPECT_EQ(error->tab, c.tab) << c.what;
  }
}

TEST(ProjectPropertiesTest, TabsAndConfirmCaptionFollowTheMode) {
  EXPECT_EQ(TabCaption(PropertiesTab::kGeneral), "General");
  EXPECT_EQ(TabCaption(PropertiesTab::kMacros), "Macros");
  EXPECT_EQ(TabCaption(PropertiesTab::kHtmlOptimization), "HTML Optimization");
  EXPECT_EQ(TabCaption(PropertiesTab::kMemoryManagement), "Memory Management");
  EXPECT_EQ(TabCaption(PropertiesTab::kAdvanced), "Advanced");

  ProjectPropertiesForm fresh = MakeNewProjectForm();
  EXPECT_EQ(ConfirmCaption(fresh), "Create");
  EXPECT_TRUE(fresh.switches.create_samples && fresh.switches.create_definition &&
              fresh.switches.create_roots);
  EXPECT_EQ(fresh.working.name, "New Project");
  EXPECT_EQ(fresh.limits.max_docs, "50");

  ProjectSettings current = fresh.working;
  current.name = "Shop";
  current.max_folders = 7;
  current.max_nested_macros = 12;
  ProjectPropertiesForm edit = MakeCurrentProjectForm(current);
  EXPECT_EQ(ConfirmCaption(edit), "OK");
  EXPECT_FALSE(edit.new_project_mode);
  EXPECT_EQ(edit.working.name, "Shop");
  EXPECT_EQ(edit.limits.max_folders, "7");
  EXPECT_EQ(edit.limits.max_nested_macros, "12");
}

TEST(ProjectPropertiesTest, ExampleTextsAndElseTagFollowTheTags) {
  ProjectPropertiesForm form = MakeNewProjectForm();
  EXPECT_EQ(form.samples.macro_definition, "[@MACRO(@param1:value1)]:");
  EXPECT_EQ(form.samples.wildcard, "[@MACRO*]");
  EXPECT_EQ(form.samples.parent_reference, "[@^MACRO]");
  EXPECT_EQ(form.samples.concatenate, "[@&MACRO]");
  EXPECT_EQ(form.samples.single_quote_escape, "[@\\MACRO]");
  EXPECT_EQ(form.samples.non_blank_delete, "[@!MACRO]");
  EXPECT_EQ(form.samples.required, "[@$MACRO]");
  EXPECT_EQ(form.samples.conditional_start, "[@{MACRO]");
  EXPECT_EQ(form.samples.conditional_else, "[@}{]");
  EXPECT_EQ(form.samples.conditional_end, "[@}]");

  ChangeTag(form, TagField::kConditionalStart, "{{");
  ChangeTag(form, TagField::kConditionalEnd, "}}");
  EXPECT_EQ(form.working.tags.conditional_else, "}}{{");
  EXPECT_EQ(form.samples.conditional_else, "[@}}{{]");
  EXPECT_EQ(form.samples.conditional_start, "[@{{MACRO]");
  EXPECT_FALSE(ValidateProjectProperties(form.working).has_value());

  // Without both parameter tags the example definition has no parameter.
  ChangeTag(form, TagField::kParameterEnd, "");
  EXPECT_EQ(form.samples.macro_definition, "[@MACRO]:");
  ChangeTag(form, TagField::kMacroStart, "<%");
  ChangeTag(form, TagField::kMacroEnd, "%>");
  EXPECT_EQ(form.samples.macro_definition, "<%MACRO%>:");
  EXPECT_EQ(form.samples.wildcard, "<%MACRO*%>");
  EXPECT_EQ(form.samples.conditional_end, "<%}}%>");
  // Another tag leaves the else tag alone.
  form.working.tags.conditional_else = "typed";
  ChangeTag(form, TagField::kWildcard, "#");
  EXPECT_EQ(form.working.tags.conditional_else, "typed");
}

TEST(ProjectPropertiesTest, TypedPathsAreTrimmedAndFoldersEndWithASeparator) {
  struct Case {
    const char* typed;
    bool folder;
    std::string expected;
  };
  const Case cases[] = {
      {"c:/sites/shop", true, Native("c:\\sites\\shop\\")},
      {"  c:/sites/shop  ", true, Native("c:\\sites\\shop\\")},
      {"c:\\sites\\shop\\", true, Native("c:\\sites\\shop\\")},
      {"/srv/www/", true, Native("\\srv\\www\\")},
      {"", true, ""},
      {"   ", true, ""},
      {" defs/project.txt ", false, Native("defs\\project.txt")},
      {"site/", false, Native("site\\")},
      {"\tx", false, "\tx"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NormalizeTypedPath(c.typed, c.folder), c.expected) << "[" << c.typed << "]";
  }
}

TEST(ProjectPropertiesTest, LeavingARootFillsTheOtherWhenEmpty) {
  ProjectPropertiesForm form = MakeNewProjectForm();
  form.working.content_root = "c:/sites/shop";
  LeavePathField(form, PathField::kContentRoot);
  EXPECT_EQ(form.working.content_root, Native("c:\\sites\\shop\\"));
  EXPECT_EQ(form.working.document_root, Native("c:\\sites\\shop\\"));

  // A root that is already set stays.
  form.working.content_root = " src ";
  LeavePathField(form, PathField::kContentRoot);
  EXPECT_EQ(form.working.content_root, Native("src\\"));
  EXPECT_EQ(form.working.document_root, Native("c:\\sites\\shop\\"));

  form.working.content_root = "";
  form.working.document_root = "out";
  LeavePathField(form, PathField::kDocumentRoot);
  EXPECT_EQ(form.working.document_root, Native("out\\"));
  EXPECT_EQ(form.working.content_root, Native("out\\"));

  form.working.temporary_files_path = "tmp";
  form.working.custom_project_path = "c:/p";
  form.working.definition_file = " site/project.txt";
  form.working.project_macro_file = "macros/all.par ";
  for (PathField f : {PathField::kTemporaryFilesPath, PathField::kCustomProjectPath,
                      PathField::kDefinitionFile, PathField::kProjectMacroFile}) {
    LeavePathField(form, f);
  }
  EXPECT_EQ(form.working.temporary_files_path, Native("tmp\\"));
  EXPECT_EQ(form.working.custom_project_path, Native("c:\\p\\"));
  EXPECT_EQ(form.working.definition_file, Native("site\\project.txt"));
  EXPECT_EQ(form.working.project_macro_file, Native("macros\\all.par"));

  ActivateOptimizeExcludeList(form);
  EXPECT_EQ(form.working.optimization_status, 1);
}

TEST(ProjectPropertiesTest, ResetsFillOnlyTheirOwnFields) {
  ProjectPropertiesForm form = MakeNewProjectForm();
  MacroTags odd{"<", ">", "(", ")", "?", "~", "%", "'", "+", "<<", "x", ">>", "=", "~~"};
  form.working.tags = odd;
  form.working.delete_line = 0;
  form.working.delete_line_exceptions = "HOME";
  form.limits.max_nested_macros = "7";
  form.limits.max_folders = "1";
  form.working.optimization_status = 2;
  form.working.optimization_level = 2;
  form.working.optimize_exclude_list = ".css";

  ResetMacroTags(form);
  const MacroTags& t = form.working.tags;
  EXPECT_EQ(t.macro_start, "[@");
  EXPECT_EQ(t.macro_end, "]");
  EXPECT_EQ(t.parameter_start, "(@");
  EXPECT_EQ(t.parameter_end, ")");
  EXPECT_EQ(t.wildcard, "*");
  EXPECT_EQ(t.non_blank_delete, "!");
  EXPECT_EQ(t.parent_reference, "^");
  EXPECT_EQ(t.single_quote_escape, "\\");
  EXPECT_EQ(t.required, "$");
  EXPECT_EQ(t.concatenate, "&");
  EXPECT_EQ(t.conditional_start, "{");
  EXPECT_EQ(t.conditional_else, "}{");
  EXPECT_EQ(t.conditional_end, "}");
  EXPECT_EQ(t.line_continuation, "~~");
  EXPECT_EQ(form.working.delete_line, 1);
  EXPECT_EQ(form.working.delete_line_exceptions, "ROOT_DIR");
  EXPECT_EQ(form.samples.wildcard, "[@MACRO*]");
  EXPECT_EQ(form.limits.max_nested_macros, "7");
  EXPECT_EQ(form.limits.max_folders, "1");
  EXPECT_EQ(form.working.optimization_status, 2);

  form.limits = LimitFields{"9", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"};
  ResetMemoryManagement(form);
  const LimitFields& l = form.limits;
  EXPECT_EQ(l.max_nested_macros, "9");
  const std::string expected[] = {"25", "5", "50", "5", "5", "100", "50", "50", "5", "5"};
  const std::string actual[] = {l.max_folders,
                                l.max_globals,
                                l.max_docs,
                                l.max_folder_globals,
                                l.max_content_files,
                                l.max_global_macros,
                                l.max_folder_global_macros,
                                l.max_content_file_macros,
                                l.max_project_macros,
                                l.max_parameters};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(actual[i], expected[i]) << i;

  ResetHtmlOptimization(form);
  EXPECT_EQ(form.working.optimization_status, 0);
  EXPECT_EQ(form.working.optimization_level, 2);
  EXPECT_EQ(form.working.optimize_exclude_list, ".css");
}

TEST(ProjectPropertiesTest, LimitFieldsBecomeIntegersOnlyWhenAllArePositive) {
  LimitFields fields{"40", "30", "6", "60", "4", "3", "90", "45", "44", "8", "2"};
  ProjectSettings working;
  EXPECT_FALSE(ApplyLimitFields(fields, working).has_value());
  EXPECT_EQ(working.max_nested_macros, 40);
  EXPECT_EQ(working.max_folders, 30);
  EXPECT_EQ(working.max_parameters, 2);
  EXPECT_EQ(working.max_project_macros, 8);

  struct Case {
    std::string LimitFields::*field;
    const char* text;
    const char* message;
    PropertiesTab tab;
  };
  const Case cases[] = {
      {&LimitFields::max_folders, "0", "The maximum number of Folders must be greater than 0.",
       PropertiesTab::kMemoryManagement},
      {&LimitFields::max_parameters, "-3",
       "The maximum number of Parameters per Macro must be greater than 0.",
       PropertiesTab::kMemoryManagement},
      {&LimitFields::max_nested_macros, "0",
       "The maximum number of nested Macros must be greater than 0.", PropertiesTab::kMacros},
  };
  for (const Case& c : cases) {
    LimitFields bad = fields;
    bad.*c.field = c.text;
    ProjectSettings untouched;
    std::optional<PropertiesFieldError> error = ApplyLimitFields(bad, untouched);
    ASSERT_TRUE(error.has_value()) << c.text;
    EXPECT_EQ(error->message, c.message);
    EXPECT_EQ(error->tab, c.tab);
    EXPECT_EQ(untouched.max_nested_macros, 0) << "nothing is converted on a failure";
  }

  for (const char* text : {"abc", "", "5.0", "40000"}) {
    LimitFields bad = fields;
    bad.max_docs = text;
    ProjectSettings untouched;
    EXPECT_THROW(ApplyLimitFields(bad, untouched), Error) << text;
    EXPECT_EQ(untouched.max_folders, 0);
  }
}

TEST(ProjectPropertiesTest, ProposedFileNameFollowsTheContentRoot) {
  ProjectSettings working;
  working.name = "Shop";
  EXPECT_EQ(ProposedProjectFileName(working), "Shop.web");
  working.content_root = Native("c:\\sites\\shop\\");
  EXPECT_EQ(ProposedProjectFileName(working), Native("c:\\sites\\shop\\Shop.web"));
}

// The sample files a program folder ships, each holding its own name so copies can be told apart.
const char* const kSampleFiles[] = {
    "project.txt", "images/space.gif", "images/pentrak.gif", "templates/general.tpl",
    "globals.par", "index.par",        "tools.par",          "partners.par"};

std::string MakeSamples(const FileSystem& fs, const TestFolder& folder) {
  std::string samples = folder / "samples/";
  fs.CreateFolderPath(samples + "images/");
  fs.CreateFolderPath(samples + "templates/");
  for (const char* name : kSampleFiles) fs.WriteFile(samples + name, std::string("sample ") + name);
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

TEST(CreateSampleProjectTest, CreatesRootsAndCopiesEverySample) {
  TestFolder folder;
  FileSystem fs;
  std::string samples = MakeSamples(fs, folder);
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
  EXPECT_EQ(fs.ReadFile(folder / "site/templates/general.tpl"), "sample templates/general.tpl");
  EXPECT_EQ(fs.ReadFile(folder / "site/images/space.gif"), "sample images/space.gif");
  EXPECT_EQ(fs.ReadFile(folder / "site/index.par"), "sample index.par");
}

TEST(CreateSampleProjectTest, NeverOverwritesAndHonoursEachSwitch) {
  TestFolder folder;
  FileSystem fs;
  std::string samples = MakeSamples(fs, folder);
  fs.CreateFolderPath(folder / "site/images/");
  fs.CreateFolderPath(folder / "site/templates/");
  fs.WriteFile(folder / "site/site.txt", "my definition");
  fs.WriteFile(folder / "site/index.par", "my macros");
  fs.WriteFile(folder / "site/images/space.gif", "my image");

  ProjectSettings working;
  working.content_root = folder / "site/";
  working.definition_file = "site.txt";
  CreateSampleProject(fs, samples, working, SampleProjectSwitches{true, true, false});
  EXPECT_EQ(working.definition_file, "site.txt");
  EXPECT_EQ(fs.ReadFile(folder / "site/site.txt"), "my definition");
  EXPECT_EQ(fs.ReadFile(folder / "site/index.par"), "my macros");
  EXPECT_EQ(fs.ReadFile(folder / "site/images/space.gif"), "my image");
  EXPECT_EQ(fs.ReadFile(folder / "site/images/pentrak.gif"), "sample images/pentrak.gif");
  EXPECT_EQ(fs.ReadFile(folder / "site/tools.par"), "sample tools.par");

  // Without the definition switch the definition file stays empty and nothing of it is copied.
  ProjectSettings bare;
  bare.content_root = folder / "bare/";
  CreateSampleProject(fs, samples, bare, SampleProjectSwitches{false, false, true});
  EXPECT_EQ(bare.definition_file, "");
  EXPECT_EQ(Entries(folder / "bare"), (std::vector<std::string>{"images", "templates"}));
}

TEST(CreateSampleProjectTest, AnEmptyContentRootCopiesNothing) {
  TestFolder folder;
  FileSystem fs;
  std::string samples = MakeSamples(fs, folder);
  ProjectSettings working;
  working.document_root = folder / "out/";
  CreateSampleProject(fs, samples, working, SampleProjectSwitches{});
  EXPECT_EQ(Entries(folder.path()).size(), Entries(samples).size() + 2);  // samples/, out/
  EXPECT_TRUE(fs.FolderExists(folder / "out"));
  EXPECT_EQ(working.definition_file, "");
}

TEST(CreateSampleProjectTest, AFailureIsErrorTenThousandNineteen) {
  TestFolder folder;
  FileSystem fs;
  std::string samples = MakeSamples(fs, folder);
  ProjectSettings working;
  working.content_root = folder / "missing/";  // not created: the copies cannot land
  try {
    CreateSampleProject(fs, samples, working, SampleProjectSwitches{true, true, false});
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 10019);
    EXPECT_EQ(e.description(), "Error creating sample project files.");
  }
  EXPECT_FALSE(fs.FolderExists(folder / "missing"));
}

}  // namespace
}  // namespace pentrak
