#include "testing/scripted_user_interface.h"

namespace pentrak {

Answer ScriptedUserInterface::ShowMessage(std::string_view title, std::string_view text, Icon icon,
                                          Buttons buttons) {
  if (on_look) on_look();
  messages.push_back({std::string(title), std::string(text), icon, buttons});
  const bool asks = buttons == Buttons::kYesNo || buttons == Buttons::kYesNoCancel;
  return NextAnswer(message_answers, asks ? Answer::kYes : Answer::kOk);
}

FourButtonAnswer ScriptedUserInterface::AskFourButtons(std::string_view title,
                                                       std::string_view text, FourButtons shown,
                                                       FourButtonAnswer preset) {
  if (on_look) on_look();
  questions.push_back({std::string(title), std::string(text), shown, preset});
  return NextAnswer(question_answers, preset);
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

std::optional<std::string> ScriptedUserInterface::ChooseOpenFile(std::string_view, std::string_view,
                                                                 std::string_view initial_path) {
  file_starts.emplace_back(initial_path);
  return NextAnswer(file_choices, std::optional<std::string>());
}

std::optional<std::string> ScriptedUserInterface::ChooseSaveFile(std::string_view, std::string_view,
                                                                 std::string_view) {
  return NextAnswer(file_choices, std::optional<std::string>());
}

}  // namespace pentrak
