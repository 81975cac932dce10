#include "gui/option_import_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <string>
#include <utility>

#include "gui/dialog_layout.h"
#include "gui/qt_text.h"
#include "gui/window_commands.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

QLabel* Heading(const char* name, std::string_view text, QWidget* parent) {
  auto* label = new QLabel(ToQt(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setWordWrap(true);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

HistoryChoice ChoiceAt(std::size_t index) { return static_cast<HistoryChoice>(index); }

}  // namespace

OptionImportWindow::OptionImportWindow(Workbench& workbench, std::function<void()> after_finish,
                                       QWidget* parent)
    : QDialog(parent),
      workbench_(workbench),
      wizard_(OpenOptionImportWizard(workbench)),
      after_finish_(std::move(after_finish)) {
  setObjectName(QStringLiteral("frmImportOptions"));
  setAttribute(Qt::WA_DeleteOnClose);

  steps_ = new QStackedWidget(this);
  steps_->addWidget(BuildOptionsStep());
  steps_->addWidget(BuildHistoryStep());

  back_ = NamedButton("cmdBack", QStringLiteral("< &Back"), this);
  next_ = NamedButton("cmdNext", QStringLiteral("&Next >"), this);
  finish_ = NamedButton("cmdFinish", QStringLiteral("&Finish"), this);
  QPushButton* cancel = NamedButton("cmdCancel", QStringLiteral("Cancel"), this);
  connect(back_, &QPushButton::clicked, this, [this] {
    GoBack(wizard_);
    ShowWizard();
  });
  connect(next_, &QPushButton::clicked, this, [this] { Next(); });
  connect(finish_, &QPushButton::clicked, this, [this] { Finish(); });
  QHBoxLayout* buttons = ClosingButtons(this, finish_, cancel);
  buttons->insertWidget(1, back_);
  buttons->insertWidget(2, next_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(steps_, 1);
  layout->addLayout(buttons);
  setMinimumWidth(600);
  ShowWizard();
  options_path_->setFocus();
}

QWidget* OptionImportWindow::BuildOptionsStep() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* label = new QLabel(QStringLiteral("&Program Options file to import:"), page);
  options_path_ = new QLineEdit(page);
  options_path_->setObjectName(QStringLiteral("txtOptionsFile"));
  label->setBuddy(options_path_);
  QPushButton* browse = WirePathField(
      options_path_, &OptionImportWizard::options_path,
      [](OptionImportWizard& wizard, std::string text) { wizard.options_path = std::move(text); },
      "cmdBrowseOptions", BrowseImportedOptionsFile, page);
  auto* row = new QHBoxLayout;
  row->addWidget(options_path_, 1);
  row->addWidget(browse);
  layout->addWidget(label);
  layout->addLayout(row);
  layout->addStretch(1);
  return page;
}

QWidget* OptionImportWindow::BuildHistoryStep() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  grid->setColumnStretch(1, 1);
  const char* names[] = {"optHistory0", "optHistory1", "optHistory2", "optHistory3"};
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    choices_[i] = new QRadioButton(page);
    choices_[i]->setObjectName(QString::fromLatin1(names[i]));
    HistoryChoice choice = ChoiceAt(i);
    connect(choices_[i], &QRadioButton::clicked, this, [this, choice] {
      wizard_.choice = choice;
      ShowWizard();
    });
  }
  // Choice 1 has no shown path: its own field and a browse button stand beside it.
  choices_[1]->setText(QStringLiteral("&Other file:"));
  other_history_path_ = new QLineEdit(page);
  other_history_path_->setObjectName(QStringLiteral("txtHistoryFile"));
  // Typing a file means that file: like browsing, it selects the choice.
  QPushButton* browse =
      WirePathField(other_history_path_, &OptionImportWizard::other_history_path,
                    ChooseOtherHistoryFile, "cmdBrowseHistory", BrowseImportedHistoryFile, page);

  grid->addWidget(Heading("lblImportHistory", kImportHistoryHeading, page), 0, 0, 1, 3);
  grid->addWidget(choices_[0], 1, 0, 1, 3);
  grid->addWidget(choices_[1], 2, 0);
  grid->addWidget(other_history_path_, 2, 1);
  grid->addWidget(browse, 2, 2);
  grid->setRowMinimumHeight(3, 12);
  grid->addWidget(Heading("lblKeepHistory", kKeepHistoryHeading, page), 4, 0, 1, 3);
  grid->addWidget(choices_[2], 5, 0, 1, 3);
  grid->addWidget(choices_[3], 6, 0, 1, 3);
  grid->setRowStretch(7, 1);
  // Choice 1's own field and button come right after it.
  setTabOrder(choices_[1], other_history_path_);
  setTabOrder(other_history_path_, browse);
  setTabOrder(browse, choices_[2]);
  return page;
}

QPushButton* OptionImportWindow::WirePathField(QLineEdit* edit,
                                               std::string OptionImportWizard::*field,
                                               void (*typed)(OptionImportWizard&, std::string),
                                               const char* browse_name,
                                               void (*browse)(Workbench&, OptionImportWizard&),
                                               QWidget* page) {
  connect(edit, &QLineEdit::textEdited, this, [this, typed](const QString& text) {
    typed(wizard_, FromQt(text));
    ShowWizard();
  });
  connect(edit, &QLineEdit::editingFinished, this, [this, field] {
    LeaveImportPathField(wizard_.*field);
    ShowWizard();
  });
  QPushButton* button = NamedButton(browse_name, QStringLiteral("B&rowse..."), page);
  connect(button, &QPushButton::clicked, this, [this, browse] {
    RunTrapped(workbench_.ui, [this, browse] { browse(workbench_, wizard_); });
    ShowWizard();
  });
  return button;
}

void OptionImportWindow::ShowWizard() {
  bool history_step = wizard_.step == ImportStep::kHistoryChoice;
  steps_->setCurrentIndex(history_step ? 1 : 0);
  setWindowTitle(history_step ? QStringLiteral("Import Options - Step 2 of 2")
                              : QStringLiteral("Import Options - Step 1 of 2"));
  ShowQuietly(options_path_, ToQt(wizard_.options_path));
  ShowQuietly(other_history_path_, ToQt(wizard_.other_history_path));
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    // A path's "&" is shown as it is, not taken for a mnemonic.
    QString caption = ToQt(ChoiceCaption(wizard_, ChoiceAt(i)));
    if (i != 1) choices_[i]->setText(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
    choices_[i]->setChecked(wizard_.choice == ChoiceAt(i));
  }
  back_->setEnabled(BackEnabled(wizard_));
  next_->setEnabled(NextEnabled(wizard_));
  finish_->setEnabled(FinishEnabled(wizard_));
  // Enter goes on: Next on the first step, Finish on the second.
  next_->setDefault(!history_step);
  finish_->setDefault(history_step);
}

void OptionImportWindow::Next() {
  LeaveImportPathField(wizard_.options_path);
  RunTrapped(workbench_.ui, [this] { ImportOptionsNext(workbench_, wizard_); });
  ShowWizard();
}

void OptionImportWindow::Finish() {
  bool finished = false;
  RunTrapped(workbench_.ui,
             [this, &finished] { finished = ImportOptionsFinish(workbench_, wizard_); });
  if (!finished) {
    ShowWizard();
    return;
  }
  if (after_finish_) after_finish_();
  accept();
}

}  // namespace pentrak
