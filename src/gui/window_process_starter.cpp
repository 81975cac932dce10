#include "gui/window_process_starter.h"

#include <QTimer>
#include <memory>
#include <utility>

#include "gui/window_commands.h"
#include "platform/desktop_open.h"

namespace pentrak {

namespace {

// How often the opener's waiter is looked at: well under what a person notices.
constexpr int kPollMilliseconds = 50;

}  // namespace

void WindowProcessStarter::OpenAssociatedLater(const std::string& path, int mode,
                                               std::function<void(int)> done) {
  auto start = std::make_shared<DetachedStart>(BeginOpenWithDesktop(path, opener_));
  auto* timer = new QTimer(this);
  timer->setInterval(kPollMilliseconds);
  QObject::connect(timer, &QTimer::timeout, this,
                   [this, timer, start, mode, done = std::move(done)] {
                     std::optional<int> result = PollOpenWithDesktop(*start, mode);
                     if (!result) return;
                     timer->stop();
                     timer->deleteLater();
                     RunTrapped(ui_, [&] { done(*result); });
                   });
  timer->start();
}

}  // namespace pentrak
