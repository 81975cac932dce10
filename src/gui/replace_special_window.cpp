#include "gui/replace_special_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "shell/workbench.h"

namespace pentrak {

ReplaceSpecialForm::ReplaceSpecialForm(ToolWindowHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)) {
  setObjectName(QStringLiteral("frmReplaceSpecial"));
  setWindowTitle(ToQt(kReplaceSpecialWindowTitle));

  auto* note = new QLabel(QStringLiteral("Repairs the line endings of one file: every carriage "
                                         "return without a line feed gets one."),
                          this);
  note->setWordWrap(true);
  file_ = BoundLineEdit("txtFile", model_.path, this, [this] { UpdateButtons(); });
  auto* file_caption = new QLabel(QStringLiteral("&File:"), this);
  file_caption->setBuddy(file_);
  auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
  browse->setObjectName(QStringLiteral("cmdBrowse"));
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, [this] {
    BrowseReplaceSpecialFile(host_.workbench.ui, model_);
    file_->setText(ToQt(model_.path));
  });

  replace_ = new QPushButton(QStringLiteral("&Replace"), this);
  replace_->setObjectName(QStringLiteral("cmdReplace"));
  replace_->setDefault(true);
  connect(replace_, &QPushButton::clicked, this, [this] {
    if (host_.busy()) return;
    PressReplaceSpecial(host_.workbench, model_, status_);
  });
  QPushButton* close = CloseButton(this);

  StatusLines* status_lines = NewStatusLines(this);
  status_view_ = StatusView("lstReplaceSpecialStatus", status_lines, this);
  status_ = ListStatus(status_lines);

  auto* top = new QGridLayout;
  top->addWidget(note, 0, 0, 1, 3);
  top->addWidget(file_caption, 1, 0);
  top->addWidget(file_, 1, 1);
  top->addWidget(browse, 1, 2);
  top->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(replace_);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(StatusCaption("lblReplaceSpecialStatus", status_view_, this));
  layout->addWidget(status_view_, 1);
  layout->addLayout(buttons);
  resize(620, 300);
  UpdateButtons();
}

void ReplaceSpecialForm::Open() {
  UpdateButtons();
  show();
  raise();
  activateWindow();
  file_->setFocus();
}

void ReplaceSpecialForm::UpdateButtons() {
  replace_->setEnabled(ReplaceSpecialEnabled(model_) && !host_.busy());
}

}  // namespace pentrak
