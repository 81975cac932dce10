#include "testing/scripted_user_interface.h"

namespace pentrak {

Answer ScriptedUserInterface::ShowMessage(std::string_view title, std::string_view text, Icon icon,
                                          Buttons buttons) {
  if (on_look) on_look();
  messages.push_back({std::string(title), std::string(text), icon, buttons});
  if (!message_answers.empty()) {
    Answer answer = message_answers.front();
    message_answers.pop_front();
    return answer;
  }
  return (buttons == Buttons::kYesNo || buttons == Buttons::kYesNoCancel) ? Answer::kYes
                                                                          : Answer::kOk;
}

FourButtonAnswer ScriptedUserInterface::AskFourButtons(std::string_view title,
                                                       std::string_view text, FourButtons shown,
                                                       FourButtonAnswer preset) {
  if (on_look) on_look();
  questions.push_back({std::string(title), std::string(text), shown, preset});
  if (!question_answers.empty()) {
    FourButtonAnswer answer = question_answers.front();
    question_answers.pop_front();
    return answer;
  }
  return preset;
}

void ScriptedUserInterface::AddStatusLine(std::string_view text) {
  status_lines.emplace_back(text);
}

void ScriptedUserInterface::ClearStatus() {
  status_lines.clear();
  ++status_clears;
}

bool ScriptedUserInterface::ServiceEvents() {
  if (on_look) on_look();
  ++service_calls;
  return stop_on_service_call != 0 && service_calls == stop_on_service_call;
}

std::optional<std::string> ScriptedUserInterface::NextFileChoice() {
  if (file_choices.empty()) return std::nullopt;
  std::optional<std::string> choice = file_choices.front();
  file_choices.pop_front();
  return choice;
}

std::optional<std::string> ScriptedUserInterface::ChooseOpenFile(std::string_view, std::string_view,
                                                                 std::string_view) {
  return NextFileChoice();
}

std::optional<std::string> ScriptedUserInterface::ChooseSaveFile(std::string_view, std::string_view,
                                                                 std::string_view) {
  return NextFileChoice();
}

}  // namespace pentrak
