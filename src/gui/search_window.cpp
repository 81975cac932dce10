#include "gui/search_window.h"

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

namespace {

QString Quoted(const std::string& text) { return QStringLiteral("\"") + ToQt(text) + "\""; }

}  // namespace

SearchForm::SearchForm(ToolWindowHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)), model_(OpenSearchWindow(false)) {
  setObjectName(QStringLiteral("frmSearch"));
  model_.run.on_change = [this] {
    UpdateButtons();
    if (host_.run_changed) host_.run_changed();
  };
  auto changed = [this] {
    ShowPattern();
    UpdateButtons();
  };

  // Created in tab order: the text, the scope, the options, the buttons, then the lists.
  find_ = BoundLineEdit("txtFind", model_.request.find_text, this, changed);
  auto* find_caption = new QLabel(QStringLiteral("Find &what:"), this);
  find_caption->setBuddy(find_);

  selection_ = new SelectionBox(model_.request.selection, this);
  selection_->on_change = changed;

  auto* options = new QGroupBox(QStringLiteral("Options"), this);
  options_ = options;
  auto* ignore_case = BoundCheckBox("ckIgnoreCase", QStringLiteral("&Ignore case"),
                                    model_.request.ignore_case, options, changed);
  definitions_only_ = BoundCheckBox("ckDefinitionsOnly", QStringLiteral("&Definitions only"),
                                    model_.request.definitions_only, options, changed);
  auto* detailed = BoundCheckBox("ckDetailedResults", QStringLiteral("Detailed &results"),
                                 details_shown_, options, [] {});
  pattern_ = new QLabel(options);
  pattern_->setObjectName(QStringLiteral("lblPattern"));
  pattern_->setWordWrap(true);
  pattern_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* option_layout = new QVBoxLayout(options);
  option_layout->addWidget(ignore_case);
  option_layout->addWidget(definitions_only_);
  option_layout->addWidget(pattern_);
  option_layout->addWidget(detailed);
  option_layout->addStretch(1);

  search_ = new QPushButton(this);
  search_->setObjectName(QStringLiteral("cmdSearch"));
  search_->setDefault(true);
  connect(search_, &QPushButton::clicked, this, [this] {
    CurrentSelection at = host_.selection();
    PressSearch(host_.workbench, model_, status_, *results_, at.folder, at.document);
  });
  close_ = CloseButton(this);

  StatusLines* status_lines = NewStatusLines(this);
  status_view_ = StatusView("lstSearchStatus", status_lines, this);
  status_ = ListStatus(status_lines);
  results_ = new ResultsPanel(host_.workbench, host_.processes, this);
  connect(detailed, &QCheckBox::toggled, results_, &ResultsPanel::SetDetailsShown);

  auto* top = new QGridLayout;
  top->addWidget(find_caption, 0, 0);
  top->addWidget(find_, 0, 1);
  top->addWidget(search_, 0, 2);
  top->addWidget(close_, 1, 2, Qt::AlignTop);
  auto* middle = new QHBoxLayout;
  middle->addWidget(selection_, 1);
  middle->addWidget(options, 1);
  top->addLayout(middle, 1, 0, 1, 2);
  top->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(StatusCaption("lblSearchStatus", status_view_, this));
  layout->addWidget(status_view_, 1);
  layout->addWidget(results_, 4);
  resize(760, 640);
  ShowPattern();
  UpdateButtons();
}

void SearchForm::Open(bool documents_mode) {
  if (!Running()) {
    model_.request.documents_mode = documents_mode;
    selection_->SetDocumentsMode(documents_mode);
    setWindowTitle(ToQt(SearchWindowTitle(model_)));
    UpdateButtons();
  }
  show();
  raise();
  activateWindow();
  find_->setFocus();
  find_->selectAll();
}

void SearchForm::UpdateButtons() {
  bool running = Running();
  search_->setText(QStringLiteral("&") + ToQt(RunButtonCaption(model_.run, "Search")));
  search_->setEnabled(SearchButtonEnabled(model_) && (running || !host_.busy()));
  close_->setEnabled(CloseButtonEnabled(model_.run));
  // The request is read as the run starts; changing it halfway would only mislead.
  find_->setEnabled(!running);
  selection_->setEnabled(!running);
  options_->setEnabled(!running);
}

void SearchForm::ShowPattern() {
  const SearchRequest& request = model_.request;
  pattern_->setVisible(request.definitions_only);
  if (!request.definitions_only || request.find_text.empty()) {
    pattern_->setText(QStringLiteral("Counts the lines that define the macro."));
    return;
  }
  const MacroTags& tags = host_.workbench.project.tags;
  SearchPattern pattern = MakeSearchPattern(EffectiveFindText(request.find_text, true, tags),
                                            request.ignore_case, true, tags);
  QString text = QStringLiteral("Counts the lines that begin with ") + Quoted(pattern.primary);
  if (!pattern.alternative.empty()) text += QStringLiteral(" or ") + Quoted(pattern.alternative);
  pattern_->setText(text + QStringLiteral(" and hold ") + Quoted(pattern.definition_mark) + ".");
}

void SearchForm::reject() {
  if (MayCloseSearchWindow(host_.workbench.ui, model_)) QDialog::reject();
}

}  // namespace pentrak
