// The main window's search, replace and link check windows.

#include "gui/check_links_window.h"
#include "gui/main_window.h"
#include "gui/replace_special_window.h"
#include "gui/replace_window.h"
#include "gui/search_window.h"

namespace pentrak {

ToolWindowHost MainWindow::Host() {
  return ToolWindowHost{workbench_, processes_,
                        [this] {
                          return CurrentSelection{folder_index_, document_index_};
                        },
                        [this] { return generating_ || ToolRunning(); },
                        [this] { UpdateCommandStates(); }};
}

void MainWindow::OpenSearch(bool documents_mode) {
  if (search_form_ == nullptr) search_form_ = new SearchForm(Host(), this);
  search_form_->Open(documents_mode);
}

void MainWindow::OpenReplace() {
  if (replace_form_ == nullptr) replace_form_ = new ReplaceForm(Host(), this);
  replace_form_->Open();
}

void MainWindow::OpenReplaceSpecial() {
  if (replace_special_form_ == nullptr) {
    replace_special_form_ = new ReplaceSpecialForm(Host(), this);
  }
  replace_special_form_->Open();
}

void MainWindow::OpenCheckLinks() {
  if (check_links_form_ == nullptr) check_links_form_ = new CheckLinksForm(Host(), this);
  check_links_form_->Open();
}

bool MainWindow::ToolRunning() const {
  return (search_form_ != nullptr && search_form_->Running()) ||
         (replace_form_ != nullptr && replace_form_->Running());
}

bool MainWindow::MayCloseToolWindows() {
  // The running window refuses in its own words; it has to be stopped first.
  if (search_form_ != nullptr && search_form_->Running()) {
    search_form_->reject();
    return false;
  }
  if (replace_form_ != nullptr && replace_form_->Running()) {
    replace_form_->reject();
    return false;
  }
  return true;
}

void MainWindow::UpdateToolWindows() {
  if (search_form_ != nullptr) search_form_->UpdateButtons();
  if (replace_form_ != nullptr) replace_form_->UpdateButtons();
  if (replace_special_form_ != nullptr) replace_special_form_->UpdateButtons();
  if (check_links_form_ != nullptr) check_links_form_->UpdateButtons();
}

}  // namespace pentrak
