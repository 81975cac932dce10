#pragma once

// For tests only: linked into the test binaries, never into a program.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/user_interface.h"

namespace pentrak {

// The first queued answer, taken off the queue, or fallback when none is queued.
template <typename T>
T NextAnswer(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

// A user interface for tests: answers come from queues, and everything shown is recorded.
class ScriptedUserInterface : public UserInterface {
 public:
  struct Message {
    std::string title;
    std::string text;
    Icon icon;
    Buttons buttons;
  };
  struct Question {
    std::string title;
    std::string text;
    FourButtons shown;
    FourButtonAnswer preset;
  };

  // Queued answers; an empty queue gives OK/Yes for messages and the preset for questions.
  std::deque<Answer> message_answers;
  std::deque<FourButtonAnswer> question_answers;
  std::deque<std::optional<std::string>> file_choices;
  // Where each file chooser was asked to start.
  std::vector<std::string> file_starts;
  // ServiceEvents reports a stop request on this call (1-based); 0 never.
  int stop_on_service_call = 0;
  // Called wherever a person could look at files in the middle of an operation: on every
  // message, question and servicing of events.
  std::function<void()> on_look;

  std::vector<Message> messages;
  std::vector<Question> questions;
  std::vector<std::string> status_lines;
  int beeps = 0;
  int service_calls = 0;
  int status_clears = 0;

  Answer ShowMessage(std::string_view title, std::string_view text, Icon icon,
                     Buttons buttons) override;
  FourButtonAnswer AskFourButtons(std::string_view title, std::string_view text, FourButtons shown,
                                  FourButtonAnswer preset) override;
  void AddStatusLine(std::string_view text) override;
  void ClearStatus() override;
  bool ServiceEvents() override;
  void Beep() override { ++beeps; }
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override;
  std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override;
};

}  // namespace pentrak
