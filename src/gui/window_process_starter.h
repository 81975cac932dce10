#pragma once

#include <QObject>
#include <string>
#include <utility>

#include "platform/default_programs.h"
#include "shell/launcher.h"

namespace pentrak {

class UserInterface;

// The window's process starter: opening a file with its associated application is awaited in
// the background, so the window never freezes while the desktop's opener decides; a failure is
// reported when it is known.
class WindowProcessStarter : public QObject, public SystemProcessStarter {
 public:
  explicit WindowProcessStarter(UserInterface& ui, std::string opener = std::string(kDesktopOpener))
      : ui_(ui), opener_(std::move(opener)) {}

  void OpenAssociatedLater(const std::string& path, int mode,
                           std::function<void(int)> done) override;

 private:
  UserInterface& ui_;
  std::string opener_;  // the program that opens a file with its application
};

}  // namespace pentrak
