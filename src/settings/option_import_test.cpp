#include "settings/option_import.h"

#include <gtest/gtest.h>

#include "platform/paths.h"

namespace pentrak {
namespace {

ProgramOptions Imported(std::string history, std::string drive = "", short enabled = 0) {
  ProgramOptions options;
  options.project_history_file = std::move(history);
  options.default_drive = std::move(drive);
  options.enable_default_drive = enabled;
  return options;
}

TEST(OptionImportTest, ButtonsFollowTheStepAndTheFields) {
  OptionImportWizard wizard = OpenOptionImport("/opt/pentrak");
  EXPECT_EQ(wizard.own_history_path,
            std::string("/opt/pentrak") + kNativeSeparator + "projects.ini");
  EXPECT_FALSE(NextEnabled(wizard));
  EXPECT_FALSE(BackEnabled(wizard));
  EXPECT_FALSE(FinishEnabled(wizard));

  wizard.options_path = "  old/pentrak.ini ";
  LeaveImportPathField(wizard.options_path);
  EXPECT_EQ(wizard.options_path, std::string("old") + kNativeSeparator + "pentrak.ini");
  EXPECT_TRUE(NextEnabled(wizard));

  wizard.imported = Imported("elsewhere/projects.ini");
  ShowHistoryChoices(wizard);
  EXPECT_FALSE(NextEnabled(wizard));
  EXPECT_TRUE(BackEnabled(wizard));
  EXPECT_TRUE(FinishEnabled(wizard));

  // Choice 1 needs its path field.
  wizard.choice = HistoryChoice::kImportOther;
  EXPECT_FALSE(FinishEnabled(wizard));
  ChooseOtherHistoryFile(wizard, "mine.ini");
  EXPECT_TRUE(FinishEnabled(wizard));

  GoBack(wizard);
  EXPECT_EQ(wizard.options_path, std::string("old") + kNativeSeparator + "pentrak.ini");
  EXPECT_TRUE(NextEnabled(wizard));
  EXPECT_FALSE(BackEnabled(wizard));
  EXPECT_FALSE(FinishEnabled(wizard));
}

TEST(OptionImportTest, RecommendsImportingOnlyAHistoryBesideTheOptions) {
  struct Case {
    const char* options_path;
    ProgramOptions imported;
    HistoryChoice expected;
  };
  const Case cases[] = {
      {"C:\\Old\\pentrak.ini", Imported("C:\\Old\\projects.ini"), HistoryChoice::kImportNamed},
      {"c:\\old\\pentrak.ini", Imported("C:\\Old\\projects.ini"), HistoryChoice::kImportNamed},
      {"C:/Old/pentrak.ini", Imported("C:\\OLD\\projects.ini"), HistoryChoice::kImportNamed},
      {"C:\\Old\\pentrak.ini", Imported("D:\\Other\\projects.ini"), HistoryChoice::kKeepNamed},
      {"C:\\Old\\pentrak.ini", Imported("C:\\Old\\sub\\projects.ini"), HistoryChoice::kKeepNamed},
      {"C:\\Old\\pentrak.ini", Imported("\\Old\\projects.ini", "C:", 1),
       HistoryChoice::kImportNamed},
      {"C:\\Old\\pentrak.ini", Imported("\\Old\\projects.ini", "C:", 0), HistoryChoice::kKeepNamed},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RecommendedHistoryChoice(c.options_path, c.imported), c.expected)
        << c.options_path << " / " << c.imported.project_history_file;
  }
}

TEST(OptionImportTest, ShownPathsAndTheRecommendedMark) {
  OptionImportWizard wizard = OpenOptionImport("home");
  wizard.options_path = "D:\\Old\\pentrak.ini";
  wizard.imported = Imported("\\Old\\projects.ini", "D:", 1);
  ShowHistoryChoices(wizard);
  EXPECT_EQ(wizard.choice, HistoryChoice::kImportNamed);
  EXPECT_EQ(ChoiceCaption(wizard, HistoryChoice::kImportNamed),
            "D:\\Old\\projects.ini (Recommended)");
  EXPECT_EQ(ChoiceCaption(wizard, HistoryChoice::kImportOther), "");
  EXPECT_EQ(ChoiceCaption(wizard, HistoryChoice::kKeepNamed), "\\Old\\projects.ini");
  EXPECT_EQ(ChoiceCaption(wizard, HistoryChoice::kUseOwn),
            std::string("home") + kNativeSeparator + "projects.ini");

  wizard.imported.enable_default_drive = 0;
  ShowHistoryChoices(wizard);
  EXPECT_EQ(wizard.choice, HistoryChoice::kKeepNamed);
  EXPECT_EQ(ChoiceCaption(wizard, HistoryChoice::kImportNamed), "\\Old\\projects.ini");
  EXPECT_EQ(ChoiceCaption(wizard, HistoryChoice::kKeepNamed), "\\Old\\projects.ini (Recommended)");
}

}  // namespace
}  // namespace pentrak
