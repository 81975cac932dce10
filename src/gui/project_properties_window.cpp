#include "gui/project_properties_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <span>
#include <string>
#include <utility>

#include "gui/dialog_layout.h"
#include "gui/qt_text.h"
#include "gui/window_commands.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

using Kind = PropertiesFieldKind;

constexpr PropertiesTab kTabs[] = {PropertiesTab::kGeneral, PropertiesTab::kMacros,
                                   PropertiesTab::kHtmlOptimization,
                                   PropertiesTab::kMemoryManagement, PropertiesTab::kAdvanced};

// The example text shown beside a tag's field, when it has one.
std::string SampleTexts::*ExampleOf(std::string_view key) {
  struct Beside {
    std::string_view key;
    std::string SampleTexts::*text;
  };
  static constexpr Beside kBeside[] = {
      {"wildcard-tag", &SampleTexts::wildcard},
      {"parent-reference-tag", &SampleTexts::parent_reference},
      {"concatenate-tag", &SampleTexts::concatenate},
      {"single-quote-escape-tag", &SampleTexts::single_quote_escape},
      {"non-blank-delete-tag", &SampleTexts::non_blank_delete},
      {"required-tag", &SampleTexts::required},
      {"conditional-start-tag", &SampleTexts::conditional_start},
      {"conditional-else-tag", &SampleTexts::conditional_else},
      {"conditional-end-tag", &SampleTexts::conditional_end},
  };
  for (const Beside& beside : kBeside) {
    if (beside.key == key) return beside.text;
  }
  return nullptr;
}

using ResetCommand = void (*)(ProjectPropertiesForm&);

// The reset command of a tab, when it has one.
ResetCommand ResetOf(PropertiesTab tab) {
  switch (tab) {
    case PropertiesTab::kMacros:
      return ResetMacroTags;
    case PropertiesTab::kHtmlOptimization:
      return ResetHtmlOptimization;
    case PropertiesTab::kMemoryManagement:
      return ResetMemoryManagement;
    default:
      return nullptr;
  }
}

const char* ResetButtonName(PropertiesTab tab) {
  switch (tab) {
    case PropertiesTab::kMacros:
      return "cmdResetMacroTags";
    case PropertiesTab::kHtmlOptimization:
      return "cmdResetHtmlOptimization";
    default:
      return "cmdResetMemoryManagement";
  }
}

bool IsNarrow(Kind kind) { return kind == Kind::kTag || kind == Kind::kShownOnly; }

}  // namespace

