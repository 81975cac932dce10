#include "gui/program_options_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <string>

#include "gui/dialog_layout.h"
#include "gui/qt_text.h"
#include "gui/window_commands.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

constexpr OptionsTab kTabs[] = {OptionsTab::kApplications, OptionsTab::kCommands,
                                OptionsTab::kProjects, OptionsTab::kGeneration,
                                OptionsTab::kDisplay};

// The letters of the buttons and the tab captions, live on every tab.
const QString kReserved = QStringLiteral("acpgd");

}  // namespace

ProgramOptionsWindow::ProgramOptionsWindow(Workbench& workbench,
                                           std::function<void(bool resizable)> set_border,
                                           std::function<void()> after_confirm, QWidget* parent)
    : QDialog(parent),
      workbench_(workbench),
      form_(OpenProgramOptions(workbench)),
      set_border_(std::move(set_border)),
      after_confirm_(std::move(after_confirm)) {
  setObjectName(QStringLiteral("frmOptions"));
  setWindowTitle(QStringLiteral("Options"));
  setAttribute(Qt::WA_DeleteOnClose);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabOptions"));
  for (OptionsTab tab : kTabs) {
    tabs_->addTab(BuildTab(tab), QStringLiteral("&") + ToQt(OptionsTabCaption(tab)));
  }
  QPushButton* ok = NamedButton("cmdOK", QStringLiteral("OK"), this);
  QPushButton* cancel = NamedButton("cmdCancel", QStringLiteral("Cancel"), this);
  connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addLayout(ClosingButtons(this, ok, cancel));
  setMinimumWidth(620);
  ShowEnabling();
  // Typing starts in the first field rather than on the tab bar.
  fields_.front().second->setFocus();
}

QWidget* ProgramOptionsWindow::BuildTab(OptionsTab tab) {
  auto* page = new QWidget(tabs_);
  auto* form = new QFormLayout(page);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  Mnemonics mnemonics(kReserved);
  for (const OptionsField& field : ProgramOptionsFields()) {
    if (field.tab != tab) continue;
    QString caption = mnemonics.Mark(ToQt(field.label));
    QWidget* control = BuildField(field, page);
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
      box->setText(caption);
      form->addRow(box);
    } else {
      auto* label = new QLabel(caption + QLatin1Char(':'), page);
      label->setBuddy(control);
      form->addRow(label, control);
    }
    fields_.emplace_back(field.key, control);
  }
  return page;
}

QWidget* ProgramOptionsWindow::BuildField(const OptionsField& field, QWidget* page) {
  std::string_view key = field.key;
  QWidget* control = nullptr;
  switch (field.kind) {
    case OptionsFieldKind::kSwitch: {
      auto* box = new QCheckBox(page);
      box->setChecked(FieldChecked(form_, key));
      connect(box, &QCheckBox::toggled, this, [this, key](bool checked) {
        SetFieldChecked(form_, key, checked);
        ShowEnabling();
      });
      control = box;
      break;
    }
    case OptionsFieldKind::kChoice: {
      auto* box = new QComboBox(page);
      for (std::string_view caption : DocumentsDefaultActionCaptions()) box->addItem(ToQt(caption));
      box->setCurrentIndex(std::stoi(FieldText(form_, key)));
      connect(box, &QComboBox::currentIndexChanged, this,
              [this, key](int index) { SetFieldText(form_, key, std::to_string(index)); });
      control = box;
      break;
    }
    case OptionsFieldKind::kText:
    case OptionsFieldKind::kNumber: {
      auto* edit = new QLineEdit(ToQt(FieldText(form_, key)), page);
      if (field.kind == OptionsFieldKind::kNumber) edit->setMaximumWidth(80);
      connect(edit, &QLineEdit::textEdited, this,
              [this, key](const QString& text) { SetFieldText(form_, key, FromQt(text)); });
      control = edit;
      break;
    }
  }
  control->setObjectName(ToQt(key));
  const QString unavailable = ToQt(FieldUnavailableReason(key));
  control->setToolTip(unavailable);
  // Shown in the empty, disabled field itself, where a tooltip would go unseen.
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setPlaceholderText(unavailable);
  return control;
}

void ProgramOptionsWindow::ShowEnabling() {
  for (auto& [key, control] : fields_) control->setEnabled(FieldEnabled(form_, key));
}

void ProgramOptionsWindow::Confirm() {
  DialogState state = DialogState::kOpen;
  RunTrapped(workbench_.ui,
             [this, &state] { state = ConfirmProgramOptions(workbench_, form_, set_border_); });
  if (state == DialogState::kOpen) {
    tabs_->setCurrentIndex(static_cast<int>(form_.tab));
    return;
  }
  if (after_confirm_) after_confirm_();
  accept();
}

}  // namespace pentrak
