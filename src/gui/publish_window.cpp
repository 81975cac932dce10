#include "gui/publish_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_layout.h"
#include "gui/qt_text.h"
#include "publish/publish_progress.h"

namespace pentrak {

namespace {

// The bar counts in thousandths: byte counts overflow the bar's int range on large sites.
constexpr int kBarSteps = 1000;

QLabel* NamedLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

PublishWindow::PublishWindow(const std::string& destination, std::function<void()> stop,
                             QWidget* parent)
    : QDialog(parent), stop_(std::move(stop)) {
  setObjectName(QStringLiteral("frmPublish"));
  setWindowTitle(QStringLiteral("Publish"));
  setWindowModality(Qt::WindowModal);
  auto* heading = NamedLabel("lblPublishDestination", this);
  heading->setText(QStringLiteral("Publishing to ") + ToQt(destination));
  file_ = NamedLabel("lblPublishFile", this);
  file_->setText(QStringLiteral("Comparing the site's files with the destination..."));
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("prgPublish"));
  bar_->setRange(0, kBarSteps);
  bar_->setValue(0);
  counts_ = NamedLabel("lblPublishCounts", this);
  pace_ = NamedLabel("lblPublishPace", this);
  QPushButton* stop_button = NamedButton("cmdStop", QStringLiteral("&Stop"), this);
  connect(stop_button, &QPushButton::clicked, this, [this] { reject(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(file_);
  layout->addWidget(bar_);
  layout->addWidget(counts_);
  layout->addWidget(pace_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(stop_button);
  layout->addLayout(buttons);
  setMinimumWidth(520);
}

void PublishWindow::Show(const PublishProgress& progress) {
  file_->setText(progress.current.empty() ? QString()
                                          : QStringLiteral("Sending ") + ToQt(progress.current));
  const double done = progress.bytes_total == 0 ? 1.0
                                                : static_cast<double>(progress.bytes_done) /
                                                      static_cast<double>(progress.bytes_total);
  bar_->setValue(static_cast<int>(done * kBarSteps));
  counts_->setText(ToQt(ProgressCounts(progress)));
  pace_->setText(ToQt(ProgressPace(progress)));
}

void PublishWindow::reject() {
  // The publish ends at a safe point and closes the window itself.
  if (stop_) stop_();
}

}  // namespace pentrak
