#include "publish/content_hash.h"

#include <openssl/evp.h>

#include <stdexcept>

#include "platform/file_system.h"

namespace pentrak {

namespace {

EVP_MD_CTX* Context(void* context) { return static_cast<EVP_MD_CTX*>(context); }

void Start(void* context) {
  if (EVP_DigestInit_ex(Context(context), EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 is not available");
  }
}

}  // namespace

ContentHasher::ContentHasher() : context_(EVP_MD_CTX_new()) {
  if (context_ == nullptr) throw std::bad_alloc();
  Start(context_);
}

ContentHasher::~ContentHasher() { EVP_MD_CTX_free(Context(context_)); }

void ContentHasher::Add(std::string_view bytes) {
  EVP_DigestUpdate(Context(context_), bytes.data(), bytes.size());
}

std::string ContentHasher::Finish() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(Context(context_), digest, &length);
  Start(context_);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(length * 2);
  for (unsigned int i = 0; i < length; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  return text;
}

std::string ContentHash(std::string_view bytes) {
  ContentHasher hasher;
  hasher.Add(bytes);
  return hasher.Finish();
}

std::string FileContentHash(const FileSystem& fs, const std::string& path, std::uint64_t& size) {
  ContentHasher hasher;
  size = 0;
  fs.ReadChunks(path, [&](std::string_view chunk) {
    hasher.Add(chunk);
    size += chunk.size();
  });
  return hasher.Finish();
}

}  // namespace pentrak
