#pragma once

#include <memory>
#include <string>
#include <vector>

#include "check/findings.h"

namespace pentrak {

class Clock;
class FileSystem;
class SiteLinks;
class UserInterface;
struct BrokenLink;
struct ProgramOptions;
struct ProjectSettings;
struct WorkFiles;
struct Workbench;

// What a link check reads: the disk, the seam (never shown anything: the check reports in its
// findings), the clock, the program options, the current project and its work folder (where
// the external links' answers are kept).
struct LinkCheckContext {
  const FileSystem& fs;
  UserInterface& ui;
  const Clock& clock;
  const ProgramOptions& options;
  const ProjectSettings& project;
  const WorkFiles& work_files;
};

// The file in the work folder that keeps what the web said about external links.
inline constexpr std::string_view kLinkCacheFile = "links.txt";

// The pieces of the workbench a check reads.
LinkCheckContext LinkCheckContextOf(Workbench& workbench);

// What the check found and how much it looked at.
struct LinkCheckReport {
  std::vector<Finding> findings;  // page by page in name order, each page's in page order
  int pages = 0;                  // pages read
  int links = 0;                  // URLs looked at
  int external = 0;               // external URLs asked about (from the cache or the web)
  std::string failure;            // why the check could not run; "" when it ran

  int errors() const;
  int warnings() const;
};

// Checks every link, image and anchor of the project's document root (and, when external is
// true, asks the web about its external links), each finding traced to its source line.
LinkCheckReport CheckLinks(const LinkCheckContext& context, bool external);

// The findings for broken links: where each stands in its page, and where it was written.
std::vector<Finding> FindingsOf(const LinkCheckContext& context, const SiteLinks& site,
                                const std::vector<BrokenLink>& broken);

// The one-line summary of a check: "12 pages, 340 links: 2 broken, 1 not checked."
std::string CheckSummary(const LinkCheckReport& report);

// Keeps a site's links from one check to the next, for the preview: the first check reads the
// whole document root, later ones read again only the pages a run wrote.
class LinkWatch {
 public:
  LinkWatch();
  ~LinkWatch();

  // The broken internal links of the documents written (full paths) and of the pages that link
  // to them. Nothing when the document root cannot be read.
  std::vector<Finding> CheckWritten(const LinkCheckContext& context,
                                    const std::vector<std::string>& documents);

 private:
  std::unique_ptr<SiteLinks> site_;
};

// For a publish: true when the document root holds a page with a broken internal link (a
// missing file or anchor). Throws Error when the root cannot be read.
bool HasBrokenInternalLinks(const FileSystem& fs, const std::string& document_root);

}  // namespace pentrak
