// The main window's Publish command: the publish pentrak-cli publish runs, with a progress
// window whose Stop ends it after the files in hand.

#include <QAction>

#include "gui/main_window.h"
#include "gui/publish_window.h"
#include "gui/qt_user_interface.h"
#include "publish/publish_run.h"
#include "settings/publish_destination.h"
#include "shell/project_properties_dialog.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

// The request the window makes: the project's destination, and questions for what the command
// line decides by its switches (an unknown host key, files no longer generated).
PublishRequest WindowRequest(const PublishSettings& settings, UserInterface& ui) {
  PublishRequest request;
  request.destination = DestinationOf(settings);
  request.stale = StaleFiles::kAsk;
  request.broken_links = BrokenLinks::kAsk;
  request.ssh.trust_new_host_key = [&ui](const std::string& host, const std::string& fingerprint) {
    return ui.ShowMessage("Publish",
                          "The host key of " + host + " is not known:\r" + fingerprint +
                              "\rTrust it only if it is the key the server's administrator "
                              "gave you. Trust it and record it in known_hosts?",
                          Icon::kQuestion, Buttons::kYesNo) == Answer::kYes;
  };
  return request;
}

}  // namespace

void MainWindow::Publish() {
  if (generating_ || ToolRunning() || workbench_.project.project_file_path.empty()) return;
  const PublishSettings& settings = workbench_.project.publish;
  std::optional<std::string> problem = CheckPublishSettings(settings);
  if (problem || settings.method == kPublishNowhere) {
    std::string text = problem ? "The publish settings of this project cannot be used: " + *problem
                               : std::string("This project has nowhere to publish to yet.");
    if (workbench_.ui.ShowMessage("Publish",
                                  text + "\rChoose the destination on the Publish tab of Project "
                                         "Properties now?",
                                  Icon::kQuestion, Buttons::kOkCancel) == Answer::kOk) {
      ProjectPropertiesForm form = OpenProjectProperties(workbench_);
      form.tab = PropertiesTab::kPublish;
      ShowProjectProperties(std::move(form));
    }
    return;
  }
  PublishRequest request = WindowRequest(settings, workbench_.ui);
  SetGenerating(true);
  auto* window = new PublishWindow(
      DestinationText(request.destination), [this] { ui_.RequestStop(); }, this);
  window->show();
  // Questions and messages stand over the progress window while it is open.
  ui_.SetParentWindow(window);
  PublishContext context = PublishContextOf(workbench_);
  context.on_progress = [window](const PublishProgress& progress) { window->Show(progress); };
  PublishOutcome outcome = RunPublish(context, request);
  ui_.SetParentWindow(this);
  delete window;
  SetGenerating(false);
  if (outcome.end == PublishEnd::kFailed) {
    workbench_.ui.ShowMessage("Publish", outcome.failure, Icon::kExclamation, Buttons::kOk);
  }
  if (close_after_run_) close();
}

}  // namespace pentrak