ProjectPropertiesWindow::ProjectPropertiesWindow(Workbench& workbench, ProjectPropertiesForm form,
                                                 std::function<void()> after_confirm,
                                                 QWidget* parent)
    : QDialog(parent),
      workbench_(workbench),
      form_(std::move(form)),
      after_confirm_(std::move(after_confirm)) {
  setObjectName(QStringLiteral("frmProjectProperties"));
  setWindowTitle(form_.new_project_mode ? QStringLiteral("New Project")
                                        : QStringLiteral("Project Properties"));
  setAttribute(Qt::WA_DeleteOnClose);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabProperties"));
  Mnemonics tab_mnemonics;
  QStringList captions;
  for (PropertiesTab tab : kTabs) captions << tab_mnemonics.Mark(ToQt(TabCaption(tab)));
  // The tab letters stay live on every tab, so the fields take others.
  QString reserved;
  for (const QString& caption : captions)
    reserved += caption.mid(caption.indexOf(QLatin1Char('&')) + 1, 1);
  for (std::size_t i = 0; i < std::size(kTabs); ++i) {
    tabs_->addTab(BuildTab(kTabs[i], reserved), captions[static_cast<qsizetype>(i)]);
  }

  QPushButton* confirm = NamedButton("cmdOK", ToQt(ConfirmCaption(form_)), this);
  QPushButton* cancel = NamedButton("cmdCancel", QStringLiteral("Cancel"), this);
  connect(confirm, &QPushButton::clicked, this, [this] { Confirm(); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addLayout(ClosingButtons(this, confirm, cancel));
  setMinimumWidth(640);
  ShowForm();
  // Typing starts in the project name rather than on the tab bar.
  controls_.front().widget->setFocus();
}

QWidget* ProjectPropertiesWindow::BuildTab(PropertiesTab tab, const QString& reserved) {
  auto* page = new QWidget(tabs_);
  auto* column = new QVBoxLayout(page);
  auto* rows = new QFormLayout;
  rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  column->addLayout(rows);
  Mnemonics mnemonics(reserved);
  ResetCommand reset = ResetOf(tab);
  // The reset button takes its letter first, so that it is the same on each of its tabs.
  QString reset_caption =
      reset == nullptr ? QString() : mnemonics.Mark(QStringLiteral("Reset Defaults"));
  for (const PropertiesField& field : ProjectPropertiesFields()) {
    if (field.tab != tab) continue;
    QString caption = mnemonics.Mark(ToQt(field.label));
    QWidget* control = BuildControl(field, page);
    controls_.push_back({&field, control});
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
      box->setText(caption);
      rows->addRow(box);
      continue;
    }
    auto* label = new QLabel(caption + QLatin1Char(':'), page);
    label->setBuddy(control);
    std::string SampleTexts::*example = ExampleOf(field.key);
    if (example == nullptr) {
      rows->addRow(label, control);
    } else {
      auto* beside = new QHBoxLayout;
      beside->addWidget(control);
      beside->addWidget(NewExample(example, "example-" + std::string(field.key), page), 1);
      rows->addRow(label, beside);
    }
    if (field.key == "optimize-exclude-list") {
      auto* hint = new QLabel(
          QStringLiteral("(Enter file extensions separated by commas. Example: .css, .js, .xml)"),
          page);
      hint->setWordWrap(true);
      rows->addRow(QString(), hint);
    }
    // The example definition follows the parameter tags it shows.
    if (field.key == "parameter-end-tag") {
      rows->addRow(new QLabel(QStringLiteral("Example:"), page),
                   NewExample(&SampleTexts::macro_definition, "example-macro-definition", page));
    }
  }
  if (tab == PropertiesTab::kGeneral && form_.new_project_mode) {
    column->addWidget(BuildCreationSwitches(page, mnemonics));
  }
  column->addStretch(1);
  if (reset != nullptr) {
    QPushButton* button = NamedButton(ResetButtonName(tab), reset_caption, page);
    connect(button, &QPushButton::clicked, this, [this, reset] {
      reset(form_);
      ShowForm();
    });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(button);
    column->addLayout(row);
  }
  return page;
}

QWidget* ProjectPropertiesWindow::BuildControl(const PropertiesField& field, QWidget* page) {
  // The fields live in the model's static table, so the controls may keep a pointer to theirs.
  const PropertiesField* shown = &field;
  QWidget* control = nullptr;
  switch (field.kind) {
    case Kind::kSwitch: {
      auto* box = new QCheckBox(page);
      connect(box, &QCheckBox::toggled, this, [this, shown](bool checked) {
        Edited(*shown, checked ? QStringLiteral("1") : QStringLiteral("0"));
      });
      control = box;
      break;
    }
    case Kind::kOptimizationStatus:
    case Kind::kOptimizationLevel: {
      auto* box = new QComboBox(page);
      bool status = field.kind == Kind::kOptimizationStatus;
      for (std::string_view caption :
           status ? std::span<const std::string_view>(kOptimizationStatusCaptions)
                  : std::span<const std::string_view>(kOptimizationLevelCaptions)) {
        box->addItem(ToQt(caption));
      }
      // The status counts from 0, the level from 1.
      int first = status ? 0 : 1;
      connect(box, &QComboBox::currentIndexChanged, this,
              [this, shown, first](int index) { Edited(*shown, QString::number(index + first)); });
      control = box;
      break;
    }
    default: {
      auto* edit = new QLineEdit(page);
      if (IsNarrow(field.kind)) edit->setMaximumWidth(70);
      if (field.kind == Kind::kLimit) edit->setMaximumWidth(70);
      // The else tag is built from the others: shown, never typed, and passed over by Tab.
      edit->setEnabled(field.kind != Kind::kShownOnly);
      connect(edit, &QLineEdit::textEdited, this,
              [this, shown](const QString& text) { Edited(*shown, text); });
      if (field.kind == Kind::kPath) {
        connect(edit, &QLineEdit::editingFinished, this, [this, shown] {
          LeavePathField(form_, shown->path);
          ShowForm();
        });
      }
      if (field.key == "optimize-exclude-list") {
        exclude_list_ = edit;
        edit->installEventFilter(this);
      }
      control = edit;
      break;
    }
  }
  control->setObjectName(ToQt(field.key));
  return control;
}

QWidget* ProjectPropertiesWindow::BuildCreationSwitches(QWidget* page, Mnemonics& mnemonics) {
  auto* group = new QGroupBox(QStringLiteral("New Project"), page);
  auto* layout = new QVBoxLayout(group);
  const std::pair<const char*, bool SampleProjectSwitches::*> kSwitches[] = {
      {"ckCreateSamples", &SampleProjectSwitches::create_samples},
      {"ckCreateDefinition", &SampleProjectSwitches::create_definition},
      {"ckCreateRoots", &SampleProjectSwitches::create_roots},
  };
  for (std::size_t i = 0; i < std::size(kSwitches); ++i) {
    auto* box = new QCheckBox(mnemonics.Mark(ToQt(kSampleSwitchCaptions[i])), group);
    box->setObjectName(QString::fromLatin1(kSwitches[i].first));
    bool SampleProjectSwitches::*value = kSwitches[i].second;
    connect(box, &QCheckBox::toggled, this,
            [this, value](bool checked) { form_.switches.*value = checked; });
    switches_.emplace_back(value, box);
    layout->addWidget(box);
  }
  return group;
}

QLabel* ProjectPropertiesWindow::NewExample(std::string SampleTexts::*text, const std::string& name,
                                            QWidget* page) {
  auto* label = new QLabel(page);
  label->setObjectName(ToQt(name));
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  examples_.push_back({text, label});
  return label;
}

void ProjectPropertiesWindow::Edited(const PropertiesField& field, const QString& text) {
  RunTrapped(workbench_.ui, [&] { SetPropertiesFieldText(form_, field.key, FromQt(text)); });
  // A tag changes the else tag and the examples; other fields change nothing else.
  if (field.kind == Kind::kTag) ShowForm();
}

void ProjectPropertiesWindow::ShowForm() {
  for (const Control& control : controls_) {
    QString text = ToQt(PropertiesFieldText(form_, control.field->key));
    if (auto* edit = qobject_cast<QLineEdit*>(control.widget)) {
      ShowQuietly(edit, text);
    } else if (auto* box = qobject_cast<QCheckBox*>(control.widget)) {
      ShowQuietly(box, text == QStringLiteral("1"));
    } else if (auto* choice = qobject_cast<QComboBox*>(control.widget)) {
      int first = control.field->kind == Kind::kOptimizationStatus ? 0 : 1;
      ShowQuietly(choice, text.toInt() - first);
    }
  }
  for (const Example& example : examples_)
    example.label->setText(ToQt(form_.samples.*example.text));
  for (auto& [value, box] : switches_) ShowQuietly(box, form_.switches.*value);
}

bool ProjectPropertiesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == exclude_list_ && event->type() == QEvent::FocusIn) {
    ActivateOptimizeExcludeList(form_);
    ShowForm();
  }
  return QDialog::eventFilter(watched, event);
}

void ProjectPropertiesWindow::Confirm() {
  DialogState state = DialogState::kOpen;
  RunTrapped(workbench_.ui,
             [this, &state] { state = ConfirmProjectProperties(workbench_, form_); });
  if (state == DialogState::kOpen) {
    tabs_->setCurrentIndex(static_cast<int>(form_.tab));
    ShowForm();
    return;
  }
  if (after_confirm_) after_confirm_();
  accept();
}

void ProjectPropertiesWindow::reject() {
  CancelProjectProperties(form_);
  QDialog::reject();
}

}  // namespace pentrak
