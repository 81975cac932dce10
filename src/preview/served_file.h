#pragma once

#include <string>

namespace pentrak {

// What the preview answers to a request for a path under the document root.
struct ServedFile {
  int status = 404;      // 200 (path names the file), 301 (to location), 403 or 404
  std::string path;      // the real path of the file to send
  std::string location;  // where a folder asked for without its final "/" moved
};

// Maps a request path (decoded, starting with "/") to a file below root. Only regular files
// inside the root are served, symbolic links included as long as they lead to one: ".." parts,
// a "\" (a separator to the file system) and links out of the root are refused with 403, as is a
// folder without an index page (there are no listings).
ServedFile FindServedFile(const std::string& root, const std::string& request_path);

// A path as it may stand in a URL: every byte but letters, digits, "/" and "-._~" as "%XX".
std::string EncodedUrlPath(const std::string& path);

// The Content-Type for a file name, by its extension.
std::string ContentTypeOf(const std::string& path);

// True for the files the reload script is added to.
bool IsHtml(const std::string& path);

}  // namespace pentrak
