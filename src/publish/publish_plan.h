#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "publish/manifest.h"

namespace pentrak {

// A file of the document root: its path below it ("/" between folders), size and content hash.
struct LocalFile {
  std::string path;
  std::uint64_t size = 0;
  std::string hash;
};

// A file the destination's own listing shows.
struct RemoteFile {
  std::string path;
  std::uint64_t size = 0;

  friend bool operator==(const RemoteFile&, const RemoteFile&) = default;
};

// Stands for the hash of a file whose contents nobody has looked at.
inline const std::string kUnknownHash(64, '-');

// What one publish does, before it does it.
struct PublishPlan {
  std::vector<std::size_t> send;       // indexes of local files whose contents differ
  std::vector<std::size_t> compare;    // indexes of local files to compare with the destination's
  std::vector<std::string> stale;      // files at the destination that are no longer generated
  std::vector<std::string> leftovers;  // temporary files an interrupted publish left behind
  int unchanged = 0;
  // What the destination holds as far as is known: the manifest, or the listing (less the files
  // nobody published) with the manifest's hashes where it vouches for a file (same size) and
  // kUnknownHash elsewhere.
  Manifest held;
};

// Plans from the manifest alone (listing null), or from the destination's listing with the
// manifest (null when there is none) vouching for the files it knows at their listed size. A
// file of the same size that nobody vouches for goes to compare; the caller settles it with
// SettleComparison once it has the destination's hash.
PublishPlan PlanPublish(const std::vector<LocalFile>& local, const Manifest* manifest,
                        const std::vector<RemoteFile>* listing);

// Files the comparison found to differ go to send; equal ones count as unchanged.
void SettleComparison(PublishPlan& plan, const std::vector<LocalFile>& local, std::size_t index,
                      const std::string& destination_hash);

}  // namespace pentrak
