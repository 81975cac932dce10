#include "gui/check_links_window.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "check/link_check.h"
#include "gui/qt_text.h"
#include "gui/window_commands.h"
#include "shell/launcher.h"
#include "shell/workbench.h"

namespace pentrak {

// The findings of the last check as a list model: one row each, its tool tip in the compilers'
// form with whole paths.
class FindingsModel : public QAbstractListModel {
 public:
  explicit FindingsModel(QObject* parent) : QAbstractListModel(parent) {}

  void Set(std::vector<Finding> findings, std::string root) {
    beginResetModel();
    findings_ = std::move(findings);
    root_ = std::move(root);
    endResetModel();
  }
  const Finding& At(int row) const { return findings_[static_cast<std::size_t>(row)]; }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(findings_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= rowCount({})) return {};
    const Finding& finding = At(index.row());
    if (role == Qt::DisplayRole) return ToQt(FindingRowText(finding, root_));
    if (role == Qt::ToolTipRole) return ToQt(FindingText(finding)).trimmed();
    return {};
  }

 private:
  std::vector<Finding> findings_;
  std::string root_;
};

CheckLinksForm::CheckLinksForm(ToolWindowHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)) {
  setObjectName(QStringLiteral("frmCheckLinks"));
  setWindowTitle(QStringLiteral("Check Links"));

  check_ = new QPushButton(QStringLiteral("&Check"), this);
  check_->setObjectName(QStringLiteral("cmdCheck"));
  check_->setDefault(true);
  connect(check_, &QPushButton::clicked, this, [this] { RunCheck(); });
  QPushButton* close = CloseButton(this);
  external_ = new QCheckBox(QStringLiteral("Ask the web about &external links too"), this);
  external_->setObjectName(QStringLiteral("ckExternal"));
  external_->setChecked(host_.workbench.options.check_external_links == 1);
  summary_ =
      new QLabel(QStringLiteral("Checks the pages of the document root as they are now."), this);
  summary_->setObjectName(QStringLiteral("lblCheckSummary"));
  summary_->setWordWrap(true);

  model_ = new FindingsModel(this);
  findings_ = new QListView(this);
  findings_->setObjectName(QStringLiteral("lstFindings"));
  findings_->setModel(model_);
  findings_->setUniformItemSizes(true);
  findings_->setAlternatingRowColors(true);
  findings_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(findings_, &QListView::activated, this,
          [this](const QModelIndex& index) { Edit(index.row(), true); });
  findings_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(findings_, &QListView::customContextMenuRequested, this, [this](const QPoint& at) {
    const QModelIndex index = findings_->indexAt(at);
    if (!index.isValid()) return;
    QMenu menu(this);
    menu.addAction(QStringLiteral("Edit the &Source"), this,
                   [this, row = index.row()] { Edit(row, true); });
    menu.addAction(QStringLiteral("Edit the Generated &Page"), this,
                   [this, row = index.row()] { Edit(row, false); });
    menu.exec(findings_->viewport()->mapToGlobal(at));
  });

  auto* top = new QGridLayout;
  top->addWidget(summary_, 0, 0);
  top->addWidget(check_, 0, 1);
  top->addWidget(external_, 1, 0);
  top->addWidget(close, 1, 1);
  top->setColumnStretch(0, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(ListCaption("lblFindings",
                                QStringLiteral("&Findings (double-click to edit "
                                               "the line that wrote the link)"),
                                findings_, this));
  layout->addWidget(findings_, 1);
  resize(820, 520);
  UpdateButtons();
}

void CheckLinksForm::Open() {
  show();
  raise();
  activateWindow();
  check_->setFocus();
}

void CheckLinksForm::UpdateButtons() { check_->setEnabled(!host_.busy()); }

void CheckLinksForm::RunCheck() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const LinkCheckReport report =
      CheckLinks(LinkCheckContextOf(host_.workbench), external_->isChecked());
  QApplication::restoreOverrideCursor();
  model_->Set(report.findings, host_.workbench.project.document_root);
  summary_->setText(ToQt(report.failure.empty() ? CheckSummary(report) : report.failure));
  if (!report.findings.empty()) findings_->setCurrentIndex(model_->index(0));
}

void CheckLinksForm::Edit(int row, bool source) {
  const Finding& finding = model_->At(row);
  const EditPlace place =
      source ? FindingSourcePlace(finding) : EditPlace{finding.page, finding.line};
  Workbench& workbench = host_.workbench;
  RunTrapped(workbench.ui, [&] {
    LaunchEditor({workbench.options, workbench.project, host_.processes, workbench.ui, {}},
                 place.path, place.line);
  });
}

}  // namespace pentrak
