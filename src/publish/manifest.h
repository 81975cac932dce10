#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace pentrak {

class FileSystem;

// One file as the last publish left it at the destination.
struct ManifestEntry {
  std::uint64_t size = 0;
  std::string hash;  // ContentHash of its contents

  friend bool operator==(const ManifestEntry&, const ManifestEntry&) = default;
};

// What a destination holds according to the publishes made to it, by path below its folder
// ("/" between folders).
using Manifest = std::map<std::string, ManifestEntry>;

// The manifest's file in the work folder: one per destination, named after a hash of its text.
std::string ManifestPath(const std::string& work_folder, const std::string& destination_text);

// The manifest kept for the destination; nothing when there is none, when it was kept for
// another destination or when it is damaged, so that the destination's own listing is asked.
std::optional<Manifest> ReadManifest(const FileSystem& fs, const std::string& path,
                                     const std::string& destination_text);

// Replaces the manifest file (atomically); throws Error when it cannot be written.
void WriteManifest(const FileSystem& fs, const std::string& path,
                   const std::string& destination_text, const Manifest& manifest);

}  // namespace pentrak
