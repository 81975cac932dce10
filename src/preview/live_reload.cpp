#include "preview/live_reload.h"

#include <algorithm>
#include <cctype>

#include "platform/paths.h"

namespace pentrak {

namespace {

// Reloads the page when a run rewrote it ("*": any page) and keeps the overlay of the last
// run's problems; the overlay's text is set as text, never as markup.
constexpr std::string_view kReloadScript =
    "<script>(function(){"
    "var s=new EventSource(\"/__preview/events\"),id=\"__preview_problems\";"
    "function here(){var p=location.pathname;try{p=decodeURIComponent(p);}catch(e){}return p;}"
    "s.addEventListener(\"reload\",function(e){var l=e.data.split(\"\\n\"),p=here();"
    "if(l.indexOf(\"*\")>=0||l.indexOf(p)>=0||(p.slice(-1)==\"/\"&&"
    "(l.indexOf(p+\"index.html\")>=0||l.indexOf(p+\"index.htm\")>=0)))location.reload();});"
    "s.addEventListener(\"problems\",function(e){var d=document.getElementById(id);"
    "if(!d){d=document.createElement(\"pre\");d.id=id;d.style.cssText=\"position:fixed;left:0;"
    "right:0;bottom:0;max-height:50%;overflow:auto;margin:0;padding:12px;z-index:2147483647;"
    "background:#fff4f4;color:#900;border-top:3px solid #c00;font:13px monospace;"
    "white-space:pre-wrap\";document.body.appendChild(d);}d.textContent=e.data;});"
    "s.addEventListener(\"clear\",function(){var d=document.getElementById(id);"
    "if(d)d.remove();});})();</script>";

std::size_t LastBodyEnd(std::string_view page) {
  constexpr std::string_view kTag = "</body";
  for (std::size_t at = page.size(); at >= kTag.size(); --at) {
    std::size_t start = at - kTag.size();
    bool same =
        std::equal(kTag.begin(), kTag.end(), page.begin() + static_cast<long>(start),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    if (same) return start;
  }
  return std::string_view::npos;
}

}  // namespace

std::string WithReloadScript(std::string_view page) {
  std::size_t at = LastBodyEnd(page);
  if (at == std::string_view::npos) at = page.size();
  std::string result;
  result.reserve(page.size() + kReloadScript.size());
  result.append(page.substr(0, at)).append(kReloadScript).append(page.substr(at));
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
