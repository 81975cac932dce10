#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <iosfwd>

#include "gui/row_list_view.h"
#include "platform/console_user_interface.h"
#include "platform/user_interface.h"

class QWidget;

namespace pentrak {

// The desktop's side of the seam: real message boxes, the four-button question, Qt's file
// choosers, the main window's status list, and event servicing that reports a Stop click. A run
// asks for servicing once per document or file; the window is brought up to date at most every
// kServiceInterval, which is where the lines of the run reach the lists, in blocks. The
// text of every box and question also goes to the error stream, where a scheduler's log finds
// it. Without a screen nothing waits for a person who cannot be there: boxes, questions and
// choosers are answered as pentrak-cli answers them with no terminal (OK, the preset answer,
// Cancel, no file).
class QtUserInterface : public UserInterface {
 public:
  explicit QtUserInterface(std::ostream& err);
  QtUserInterface();  // on std::cerr

  // Whether a screen can show the boxes (false on the offscreen and minimal platforms).
  void SetHasScreen(bool has_screen) { has_screen_ = has_screen; }
  bool HasScreen() const { return has_screen_; }

  // How often a run lets the window take in its lines, repaint and see a Stop click.
  static constexpr int kServiceIntervalMs = 50;
  // A line for the error stream alone: what an unattended run must tell whoever started it
  // where no box is described.
  void Note(std::string_view text);

  // Boxes are owned by this window (none before the main window exists).
  void SetParentWindow(QWidget* window);
  // Status lines go to these (dropped before the main window exists).
  void SetStatusList(StatusLines* lines);
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
  // The window that asks: the active one (a tool window or dialog), else the main window.
  QWidget* Asker() const;

  std::ostream& err_;
  ConsoleUserInterface console_;  // writes the texts to err_ and gives the unattended answers
  bool has_screen_ = true;
  QPointer<QWidget> parent_;
  QPointer<StatusLines> status_lines_;
  bool stop_clicked_ = false;
  QElapsedTimer since_serviced_;  // invalid until events were first serviced
};

}  // namespace pentrak
