#include "settings/publish_destination.h"

#include <charconv>

#include "platform/text_lines.h"

namespace pentrak {

namespace {

constexpr std::string_view kScheme = "sftp://";
// A path that begins with this is relative to the login's home folder, as other SFTP clients
// write it.
constexpr std::string_view kHomePrefix = "/~/";

// 1 to 65535, or 0 when the text is not such a number.
int PortNumber(std::string_view text) {
  int port = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (error != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535) {
    return 0;
  }
  return port;
}

bool HasAnyOf(std::string_view text, std::string_view characters) {
  return text.find_first_of(characters) != std::string_view::npos;
}

// Why a host name or user name cannot be used, or nothing; shared by the fields and --to.
std::optional<std::string> CheckHostAndUser(std::string_view host, std::string_view user) {
  if (host.empty()) return "Please enter the host name of the SFTP server.";
  if (HasAnyOf(host, " \t/@")) {
    return "The SFTP host must be a host name or an address, without blanks, \"/\" or \"@\".";
  }
  if (HasAnyOf(user, " \t/@:")) {
    return "The SFTP user name must not hold blanks, \"/\", \"@\" or \":\".";
  }
  return std::nullopt;
}

// Splits "HOST[:PORT]" or "[ADDRESS][:PORT]"; false when the port is not a port.
bool SplitHostAndPort(std::string_view text, std::string& host, int& port) {
  std::string_view port_text;
  if (!text.empty() && text.front() == '[') {
    std::size_t close = text.find(']');
    if (close == std::string_view::npos) return false;
    host = std::string(text.substr(1, close - 1));
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty() && rest.front() != ':') return false;
    if (!rest.empty()) port_text = rest.substr(1);
  } else {
    std::size_t colon = text.find(':');
    host = std::string(text.substr(0, colon));
    if (colon != std::string_view::npos) port_text = text.substr(colon + 1);
  }
  port = 0;
  if (port_text.empty()) return true;
  port = PortNumber(port_text);
  return port != 0;
}

}  // namespace

std::optional<std::string> CheckPublishSettings(const PublishSettings& settings) {
  switch (settings.method) {
    case kPublishNowhere:
      return std::nullopt;
    case kPublishToFolder:
      if (TrimBlanks(settings.folder).empty()) {
        return "Please enter the folder to publish the site to.";
      }
      return std::nullopt;
    case kPublishBySftp:
      if (auto problem = CheckHostAndUser(settings.host, settings.user)) return problem;
      if (!settings.port.empty() && PortNumber(settings.port) == 0) {
        return "The SFTP port must be a number from 1 to 65535.";
      }
      if (settings.remote_folder.empty()) {
        return "Please enter the folder on the SFTP server to publish the site to.";
      }
      return std::nullopt;
    default:
      return "Please choose where to publish the site.";
  }
}

PublishDestination DestinationOf(const PublishSettings& settings) {
  PublishDestination destination;
  destination.method = settings.method;
  if (settings.method == kPublishToFolder) {
    destination.folder = std::string(TrimBlanks(settings.folder));
  } else if (settings.method == kPublishBySftp) {
    destination.user = settings.user;
    destination.host = settings.host;
    destination.port = settings.port.empty() ? 0 : PortNumber(settings.port);
    destination.remote_folder = settings.remote_folder;
    destination.key_file = settings.key_file;
  }
  return destination;
}

std::string ParseDestination(std::string_view text, PublishDestination& destination) {
  destination = PublishDestination{};
  text = TrimBlanks(text);
  if (text.empty()) return "Name a folder or an sftp:// address to publish to.";
  if (!EqualsIgnoreCase(text.substr(0, kScheme.size()), kScheme)) {
    if (text.find("://") != std::string_view::npos) {
      return "Only a folder or an sftp:// address can be published to, not " + std::string(text) +
             ".";
    }
    destination.method = kPublishToFolder;
    destination.folder = std::string(text);
    return "";
  }
  std::string_view rest = text.substr(kScheme.size());
  std::size_t slash = rest.find('/');
  if (slash == std::string_view::npos || slash + 1 == rest.size()) {
    return "Name the folder on the server too: sftp://HOST/PATH (" + std::string(text) + ").";
  }
  std::string_view authority = rest.substr(0, slash);
  std::string_view path = rest.substr(slash);
  std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    destination.user = std::string(authority.substr(0, at));
    authority = authority.substr(at + 1);
  }
  if (!SplitHostAndPort(authority, destination.host, destination.port)) {
    return "The port of " + std::string(text) + " must be a number from 1 to 65535.";
  }
  if (auto problem = CheckHostAndUser(destination.host, destination.user)) return *problem;
  destination.method = kPublishBySftp;
  destination.remote_folder = path.starts_with(kHomePrefix)
                                  ? std::string(path.substr(kHomePrefix.size()))
                                  : std::string(path);
  return "";
}

std::string DestinationText(const PublishDestination& d) {
  if (d.method != kPublishBySftp) return d.folder;
  std::string text(kScheme);
  if (!d.user.empty()) text += d.user + "@";
  text += d.host.find(':') == std::string::npos ? d.host : "[" + d.host + "]";
  if (d.port != 0) text += ":" + std::to_string(d.port);
  if (d.remote_folder.empty() || d.remote_folder.front() != '/') text += kHomePrefix;
  return text + d.remote_folder;
}

}  // namespace pentrak
