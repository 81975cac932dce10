#include "gui/tool_window_parts.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/window_commands.h"
#include "platform/paths.h"
#include "shell/launcher.h"
#include "shell/workbench.h"

namespace pentrak {

QPushButton* CloseButton(QDialog* window) {
  auto* close = new QPushButton(QStringLiteral("C&lose"), window);
  close->setObjectName(QStringLiteral("cmdClose"));
  close->setAutoDefault(false);
  QObject::connect(close, &QPushButton::clicked, window, &QDialog::reject);
  return close;
}

RowListView* StatusView(const char* name, StatusLines* lines, QWidget* parent) {
  auto* view = new RowListView(name, parent);
  view->SetRowModel(lines);
  view->FollowLastRow(false);
  return view;
}

QLabel* StatusCaption(const char* name, QWidget* view, QWidget* parent) {
  return ListCaption(name, QStringLiteral("Status"), view, parent);
}

QLabel* ListCaption(const char* name, const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->setBuddy(buddy);
  return label;
}

QCheckBox* BoundCheckBox(const char* name, const QString& caption, bool& value, QWidget* parent,
                         const std::function<void()>& changed) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(value);
  QObject::connect(box, &QCheckBox::toggled, parent, [&value, changed](bool on) {
    value = on;
    changed();
  });
  return box;
}

QLineEdit* BoundLineEdit(const char* name, std::string& value, QWidget* parent,
                         const std::function<void()>& changed) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setMinimumWidth(360);
  QObject::connect(field, &QLineEdit::textChanged, parent, [&value, changed](const QString& text) {
    value = FromQt(text);
    changed();
  });
  return field;
}

void ListStatus::Add(std::string_view line) { lines_->Append(std::string(line)); }

void ListStatus::Clear() { lines_->Clear(); }

SelectionBox::SelectionBox(FileSelection& selection, QWidget* parent)
    : QGroupBox(QStringLiteral("Search In"), parent), selection_(selection) {
  setObjectName(QStringLiteral("fraScope"));
  auto changed = [this] {
    if (on_change) on_change();
  };
  whole_ = new QRadioButton(this);
  whole_->setObjectName(QStringLiteral("optWholeProject"));
  current_ = new QRadioButton(QStringLiteral("C&urrent document"), this);
  current_->setObjectName(QStringLiteral("optCurrentDocument"));
  (selection.scope == SearchScope::kWholeProject ? whole_ : current_)->setChecked(true);
  connect(current_, &QRadioButton::toggled, this, [this, changed](bool on) {
    selection_.scope = on ? SearchScope::kCurrentDocument : SearchScope::kWholeProject;
    changed();
  });

  kinds_ = new QWidget(this);
  auto* kinds = new QGridLayout(kinds_);
  kinds->setContentsMargins(0, 4, 0, 0);
  kinds->addWidget(
      BoundCheckBox("ckGlobals", QStringLiteral("&Globals"), selection.globals, kinds_, changed), 0,
      0);
  kinds->addWidget(BoundCheckBox("ckFolderGlobals", QStringLiteral("&Folder globals"),
                                 selection.folder_globals, kinds_, changed),
                   0, 1);
  kinds->addWidget(BoundCheckBox("ckTemplates", QStringLiteral("&Templates"), selection.templates,
                                 kinds_, changed),
                   1, 0);
  kinds->addWidget(BoundCheckBox("ckContentFiles", QStringLiteral("&Content files"),
                                 selection.content_files, kinds_, changed),
                   1, 1);

  auto* layout = new QVBoxLayout(this);
  auto* scope = new QHBoxLayout;
  scope->addWidget(whole_);
  scope->addWidget(current_);
  scope->addStretch(1);
  layout->addLayout(scope);
  layout->addWidget(kinds_);
  SetDocumentsMode(false);
}

void SelectionBox::SetDocumentsMode(bool documents_mode) {
  whole_->setText(documents_mode ? QStringLiteral("&All documents")
                                 : QStringLiteral("W&hole project"));
  kinds_->setVisible(!documents_mode);
}

