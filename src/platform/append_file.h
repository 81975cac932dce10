#pragma once

#include <string>
#include <string_view>

namespace pentrak {

class FileSystem;

// An existing file held open for appending across many writes, so that a writer adding a line
// at a time pays for one open per run rather than one per line. Failures throw Error.
class AppendFile {
 public:
  AppendFile() = default;
  ~AppendFile() { Close(); }
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Opens the file for appending; a missing file is an error, as for FileSystem::AppendBytes.
  void Open(const FileSystem& fs, const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Appends the bytes. A file removed while it is open takes them without an error: checking
  // for that on every write would cost a run of thousands of documents as much as the writes.
  void Write(std::string_view bytes);
  void Close();

 private:
  const FileSystem* fs_ = nullptr;
  std::string path_;
  int fd_ = -1;
};

}  // namespace pentrak
