// The link check after an edit, as the preview makes it: one page was written again, the pages
// that link to it are checked again, and the broken links found are traced to their sources.
// The site is the one bench/check.sh generates: PENTRAK_CHECK_PROJECT names its project file.
// Two edits: a page with a broken link that no page links to (one page to check, one document
// to expand again), and a page every page links to (every page to check again).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "check/link_check.h"
#include "check/site_links.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/program_options.h"
#include "settings/program_options_file.h"
#include "settings/project_file.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"
#include "testing/scripted_user_interface.h"

namespace pentrak {
namespace {

struct Site {
  FileSystem fs;
  ScriptedUserInterface ui;
  Clock clock;
  ProgramOptions options;
  ProjectSettings project;
  WorkFiles work_files;
  SiteLinks links;
  bool ready = false;

  Site() {
    const char* path = std::getenv("PENTRAK_CHECK_PROJECT");
    if (path == nullptr) return;
    SetProgramOptionDefaults(options, "");
    ReadProjectSettings(fs, path, project);
    links.Load(fs, project.document_root);
    ready = true;
  }
  LinkCheckContext Context() {
    return LinkCheckContext{fs, ui, clock, options, project, work_files};
  }
};

// The site is read once per benchmark, before its timed runs.
class Recheck : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    if (!site_) site_ = std::make_unique<Site>();
  }

 protected:
  void EditAndCheck(benchmark::State& state, const std::string& page) {
    Site& site = *site_;
    if (!site.ready) {
      state.SkipWithError("PENTRAK_CHECK_PROJECT names no project");
      return;
    }
    const std::string path = JoinPath(site.project.document_root, page);
    const std::string text = site.fs.ReadFile(path);
    std::size_t findings = 0;
    std::size_t checked = 0;
    for (auto _ : state) {
      // The generator writes the page again; the check starts from there.
      state.PauseTiming();
      site.fs.WriteFile(path, text);
      state.ResumeTiming();
      const std::vector<std::string> affected = site.links.Reload(site.fs, {page});
      const std::vector<BrokenLink> broken = site.links.Check(affected);
      findings = FindingsOf(site.Context(), site.links, broken).size();
      checked = affected.size();
    }
    state.counters["pages"] = static_cast<double>(checked);
    state.counters["findings"] = static_cast<double>(findings);
  }

 private:
  std::unique_ptr<Site> site_;
};

BENCHMARK_DEFINE_F(Recheck, PageWithBrokenLink)(benchmark::State& state) {
  EditAndCheck(state, "f000/d001.html");
}
BENCHMARK_DEFINE_F(Recheck, PageEveryPageLinksTo)(benchmark::State& state) {
  EditAndCheck(state, "page17.html");
}

BENCHMARK_REGISTER_F(Recheck, PageWithBrokenLink)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(Recheck, PageEveryPageLinksTo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pentrak