ResultsPanel::ResultsPanel(Workbench& workbench, ProcessStarter& processes, QWidget* parent)
    : QWidget(parent), workbench_(workbench), processes_(processes) {
  results_ = new RowListView("lstResults", this);
  results_model_ = new RowListModel<Result>(
      {QString()},
      [](const Result& result, int, int role) {
        return role == Qt::DisplayRole ? QVariant(ToQt(ResultEntryText(result.path, result.count)))
                                       : QVariant();
      },
      results_);
  results_->SetRowModel(results_model_);
  details_ = new RowListView("tvwDetailedResults", this);
  details_model_ = new RowListModel<Detail>(
      {QString()}, [this](const Detail& detail, int, int role) { return ShowDetail(detail, role); },
      details_);
  details_->SetRowModel(details_model_);
  details_->IndentMarkedRows();
  details_caption_ = ListCaption("lblDetailedResults", QStringLiteral("Detailed Results by Li&ne"),
                                 details_, this);
  for (RowListView* view : {results_, details_}) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    AddPopup(view);
    connect(view, &QAbstractItemView::doubleClicked, this, [this, view] {
      Target target = CurrentTarget(view);
      if (target.path.empty()) return;
      RunTrapped(workbench_.ui, [this, &target] {
        LaunchEditor({workbench_.options, workbench_.project, processes_, workbench_.ui, {}},
                     target.path, target.line);
      });
    });
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ListCaption("lblResults", QStringLiteral("R&esults"), results_, this));
  layout->addWidget(results_, 1);
  layout->addWidget(details_caption_);
  layout->addWidget(details_, 2);
}

void ResultsPanel::SetDetailsShown(bool shown) {
  details_caption_->setVisible(shown);
  details_->setVisible(shown);
}

void ResultsPanel::Clear() {
  results_model_->Clear();
  details_model_->Clear();
  detail_files_.clear();
}

void ResultsPanel::AddResult(const std::string& path, int count) {
  results_model_->Append({path, count});
}

void ResultsPanel::AddDetail(const LineHit& hit) {
  // Lines come file by file: a file's entry goes before its first line.
  if (detail_files_.empty() || detail_files_.back() != hit.path) {
    detail_files_.push_back(hit.path);
    details_model_->Append({static_cast<int>(detail_files_.size()) - 1, 0, 0, {}});
  }
  details_model_->Append(
      {static_cast<int>(detail_files_.size()) - 1, hit.line_number, hit.count, hit.text});
}

// A file's entry shows its full path; its lines show only the file's name, indented below it.
QVariant ResultsPanel::ShowDetail(const Detail& detail, int role) const {
  const std::string& path = detail_files_[static_cast<std::size_t>(detail.file)];
  bool line = detail.line_number > 0;
  switch (role) {
    case Qt::DisplayRole:
      if (!line) return ToQt(path);
      return ToQt(
          DetailText({FileNameOfPath(path), detail.line_number, detail.count, detail.text}));
    case Qt::ToolTipRole:
      if (!line) return QVariant();
      return QStringLiteral("%1, line %2").arg(ToQt(path)).arg(detail.line_number);
    case RowListView::kIndentRole:
      return line;
    default:
      return QVariant();
  }
}

ResultsPanel::Target ResultsPanel::CurrentTarget(QWidget* view) const {
  if (view == results_) {
    const Result* result = results_model_->RowAt(results_->currentIndex());
    if (result == nullptr) return {};
    return {result->path, 0};
  }
  const Detail* detail = details_model_->RowAt(details_->currentIndex());
  if (detail == nullptr) return {};
  return {detail_files_[static_cast<std::size_t>(detail->file)], detail->line_number};
}

void ResultsPanel::AddPopup(QWidget* view) {
  auto* menu = new QMenu(view);
  auto run = [this, view](const std::function<void(const LaunchContext&, const Target&)>& command) {
    Target target = CurrentTarget(view);
    if (target.path.empty()) return;
    RunTrapped(workbench_.ui, [&] {
      command({workbench_.options, workbench_.project, processes_, workbench_.ui, {}}, target);
    });
  };
  QAction* edit = menu->addAction(QStringLiteral("&Edit"));
  edit->setObjectName(QStringLiteral("mnuEditResult"));
  connect(edit, &QAction::triggered, this, [run] {
    run([](const LaunchContext& launch, const Target& target) {
      LaunchEditor(launch, target.path, target.line);
    });
  });
  menu->addSeparator();
  const ProgramOptions& options = workbench_.options;
  for (int n = 1; n <= 6; ++n) {
    QAction* action = menu->addAction(CustomCommandCaption(options, n));
    action->setObjectName(QStringLiteral("mnuCustom%1Result").arg(n));
    // A custom command that is not set up would start nothing.
    action->setVisible(!options.custom_options[static_cast<std::size_t>(n - 1)].command.empty());
    connect(action, &QAction::triggered, this, [run, n] {
      run([n](const LaunchContext& launch, const Target& target) {
        LaunchCustomCommand(launch, target.path, n);
      });
    });
  }
  connect(view, &QWidget::customContextMenuRequested, this, [this, view, menu](const QPoint& at) {
    if (CurrentTarget(view).path.empty()) return;
    auto* scroller = qobject_cast<QAbstractScrollArea*>(view);
    menu->popup((scroller != nullptr ? scroller->viewport() : view)->mapToGlobal(at));
  });
}

}  // namespace pentrak
