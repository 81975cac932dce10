#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "check/link_target.h"
#include "check/page_scan.h"

namespace pentrak {

class FileSystem;

// One URL of a page: where it stands and where it leads. A srcset value gives one per entry.
struct PageLink {
  std::size_t offset = 0;  // where the URL starts in the page, past any quote
  std::string written;     // the URL as the page writes it, references decoded
  std::string_view element;
  UrlAttribute attribute = UrlAttribute::kHref;
  LinkTarget target;
};

// A link whose target is missing, or an external one no answer came for (unchecked).
struct BrokenLink {
  std::string page;  // below the document root, "/" between folders
  PageLink link;
  std::string reason;  // "no file img/a.png", "about.html has no anchor \"team\"", ...
  bool unchecked = false;
};

// What the document root holds, read once: every file, and every page's links and anchors. The
// pages that change can be read again, so a check after an edit reads only them.
class SiteLinks {
 public:
  // Reads every file name and every page below root; throws Error when root cannot be read.
  void Load(const FileSystem& fs, const std::string& root);

  // Reads these pages (below the root) again, as they are now: changed, new or gone. Returns
  // them with the pages whose links lead to them, which a check must look at again.
  std::vector<std::string> Reload(const FileSystem& fs, const std::vector<std::string>& pages);

  // The broken links among the site's internal links, page by page in name order.
  std::vector<BrokenLink> Check() const;
  // The same for these pages only.
  std::vector<BrokenLink> Check(const std::vector<std::string>& pages) const;

  // Every external URL of the site (without its fragment), with the links that name it.
  std::unordered_map<std::string, std::vector<std::pair<std::string, PageLink>>> ExternalLinks()
      const;

  const std::string& root() const { return root_; }
  std::size_t page_count() const { return pages_.size(); }
  std::size_t link_count() const;

 private:
  struct Page {
    std::vector<PageLink> links;
    std::unordered_set<std::string> anchors;
  };

  void ReadPage(const FileSystem& fs, const std::string& path);
  void ForgetLinks(const std::string& path);
  void CheckPage(const std::string& path, const Page& page, std::vector<BrokenLink>& out) const;
  std::string Problem(const std::string& page_path, const PageLink& link) const;
  std::string TargetFile(const std::string& path, std::string& problem) const;
  void AddFile(const std::string& path);

  std::string root_;
  std::unordered_set<std::string> files_;
  std::unordered_set<std::string> folders_;
  std::unordered_map<std::string, Page> pages_;
  std::vector<std::string> page_order_;  // pages_ keys in name order
  // For each internal link target as written in paths, the pages that link to it.
  std::unordered_map<std::string, std::unordered_set<std::string>> incoming_;
};

// True for the names of files a web server sends as HTML pages.
bool IsPagePath(std::string_view path);

// 1-based line and column (in bytes) of offset in text; lines end at LF.
std::pair<int, int> LineAndColumn(std::string_view text, std::size_t offset);

}  // namespace pentrak
