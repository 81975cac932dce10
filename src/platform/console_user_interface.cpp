#include "platform/console_user_interface.h"

#include <cctype>
#include <istream>
#include <ostream>
#include <string>

#include "platform/interrupt_watcher.h"

namespace pentrak {

namespace {

// Message texts use CR as a line break; a terminal wants LF.
std::string TerminalText(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c == '\r') c = '\n';
  }
  return result;
}

char FirstLetter(const std::string& line) {
  for (char c : line) {
    if (!std::isspace(static_cast<unsigned char>(c))) {
      return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return '\0';
}

}  // namespace

ConsoleUserInterface::ConsoleUserInterface(std::ostream& out, std::ostream& err, std::istream& in,
                                           ConsoleAnswers answers)
    : out_(out), err_(err), in_(in), answers_(answers) {}

void ConsoleUserInterface::PrintMessage(std::string_view title, std::string_view text) {
  EndProgressLine();
  err_ << title << ": " << TerminalText(text) << '\n';
  err_.flush();
}

std::string ConsoleUserInterface::ReadAnswerLine(std::string_view prompt) {
  err_ << prompt;
  err_.flush();
  std::string line;
  if (!std::getline(in_, line)) return "";
  return line;
}

Answer ConsoleUserInterface::ShowMessage(std::string_view title, std::string_view text, Icon,
                                         Buttons buttons) {
  PrintMessage(title, text);
  switch (buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kOkCancel:
      if (!answers_.interactive) return answers_.ok_cancel_default;
      return FirstLetter(ReadAnswerLine("[O]K or [C]ancel? ")) == 'o' ? Answer::kOk
                                                                      : Answer::kCancel;
    case Buttons::kYesNo:
    case Buttons::kYesNoCancel:
      if (!answers_.interactive) return Answer::kNo;
      switch (FirstLetter(ReadAnswerLine("[Y]es or [N]o? "))) {
        case 'y':
          return Answer::kYes;
        case 'n':
          return Answer::kNo;
        default:
          return buttons == Buttons::kYesNoCancel ? Answer::kCancel : Answer::kNo;
      }
  }
  return Answer::kCancel;
}

FourButtonAnswer ConsoleUserInterface::AskFourButtons(std::string_view title, std::string_view text,
                                                      FourButtons shown, FourButtonAnswer preset) {
  PrintMessage(title, text);
  if (answers_.yes_to_all && shown.yes_to_all) return FourButtonAnswer::kYesToAll;
  if (!answers_.interactive) return preset;
  // Each button with its label and the letter that answers it, in the order they are offered.
  const struct {
    bool shown;
    const char* label;
    char letter;
    FourButtonAnswer answer;
  } buttons[] = {{shown.yes, "[Y]es ", 'y', FourButtonAnswer::kYes},
                 {shown.yes_to_all, "Yes to [A]ll ", 'a', FourButtonAnswer::kYesToAll},
                 {shown.no, "[N]o ", 'n', FourButtonAnswer::kNo},
                 {shown.cancel, "[C]ancel ", 'c', FourButtonAnswer::kCancel}};
  std::string prompt;
  for (const auto& button : buttons) {
    if (button.shown) prompt += button.label;
  }
  const char letter = FirstLetter(ReadAnswerLine(prompt + "? "));
  for (const auto& button : buttons) {
    if (button.shown && button.letter == letter) return button.answer;
  }
  return preset;
}

void ConsoleUserInterface::AddStatusLine(std::string_view text) {
  if (answers_.quiet) return;
  EndProgressLine();
  out_ << text << '\n';
}

bool ConsoleUserInterface::ServiceEvents() {
  return interrupts_ != nullptr && interrupts_->StopRequested();
}

void ConsoleUserInterface::ShowProgress(int done, int total) {
  if (!answers_.progress) return;
  err_ << "\r" << done << " of " << total << " documents" << std::flush;
  progress_shown_ = true;
}

void ConsoleUserInterface::ShowProgressText(std::string_view text) {
  if (!answers_.progress) return;
  err_ << "\r" << text << "\033[K" << std::flush;
  progress_shown_ = true;
}

void ConsoleUserInterface::EndProgressLine() {
  if (!progress_shown_) return;
  err_ << "\r\033[K" << std::flush;
  progress_shown_ = false;
}

std::optional<std::string> ConsoleUserInterface::ChooseOpenFile(std::string_view title,
                                                                std::string_view,
                                                                std::string_view initial_path) {
  if (!answers_.interactive) return std::nullopt;
  std::string line = ReadAnswerLine(std::string(title) + " [" + std::string(initial_path) + "]: ");
  if (line.empty()) return std::string(initial_path);
  return line;
}

std::optional<std::string> ConsoleUserInterface::ChooseSaveFile(std::string_view title,
                                                                std::string_view filter,
                                                                std::string_view initial_path) {
  if (!answers_.save_file.empty()) return answers_.save_file;
  return ChooseOpenFile(title, filter, initial_path);
}

}  // namespace pentrak
