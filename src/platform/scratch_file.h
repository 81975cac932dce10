#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pentrak {

class FileSystem;

// A scratch file of this program held open across many rewrites, such as a pass file that the
// generator rewrites for every document: each rewrite costs one write, and a truncation only when
// the text got shorter, instead of an open, a status, a write, a truncation and a close.
// Failures throw Error; a failed rewrite may leave the file half-written and closes it.
class ScratchFile {
 public:
  ScratchFile() = default;
  ~ScratchFile() { Close(); }
  ScratchFile(ScratchFile&& other) noexcept;
  ScratchFile& operator=(ScratchFile&& other) noexcept;
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Makes the file at path hold exactly these bytes, opening or creating it on first use. A
  // file that is a link or not a regular file is replaced by a new one, never written through.
  void Rewrite(const FileSystem& fs, const std::string& path, std::string_view bytes);
  // Closes the file; a close that fails throws (a file system may report a failed write then).
  void Finish();
  // Closes the file without a word: for the end of a run or a file about to be removed.
  void Close();

 private:
  std::string path_;
  int fd_ = -1;
  std::size_t size_ = 0;  // what the file holds now
};

}  // namespace pentrak
