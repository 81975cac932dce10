#pragma once

#include <iosfwd>
#include <string>

#include "platform/user_interface.h"

namespace pentrak {

class InterruptWatcher;

// How the console answers when nobody can be asked.
struct ConsoleAnswers {
  bool interactive = false;                    // a person is at a terminal and may be asked
  bool yes_to_all = false;                     // four-button questions answer "Yes to All"
  bool quiet = false;                          // no status lines
  bool progress = false;                       // show documents done of documents in scope
  Answer ok_cancel_default = Answer::kCancel;  // for OK/Cancel questions with no terminal
  std::string save_file;  // a file named on the command line answers the save chooser
};

// The headless front end's seam: status lines on stdout, messages on stderr, questions asked on
// the terminal or answered by the flags and preset answers.
class ConsoleUserInterface : public UserInterface {
 public:
  ConsoleUserInterface(std::ostream& out, std::ostream& err, std::istream& in,
                       ConsoleAnswers answers);

  Answer ShowMessage(std::string_view title, std::string_view text, Icon icon,
                     Buttons buttons) override;
  FourButtonAnswer AskFourButtons(std::string_view title, std::string_view text, FourButtons shown,
                                  FourButtonAnswer preset) override;
  void AddStatusLine(std::string_view text) override;
  void ClearStatus() override {}
  // True once the watcher given to StopOn has seen Ctrl-C: the console's click on Stop.
  bool ServiceEvents() override;
  void Beep() override {}
  void ShowProgress(int done, int total) override;
  // Replaces the progress line with this text, when progress is shown at all.
  void ShowProgressText(std::string_view text);
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override;
  std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override;

  ConsoleAnswers& answers() { return answers_; }

  // Long commands stop when this watcher sees a signal; it must outlive its use here.
  void StopOn(const InterruptWatcher& interrupts) { interrupts_ = &interrupts; }

 private:
  void PrintMessage(std::string_view title, std::string_view text);
  std::string ReadAnswerLine(std::string_view prompt);
  void EndProgressLine();

  std::ostream& out_;
  std::ostream& err_;
  std::istream& in_;
  ConsoleAnswers answers_;
  bool progress_shown_ = false;
  const InterruptWatcher* interrupts_ = nullptr;
};

}  // namespace pentrak
