#include "gui/replace_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "shell/workbench.h"

namespace pentrak {

ReplaceForm::ReplaceForm(ToolWindowHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)) {
  setObjectName(QStringLiteral("frmReplace"));
  setWindowTitle(ToQt(kReplaceWindowTitle));
  model_.run.on_change = [this] {
    UpdateButtons();
    if (host_.run_changed) host_.run_changed();
  };
  auto changed = [this] { UpdateButtons(); };

  // Created in tab order: the texts, the scope, the options, the buttons, then the lists.
  find_ = BoundLineEdit("txtFind", model_.request.find_text, this, changed);
  replacement_ = BoundLineEdit("txtReplace", model_.request.replacement, this, changed);
  auto* find_caption = new QLabel(QStringLiteral("Find &what:"), this);
  find_caption->setBuddy(find_);
  auto* replacement_caption = new QLabel(QStringLiteral("Re&place with:"), this);
  replacement_caption->setBuddy(replacement_);

  selection_ = new SelectionBox(model_.request.selection, this);
  selection_->on_change = changed;

  auto* options = new QGroupBox(QStringLiteral("Options"), this);
  options_ = options;
  auto* option_layout = new QVBoxLayout(options);
  option_layout->addWidget(BoundCheckBox("ckIgnoreCase", QStringLiteral("&Ignore case"),
                                         model_.request.ignore_case, options, changed));
  QCheckBox* detailed = BoundCheckBox("ckDetailedResults", QStringLiteral("&Detailed results"),
                                      model_.request.detailed, options, changed);
  option_layout->addWidget(detailed);
  auto* read_only_note =
      new QLabel(QStringLiteral("Read-only files are searched but never changed."), options);
  read_only_note->setWordWrap(true);
  option_layout->addWidget(read_only_note);
  option_layout->addStretch(1);

  replace_ = new QPushButton(this);
  replace_->setObjectName(QStringLiteral("cmdReplace"));
  replace_->setDefault(true);
  connect(replace_, &QPushButton::clicked, this, [this] {
    CurrentSelection at = host_.selection();
    PressReplace(host_.workbench, model_, status_, *results_, at.folder, at.document);
  });
  close_ = CloseButton(this);

  StatusLines* status_lines = NewStatusLines(this);
  status_view_ = StatusView("lstReplaceStatus", status_lines, this);
  status_ = ListStatus(status_lines);
  results_ = new ResultsPanel(host_.workbench, host_.processes, this);
  results_->SetDetailsShown(model_.request.detailed);
  connect(detailed, &QCheckBox::toggled, results_, &ResultsPanel::SetDetailsShown);

  auto* top = new QGridLayout;
  top->addWidget(find_caption, 0, 0);
  top->addWidget(find_, 0, 1);
  top->addWidget(replace_, 0, 2);
  top->addWidget(replacement_caption, 1, 0);
  top->addWidget(replacement_, 1, 1);
  top->addWidget(close_, 1, 2);
  auto* middle = new QHBoxLayout;
  middle->addWidget(selection_, 1);
  middle->addWidget(options, 1);
  top->addLayout(middle, 2, 0, 1, 2);
  top->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(StatusCaption("lblReplaceStatus", status_view_, this));
  layout->addWidget(status_view_, 1);
  layout->addWidget(results_, 4);
  resize(760, 640);
  UpdateButtons();
}

void ReplaceForm::Open() {
  show();
  raise();
  activateWindow();
  find_->setFocus();
  find_->selectAll();
}

void ReplaceForm::UpdateButtons() {
  bool running = Running();
  replace_->setText(QStringLiteral("&") + ToQt(RunButtonCaption(model_.run, "Replace")));
  replace_->setEnabled(ReplaceButtonEnabled(model_) && (running || !host_.busy()));
  close_->setEnabled(CloseButtonEnabled(model_.run));
  // The request is read as the run starts; changing it halfway would only mislead.
  for (QWidget* widget : {static_cast<QWidget*>(find_), static_cast<QWidget*>(replacement_),
                          static_cast<QWidget*>(selection_), options_}) {
    widget->setEnabled(!running);
  }
}

void ReplaceForm::reject() {
  if (MayCloseReplaceWindow(host_.workbench.ui, model_)) QDialog::reject();
}

}  // namespace pentrak
