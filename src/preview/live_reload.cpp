#include "preview/live_reload.h"

#include <algorithm>
#include <cctype>

#include "platform/paths.h"

namespace pentrak {

namespace {

// The script around the page's own values: the instance, the build, the page's URL path. The
// overlay's text is set as text, never as markup.
constexpr std::string_view kScriptStart = "<script>(function(){var i=\"";
constexpr std::string_view kScriptAfterInstance = "\",b=";
constexpr std::string_view kScriptAfterBuild = ",k=\"";
constexpr std::string_view kScriptEnd =
    "\",id=\"__preview_problems\",s;"
    "function open(){s=new EventSource(\"/__preview/events?instance=\"+i+\"&build=\"+b+"
    "\"&page=\"+encodeURIComponent(k));"
    "s.addEventListener(\"reload\",function(e){var l=e.data.split(\"\\n\");"
    "if(l.indexOf(\"*\")>=0||l.indexOf(k)>=0)location.reload();});"
    "s.addEventListener(\"build\",function(e){b=e.data;});"
    "s.addEventListener(\"problems\",function(e){var d=document.getElementById(id);"
    "if(!d){d=document.createElement(\"pre\");d.id=id;d.style.cssText=\"position:fixed;left:0;"
    "right:0;bottom:0;max-height:50%;overflow:auto;margin:0;padding:12px;z-index:2147483647;"
    "background:#fff4f4;color:#900;border-top:3px solid #c00;font:13px monospace;"
    "white-space:pre-wrap\";document.body.appendChild(d);}d.textContent=e.data;});"
    "s.addEventListener(\"clear\",function(){var d=document.getElementById(id);"
    "if(d)d.remove();});"
    "s.onerror=function(){s.close();setTimeout(open,1000);};}"
    "open();})();</script>";

constexpr std::string_view kTag = "</body";

std::size_t LastBodyEnd(std::string_view page) {
  for (std::size_t at = page.size(); at >= kTag.size(); --at) {
    std::size_t start = at - kTag.size();
    bool same =
        std::equal(kTag.begin(), kTag.end(), page.begin() + static_cast<long>(start),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    if (same) return start;
  }
  return std::string_view::npos;
}

// Fills data with the count bytes from offset on, or fewer when the page ends first.
std::size_t ReadFully(const std::function<std::size_t(std::uint64_t, char*, std::size_t)>& read_at,
                      std::uint64_t offset, char* data, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    std::size_t n = read_at(offset + done, data + done, count - done);
    if (n == 0) break;
    done += n;
  }
  return done;
}

}  // namespace

std::string ReloadScript(std::string_view instance, std::uint64_t build, std::string_view page) {
  std::string script(kScriptStart);
  script.append(instance).append(kScriptAfterInstance).append(std::to_string(build));
  return script.append(kScriptAfterBuild).append(page).append(kScriptEnd);
}

std::uint64_t ReloadScriptOffset(
    std::uint64_t size,
    const std::function<std::size_t(std::uint64_t offset, char* data, std::size_t count)>& read_at,
    std::size_t block) {
  // Each block is read with the first bytes of the one after it, so that a tag across the
  // boundary is seen whole.
  std::string window(block + kTag.size() - 1, '\0');
  std::uint64_t end = size;
  while (end > 0) {
    std::uint64_t start = end > block ? end - block : 0;
    std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(size - start, window.size()));
    std::size_t got = ReadFully(read_at, start, window.data(), wanted);
    std::size_t at = LastBodyEnd(std::string_view(window.data(), got));
    if (at != std::string_view::npos) return start + at;
    end = start;
  }
  return size;
}

std::string WithReloadScript(std::string_view page, std::string_view script) {
  std::size_t at = LastBodyEnd(page);
  if (at == std::string_view::npos) at = page.size();
  std::string result;
  result.reserve(page.size() + script.size());
  result.append(page.substr(0, at)).append(script).append(page.substr(at));
  return result;
}

std::string EventText(std::string_view name, const std::vector<std::string>& lines) {
  std::string text = "event: ";
  text.append(name).append("\n");
  if (lines.empty()) text.append("data: -\n");
  for (const std::string& line : lines) {
    std::string data = line;
    std::replace(data.begin(), data.end(), '\r', ' ');
    text.append("data: ").append(data).append("\n");
  }
  return text.append("\n");
}

std::string PageUrlPath(const std::string& document, const std::string& root) {
  std::string page = NativePath(document);
  std::string folder = NativePath(root);
  if (folder.empty()) return "";
  if (folder.back() != '/') folder += '/';
  if (page.size() <= folder.size() || page.compare(0, folder.size(), folder) != 0) return "";
  return page.substr(folder.size() - 1);
}

}  // namespace pentrak
