#include "gui/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <iostream>
#include <utility>

#include "gui/four_button_box.h"
#include "gui/qt_text.h"
#include "platform/paths.h"

namespace pentrak {

namespace {

QMessageBox::Icon BoxIcon(Icon icon) {
  switch (icon) {
    case Icon::kCritical:
      return QMessageBox::Critical;
    case Icon::kQuestion:
      return QMessageBox::Question;
    case Icon::kExclamation:
      return QMessageBox::Warning;
    case Icon::kInformation:
      return QMessageBox::Information;
    case Icon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return QMessageBox::Ok;
    case Buttons::kOkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// A typed path is taken as the chooser's start; of a pattern such as "/sites/*.web" only its
// folder is a place.
QString StartPath(std::string_view initial_path) {
  if (initial_path.find('*') == std::string_view::npos) return ToQt(initial_path);
  return ToQt(FolderOfPath(initial_path));
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return FromQt(path);
}

}  // namespace

// The console's output stream is never written: status lines stay in the window.
QtUserInterface::QtUserInterface(std::ostream& err)
    : err_(err), console_(std::cout, err, std::cin, ConsoleAnswers{}) {}

QtUserInterface::QtUserInterface() : QtUserInterface(std::cerr) {}

void QtUserInterface::Note(std::string_view text) { err_ << "pentrak: " << text << std::endl; }

void QtUserInterface::SetParentWindow(QWidget* window) { parent_ = window; }

void QtUserInterface::SetStatusList(StatusLines* lines) { status_lines_ = lines; }

Answer QtUserInterface::ShowMessage(std::string_view title, std::string_view text, Icon icon,
                                    Buttons buttons) {
  Answer unattended = console_.ShowMessage(title, text, icon, buttons);
  if (!has_screen_) return unattended;
  // What the run did up to the box is on the screen beside it.
  if (status_lines_ != nullptr) status_lines_->Deliver();
  QPointer<QWidget> asker = Asker();
  QMessageBox box(BoxIcon(icon), ToQt(title), MessageText(text), BoxButtons(buttons), asker);
  box.setObjectName(QStringLiteral("msgBox"));
  int pressed = box.exec();
  // The keys go back to the window that asked, not to the main window or nowhere.
  if (asker) asker->activateWindow();
  switch (buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kOkCancel:
      return pressed == QMessageBox::Ok ? Answer::kOk : Answer::kCancel;
    case Buttons::kYesNo:
      return pressed == QMessageBox::Yes ? Answer::kYes : Answer::kNo;
    case Buttons::kYesNoCancel:
      if (pressed == QMessageBox::Yes) return Answer::kYes;
      return pressed == QMessageBox::No ? Answer::kNo : Answer::kCancel;
  }
  return Answer::kCancel;
}

FourButtonAnswer QtUserInterface::AskFourButtons(std::string_view title, std::string_view text,
                                                 FourButtons shown, FourButtonAnswer preset) {
  FourButtonAnswer unattended = console_.AskFourButtons(title, text, shown, preset);
  if (!has_screen_) return unattended;
  if (status_lines_ != nullptr) status_lines_->Deliver();
  QPointer<QWidget> asker = Asker();
  FourButtonBox box(asker, title, text, shown, preset);
  FourButtonAnswer answer = box.Ask();
  if (asker) asker->activateWindow();
  return answer;
}

QWidget* QtUserInterface::Asker() const {
  QWidget* active = QApplication::activeWindow();
  return active != nullptr ? active : parent_.data();
}

void QtUserInterface::AddStatusLine(std::string_view text) {
  if (status_lines_ != nullptr) status_lines_->Append(std::string(text));
}

void QtUserInterface::ClearStatus() {
  if (status_lines_ != nullptr) status_lines_->Clear();
}

bool QtUserInterface::ServiceEvents() {
  if (!since_serviced_.isValid() || since_serviced_.elapsed() >= kServiceIntervalMs) {
    // Until nothing is left: the blocks of rows that wait are handed over, laid out and painted
    // in one go; bounded, so that a busy loop cannot hold the run.
    QApplication::processEvents(QEventLoop::AllEvents, kServiceIntervalMs / 2);
    since_serviced_.start();
  }
  return std::exchange(stop_clicked_, false);
}

void QtUserInterface::Beep() { QApplication::beep(); }

std::optional<std::string> QtUserInterface::ChooseOpenFile(std::string_view title,
                                                           std::string_view filter,
                                                           std::string_view initial_path) {
  if (!has_screen_) return console_.ChooseOpenFile(title, filter, initial_path);
  return Chosen(QFileDialog::getOpenFileName(parent_, ToQt(title), StartPath(initial_path),
                                             ChooserFilter(filter)));
}

std::optional<std::string> QtUserInterface::ChooseSaveFile(std::string_view title,
                                                           std::string_view filter,
                                                           std::string_view initial_path) {
  if (!has_screen_) return console_.ChooseSaveFile(title, filter, initial_path);
  return Chosen(QFileDialog::getSaveFileName(parent_, ToQt(title), StartPath(initial_path),
                                             ChooserFilter(filter)));
}

}  // namespace pentrak
