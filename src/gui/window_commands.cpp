#include "gui/window_commands.h"

#include "gui/qt_text.h"
#include "platform/error.h"
#include "platform/user_interface.h"
#include "settings/program_options.h"

namespace pentrak {

void RunTrapped(UserInterface& ui, const std::function<void()>& command) {
  try {
    command();
  } catch (const Error& error) {
    ReportError(ui, error);
  } catch (const std::exception& error) {
    ui.ShowMessage("Error", error.what(), Icon::kExclamation, Buttons::kOk);
  }
}

QString CustomCommandCaption(const ProgramOptions& options, int n) {
  const std::string& caption = options.custom_options[static_cast<std::size_t>(n - 1)].caption;
  return caption.empty() ? QStringLiteral("Custom Command %1").arg(n) : ToQt(caption);
}

}  // namespace pentrak
