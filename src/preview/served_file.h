#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/descriptor.h"

namespace pentrak {

// A request path as a path below the document root, or why it is refused.
struct MappedPath {
  int status = 0;        // 0, or 400 (not a path) or 403 (it leads out, or names no file)
  std::string relative;  // "/"-separated, without empty, "." or ".." parts; "" for the root
};

// Maps a request path (decoded, starting with "/") to a path below the root without looking at
// the disk. A ".." part, a "\" (a separator to some file systems) and a NUL are refused.
MappedPath MapRequestPath(std::string_view request_path);

// What the preview answers to a request for a path under the document root.
struct ServedFile {
  int status = 404;      // 200 (path names the file), 301 (to location), 403 or 404
  std::string path;      // where the file was found, below the root (its name gives its type)
  std::string location;  // where a folder asked for without its final "/" moved
  Descriptor file;       // open on the file to send, for 200
  std::uint64_t size = 0;
};

// Maps a request path (decoded, starting with "/") to a file below root and opens it. Only
// regular files inside the root are served, symbolic links included as long as they lead to one
// inside it: a ".." part, a "\" and links out of the root are refused with 403, as is a folder
// without an index page (there are no listings). The file is opened as it is looked up, so the
// file sent is the one found, whatever is renamed meanwhile.
ServedFile FindServedFile(const std::string& root, const std::string& request_path);

// The bytes sent for a served file, read from it as they go out instead of held whole: the file
// as it is, or with a text (the reload script) put in at an offset.
class ServedBody {
 public:
  ServedBody(Descriptor file, std::uint64_t file_size, std::uint64_t insert_at,
             std::string inserted);

  std::uint64_t size() const { return file_size_ + inserted_.size(); }

  // Copies up to size bytes from offset on into data; returns how many, 0 past the end or when
  // the file ended early (it was cut short while sent). Throws Error when it cannot be read.
  std::size_t Read(std::uint64_t offset, char* data, std::size_t size) const;

 private:
  Descriptor file_;
  std::uint64_t file_size_;
  std::uint64_t insert_at_;
  std::string inserted_;
};

// A path as it may stand in a URL: every byte but letters, digits, "/" and "-._~" as "%XX".
std::string EncodedUrlPath(const std::string& path);

// The Content-Type for a file name, by its extension.
std::string ContentTypeOf(const std::string& path);

// True for the files the reload script is added to.
bool IsHtml(const std::string& path);

}  // namespace pentrak
