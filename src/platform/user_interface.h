#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pentrak {

enum class Icon { kNone, kCritical, kQuestion, kExclamation, kInformation };
enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Answer { kOk, kCancel, kYes, kNo };

// Answers of the four-button question asked during a generation run.
enum class FourButtonAnswer { kYes = 1, kYesToAll = 2, kNo = 3, kCancel = 4 };

// Which of the four buttons a question shows.
struct FourButtons {
  bool yes = true;
  bool yes_to_all = true;
  bool no = true;
  bool cancel = true;
};

// Everything the core shows or asks goes through this seam; the core never draws anything.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A message box; returns the button pressed (closing the box gives Cancel, or OK for kOk).
  virtual Answer ShowMessage(std::string_view title, std::string_view text, Icon icon,
                             Buttons buttons) = 0;

  // The four-button question; closing the box gives the preset answer.
  virtual FourButtonAnswer AskFourButtons(std::string_view title, std::string_view text,
                                          FourButtons shown, FourButtonAnswer preset) = 0;

  virtual void AddStatusLine(std::string_view text) = 0;
  virtual void ClearStatus() = 0;

  // Lets pending user events run; returns true when the user asked to stop since the last call.
  virtual bool ServiceEvents() = 0;

  virtual void Beep() = 0;

  // Progress of a long command (documents or files done of those in scope); may be ignored.
  virtual void ShowProgress(int done, int total) {
    (void)done;
    (void)total;
  }

  // File choosers; nothing when the user cancels.
  virtual std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                                    std::string_view initial_path) = 0;
  virtual std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                                    std::string_view initial_path) = 0;
};

}  // namespace pentrak
