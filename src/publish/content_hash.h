#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pentrak {

class FileSystem;

// The content hash that tells whether a published file still holds what the site holds: SHA-256
// from OpenSSL's libcrypto, which the SSH library already links, so no other dependency is
// needed; it runs at well over a gigabyte a second where the processor has SHA instructions,
// and unlike a quick checksum, equal hashes can be taken for equal contents.
class ContentHasher {
 public:
  ContentHasher();
  ~ContentHasher();
  ContentHasher(const ContentHasher&) = delete;
  ContentHasher& operator=(const ContentHasher&) = delete;

  void Add(std::string_view bytes);
  // The hash of everything added, in lowercase hexadecimal; the hasher starts afresh.
  std::string Finish();

 private:
  void* context_;  // an EVP_MD_CTX, kept out of this header
};

// The hash of a text.
std::string ContentHash(std::string_view bytes);

// The hash and size of a file, read piece by piece; throws Error when it cannot be read.
std::string FileContentHash(const FileSystem& fs, const std::string& path, std::uint64_t& size);

}  // namespace pentrak
