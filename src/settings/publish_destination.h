#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/project_settings.h"

namespace pentrak {

// Where one publish sends the document root: a local folder or a folder on an SFTP server.
struct PublishDestination {
  short method = kPublishNowhere;
  std::string folder;  // kPublishToFolder
  std::string user;    // kPublishBySftp from here on; empty for the login name
  std::string host;
  int port = 0;               // 0: the SSH default
  std::string remote_folder;  // absolute, or relative to the login's home folder
  std::string key_file;       // empty: ssh-agent, then the default keys

  friend bool operator==(const PublishDestination&, const PublishDestination&) = default;
};

// Why the publishing fields of a project cannot be used, or nothing.
std::optional<std::string> CheckPublishSettings(const PublishSettings& settings);

// The destination a project's settings name; they must have passed CheckPublishSettings.
PublishDestination DestinationOf(const PublishSettings& settings);

// Reads a destination typed on the command line: "sftp://[USER@]HOST[:PORT]/PATH", where a PATH
// that begins with "/~/" is relative to the login's home folder, or else a local folder. Returns
// "" or why the text is refused.
std::string ParseDestination(std::string_view text, PublishDestination& destination);

// The destination in one line, as ParseDestination reads it back: the folder, or the address.
std::string DestinationText(const PublishDestination& destination);

}  // namespace pentrak
