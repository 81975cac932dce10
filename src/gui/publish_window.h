#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QProgressBar;

namespace pentrak {

struct PublishProgress;

// The progress window "frmPublish" of a publish: where to, the file in hand, a progress bar over
// the bytes to send, the counts, the rate and the time left, and Stop. Closing it (Escape or the
// title bar) asks to stop too; the window stays until the publish has ended.
class PublishWindow : public QDialog {
 public:
  PublishWindow(const std::string& destination, std::function<void()> stop, QWidget* parent);

  // Shows where the transfer stands.
  void Show(const PublishProgress& progress);

  void reject() override;

 private:
  std::function<void()> stop_;
  QLabel* file_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QLabel* counts_ = nullptr;
  QLabel* pace_ = nullptr;
};

}  // namespace pentrak
