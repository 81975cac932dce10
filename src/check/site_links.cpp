#include "check/site_links.h"

#include <algorithm>
#include <set>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace pentrak {

namespace {

// The pages a folder asked for by its own URL serves, in the order a web server tries them.
constexpr std::string_view kIndexPages[] = {"index.html", "index.htm"};

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string FolderPart(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

// Whether a page defines the fragment: an id or an a element's name equal to it as written or
// percent-decoded; the empty fragment and "top" lead to the page's top, and a text directive
// (":~:") is no anchor.
bool HasAnchor(const std::unordered_set<std::string>& anchors, std::string fragment) {
  if (std::size_t directive = fragment.find(":~:"); directive != std::string::npos) {
    fragment.resize(directive);
  }
  if (fragment.empty() || anchors.contains(fragment)) return true;
  const std::string decoded = PercentDecoded(fragment);
  return anchors.contains(decoded) || EqualsIgnoreCase(decoded, "top");
}

}  // namespace

bool IsPagePath(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return false;
  const std::string extension = ToLowerAscii(path.substr(dot + 1));
  return extension == "html" || extension == "htm" || extension == "xhtml";
}

std::pair<int, int> LineAndColumn(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
  std::size_t line_start = text.rfind('\n', offset == 0 ? 0 : offset - 1);
  line_start = line_start == std::string_view::npos || offset == 0 ? 0 : line_start + 1;
  return {line, static_cast<int>(offset - line_start) + 1};
}

void SiteLinks::AddFile(const std::string& path) {
  files_.insert(path);
  for (std::string folder = FolderPart(path);; folder = FolderPart(folder)) {
    if (!folders_.insert(folder).second || folder.empty()) break;
  }
}

void SiteLinks::Load(const FileSystem& fs, const std::string& root) {
  root_ = root;
  files_.clear();
  folders_.clear();
  pages_.clear();
  incoming_.clear();
  page_order_.clear();
  folders_.insert("");
  for (const std::string& path : fs.FilesBelow(root)) {
    AddFile(path);
    if (IsPagePath(path)) page_order_.push_back(path);
  }
  for (const std::string& path : page_order_) ReadPage(fs, path);
}

void SiteLinks::ForgetLinks(const std::string& path) {
  auto page = pages_.find(path);
  if (page == pages_.end()) return;
  for (const PageLink& link : page->second.links) {
    if (link.target.kind != LinkKind::kInternal) continue;
    auto linking = incoming_.find(link.target.path);
    if (linking != incoming_.end()) linking->second.erase(path);
  }
}

// Reads one page's links and anchors; a page that cannot be read has none.
void SiteLinks::ReadPage(const FileSystem& fs, const std::string& path) {
  ForgetLinks(path);
  Page& page = pages_[path];
  page = Page{};
  std::string text;
  try {
    text = fs.ReadFile(JoinPath(root_, path));
  } catch (const Error&) {
    return;
  }
  PageScan scan = pentrak::ReadPage(text);
  page.anchors.insert(std::make_move_iterator(scan.anchors.begin()),
                      std::make_move_iterator(scan.anchors.end()));
  for (PageUrl& url : scan.urls) {
    const std::size_t start = url.offset + (url.quoted ? 1 : 0);
    auto add = [&](std::size_t offset, std::string written) {
      PageLink link;
      link.offset = offset;
      link.target = ResolveLink(written, path, scan.base);
      link.written = std::move(written);
      link.element = url.element;
      link.attribute = url.attribute;
      if (link.target.kind == LinkKind::kInternal) incoming_[link.target.path].insert(path);
      page.links.push_back(std::move(link));
    };
    if (url.attribute != UrlAttribute::kSrcset) {
      add(start, std::move(url.value));
      continue;
    }
    for (const SrcsetEntry& entry : SrcsetUrls(url.value)) {
      add(url.verbatim ? start + entry.offset : start, std::string(entry.url));
    }
  }
}

std::vector<std::string> SiteLinks::Reload(const FileSystem& fs,
                                           const std::vector<std::string>& pages) {
  std::set<std::string> affected;
  for (const std::string& path : pages) {
    const bool exists = fs.FileExists(JoinPath(root_, path));
    if (exists) AddFile(path);
    if (exists && IsPagePath(path)) {
      if (!pages_.contains(path)) {
        page_order_.insert(std::upper_bound(page_order_.begin(), page_order_.end(), path), path);
      }
      ReadPage(fs, path);
      affected.insert(path);
    } else if (!exists) {
      // A vanished file's folders stay known: a folder that empties is rare and harmless.
      files_.erase(path);
      ForgetLinks(path);
      pages_.erase(path);
      std::erase(page_order_, path);
    }
    // The pages that lead to it: by its own path, and to an index page by its folder's too.
    std::vector<std::string> targets = {path};
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string::npos
                                      ? std::string_view(path)
                                      : std::string_view(path).substr(slash + 1);
    if (std::find(std::begin(kIndexPages), std::end(kIndexPages), name) != std::end(kIndexPages)) {
      const std::string folder = FolderPart(path);
      targets.push_back(folder);
      if (!folder.empty()) targets.push_back(folder + "/");
    }
    for (const std::string& target : targets) {
      auto linking = incoming_.find(target);
      if (linking != incoming_.end())
        affected.insert(linking->second.begin(), linking->second.end());
    }
  }
  return std::vector<std::string>(affected.begin(), affected.end());
}

// The file a link's path leads to, as a web server finds it: a file, or the index page of a
// folder (asked for with or without its final "/"). Sets problem when there is none.
std::string SiteLinks::TargetFile(const std::string& path, std::string& problem) const {
  const bool folder_asked = path.empty() || path.back() == '/';
  if (!folder_asked && files_.contains(path)) return path;
  std::string folder = path;
  if (folder_asked && !folder.empty()) folder.pop_back();
  if (!folders_.contains(folder)) {
    problem = "no file " + (folder_asked ? folder + "/" : path);
    return "";
  }
  for (std::string_view index : kIndexPages) {
    std::string page = folder.empty() ? std::string(index) : folder + "/" + std::string(index);
    if (files_.contains(page)) return page;
  }
  problem = (folder.empty() ? std::string("the document root") : "the folder " + folder) +
            " has no index.html";
  return "";
}

std::string SiteLinks::Problem(const std::string& page_path, const PageLink& link) const {
  std::string problem;
  const std::string file = TargetFile(link.target.path, problem);
  if (file.empty()) return problem;
  const std::optional<std::string>& fragment = link.target.fragment;
  if (!fragment || !IsPagePath(file)) return "";
  auto page = pages_.find(file);
  if (page == pages_.end() || HasAnchor(page->second.anchors, *fragment)) return "";
  const std::string where = file == page_path ? "this page" : file;
  return where + " has no anchor " + Quoted(*fragment);
}

void SiteLinks::CheckPage(const std::string& path, const Page& page,
                          std::vector<BrokenLink>& out) const {
  for (const PageLink& link : page.links) {
    if (link.target.kind != LinkKind::kInternal) continue;
    std::string reason = Problem(path, link);
    if (!reason.empty()) out.push_back(BrokenLink{path, link, std::move(reason)});
  }
}

std::vector<BrokenLink> SiteLinks::Check() const { return Check(page_order_); }

std::size_t SiteLinks::link_count() const {
  std::size_t count = 0;
  for (const auto& [path, page] : pages_) count += page.links.size();
  return count;
}

std::vector<BrokenLink> SiteLinks::Check(const std::vector<std::string>& pages) const {
  std::vector<BrokenLink> broken;
  for (const std::string& path : pages) {
    auto page = pages_.find(path);
    if (page != pages_.end()) CheckPage(path, page->second, broken);
  }
  return broken;
}

std::unordered_map<std::string, std::vector<std::pair<std::string, PageLink>>>
SiteLinks::ExternalLinks() const {
  std::unordered_map<std::string, std::vector<std::pair<std::string, PageLink>>> external;
  for (const std::string& path : page_order_) {
    for (const PageLink& link : pages_.at(path).links) {
      if (link.target.kind == LinkKind::kExternal)
        external[link.target.url].emplace_back(path, link);
    }
  }
  return external;
}

}  // namespace pentrak
