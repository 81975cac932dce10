#pragma once

#include <QPointer>

#include "platform/user_interface.h"

class QListWidget;
class QWidget;

namespace pentrak {

// The desktop's side of the seam: real message boxes, the four-button question, Qt's file
// choosers, the main window's status list, and event servicing that reports a Stop click.
class QtUserInterface : public UserInterface {
 public:
  // Boxes are owned by this window (none before the main window exists).
  void SetParentWindow(QWidget* window);
  // Status lines go to this list (dropped before the main window exists).
  void SetStatusList(QListWidget* list);
  // The Stop command: the next ServiceEvents reports it.
  void RequestStop() { stop_clicked_ = true; }

  Answer ShowMessage(std::string_view title, std::string_view text, Icon icon,
                     Buttons buttons) override;
  FourButtonAnswer AskFourButtons(std::string_view title, std::string_view text, FourButtons shown,
                                  FourButtonAnswer preset) override;
  void AddStatusLine(std::string_view text) override;
  void ClearStatus() override;
  bool ServiceEvents() override;
  void Beep() override;
  std::optional<std::string> ChooseOpenFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override;
  std::optional<std::string> ChooseSaveFile(std::string_view title, std::string_view filter,
                                            std::string_view initial_path) override;

 private:
  QPointer<QWidget> parent_;
  QPointer<QListWidget> status_list_;
  bool stop_clicked_ = false;
};

}  // namespace pentrak
