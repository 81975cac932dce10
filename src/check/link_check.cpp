#include "check/link_check.h"

#include <algorithm>
#include <tuple>

#include "check/external_links.h"
#include "check/link_sources.h"
#include "check/site_links.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"
#include "shell/workbench.h"

namespace pentrak {

LinkCheckContext LinkCheckContextOf(Workbench& workbench) {
  return LinkCheckContext{workbench.fs,      workbench.ui,      workbench.clock,
                          workbench.options, workbench.project, workbench.work_files};
}

int LinkCheckReport::errors() const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(), [](const Finding& f) {
    return f.severity == Severity::kError;
  }));
}

int LinkCheckReport::warnings() const { return static_cast<int>(findings.size()) - errors(); }

std::vector<Finding> FindingsOf(const LinkCheckContext& context, const SiteLinks& site,
                                const std::vector<BrokenLink>& broken) {
  std::vector<Finding> findings;
  if (broken.empty()) return findings;
  LinkSources sources(
      SourceContext{context.fs, context.ui, context.clock, context.options, context.project});
  std::string page;
  std::string text;
  for (const BrokenLink& link : broken) {
    const std::string path = JoinPath(site.root(), link.page);
    if (path != page) {
      page = path;
      text = context.fs.ReadFileIfPresent(path).value_or("");
    }
    Finding finding;
    finding.page = path;
    std::tie(finding.line, finding.column) = LineAndColumn(text, link.link.offset);
    finding.url = link.link.written;
    const std::string noun(UrlNoun(link.link.element, link.link.attribute));
    if (link.unchecked) {
      finding.severity = Severity::kWarning;
      finding.message = noun + " \"" + link.link.written + "\" not checked: " + link.reason;
    } else {
      finding.message = "broken " + noun + " \"" + link.link.written + "\": " + link.reason;
    }
    finding.source = sources.Find(path, text, link.link.offset, link.link.written);
    findings.push_back(std::move(finding));
  }
  return findings;
}

namespace {

// The external links that are broken or got no answer; asked counts the URLs looked up.
std::vector<BrokenLink> ExternalProblems(const LinkCheckContext& context, const SiteLinks& site,
                                         int& asked) {
  const auto links = site.ExternalLinks();
  std::vector<std::string> urls;
  for (const auto& [url, where] : links) urls.push_back(url);
  std::sort(urls.begin(), urls.end());
  asked = static_cast<int>(urls.size());
  ExternalCheckOptions options;
  options.now = context.clock.Now();
  options.cache_life = std::chrono::hours(std::max<short>(context.options.link_cache_hours, 0));
  options.cache_file = context.work_files.work_folder.empty()
                           ? std::string()
                           : context.work_files.work_folder + std::string(kLinkCacheFile);
  const std::map<std::string, ExternalAnswer> answers =
      CheckExternalUrls(context.fs, urls, options);
  std::vector<BrokenLink> problems;
  for (const auto& [url, answer] : answers) {
    if (answer.checked && !answer.broken) continue;
    for (const auto& [page, link] : links.at(url)) {
      problems.push_back(BrokenLink{page, link, answer.problem, !answer.checked});
    }
  }
  return problems;
}

}  // namespace

LinkCheckReport CheckLinks(const LinkCheckContext& context, bool external) {
  LinkCheckReport report;
  const std::string& root = context.project.document_root;
  if (root.empty()) {
    report.failure = "The project has no document root to check.";
    return report;
  }
  if (!context.fs.FolderExists(root)) {
    report.failure = "The document root " + root + " does not exist. Generate the project first.";
    return report;
  }
  SiteLinks site;
  try {
    site.Load(context.fs, root);
  } catch (const Error& error) {
    report.failure = "The document root " + root + " could not be read. " + error.description();
    return report;
  }
  report.pages = static_cast<int>(site.page_count());
  report.links = static_cast<int>(site.link_count());
  std::vector<BrokenLink> broken = site.Check();
  if (external) {
    std::vector<BrokenLink> outside = ExternalProblems(context, site, report.external);
    broken.insert(broken.end(), std::make_move_iterator(outside.begin()),
                  std::make_move_iterator(outside.end()));
    std::stable_sort(broken.begin(), broken.end(), [](const BrokenLink& a, const BrokenLink& b) {
      return std::tie(a.page, a.link.offset) < std::tie(b.page, b.link.offset);
    });
  }
  report.findings = FindingsOf(context, site, broken);
  return report;
}

std::string CheckSummary(const LinkCheckReport& report) {
  std::string text = Plural(report.pages, "page") + ", " + Plural(report.links, "link");
  if (report.external > 0) {
    text += " (" + std::to_string(report.external) +
            (report.external == 1 ? " external address)" : " external addresses)");
  }
  text += " checked: ";
  const int errors = report.errors();
  const int warnings = report.warnings();
  if (errors == 0 && warnings == 0) return text + "nothing broken.";
  if (errors > 0) text += std::to_string(errors) + " broken";
  if (errors > 0 && warnings > 0) text += ", ";
  if (warnings > 0) text += std::to_string(warnings) + " not checked";
  return text + ".";
}

LinkWatch::LinkWatch() = default;
LinkWatch::~LinkWatch() = default;

std::vector<Finding> LinkWatch::CheckWritten(const LinkCheckContext& context,
                                             const std::vector<std::string>& documents) {
  const std::string& root = context.project.document_root;
  try {
    if (!site_ || site_->root() != root) {
      auto site = std::make_unique<SiteLinks>();
      site->Load(context.fs, root);
      site_ = std::move(site);
    }
  } catch (const Error&) {
    site_.reset();
    return {};
  }
  const std::string prefix = ComparablePath(JoinPath(root, ""));
  std::vector<std::string> pages;
  for (const std::string& document : documents) {
    const std::string path = ComparablePath(document);
    if (path.starts_with(prefix)) pages.push_back(path.substr(prefix.size()));
  }
  const std::vector<std::string> affected = site_->Reload(context.fs, pages);
  return FindingsOf(context, *site_, site_->Check(affected));
}

bool HasBrokenInternalLinks(const FileSystem& fs, const std::string& document_root) {
  SiteLinks site;
  site.Load(fs, document_root);
  return !site.Check().empty();
}

}  // namespace pentrak
