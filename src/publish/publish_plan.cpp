#include "publish/publish_plan.h"

#include <set>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace pentrak {

namespace {

// The destination's listing as entries, each vouched for by the manifest when it can. A file
// that neither the manifest nor the site knows was put there by someone else: it is left out,
// so that no publish ever removes it.
Manifest HeldByListing(const std::vector<RemoteFile>& listing, const Manifest* manifest,
                       const std::set<std::string>& generated,
                       std::vector<std::string>& leftovers) {
  Manifest held;
  for (const RemoteFile& file : listing) {
    if (IsTemporaryName(FileNameOfPath(file.path))) {
      leftovers.push_back(file.path);
      continue;
    }
    auto known = manifest != nullptr ? manifest->find(file.path) : Manifest::const_iterator();
    const bool published = manifest != nullptr && known != manifest->end();
    if (!published && !generated.contains(file.path)) continue;
    ManifestEntry entry{file.size, kUnknownHash};
    if (published && known->second.size == file.size) entry = known->second;
    held[file.path] = std::move(entry);
  }
  return held;
}

}  // namespace

PublishPlan PlanPublish(const std::vector<LocalFile>& local, const Manifest* manifest,
                        const std::vector<RemoteFile>* listing) {
  PublishPlan plan;
  std::set<std::string> generated;
  for (const LocalFile& file : local) generated.insert(file.path);
  if (listing != nullptr) {
    plan.held = HeldByListing(*listing, manifest, generated, plan.leftovers);
  } else if (manifest != nullptr) {
    plan.held = *manifest;
  }
  for (std::size_t i = 0; i < local.size(); ++i) {
    const LocalFile& file = local[i];
    auto held = plan.held.find(file.path);
    if (held == plan.held.end() || held->second.size != file.size) {
      plan.send.push_back(i);
    } else if (held->second.hash == kUnknownHash) {
      plan.compare.push_back(i);
    } else if (held->second.hash == file.hash) {
      ++plan.unchanged;
    } else {
      plan.send.push_back(i);
    }
  }
  for (const auto& [path, entry] : plan.held) {
    if (!generated.contains(path)) plan.stale.push_back(path);
  }
  return plan;
}

void SettleComparison(PublishPlan& plan, const std::vector<LocalFile>& local, std::size_t index,
                      const std::string& destination_hash) {
  const LocalFile& file = local[index];
  plan.held[file.path] = ManifestEntry{file.size, destination_hash};
  if (destination_hash == file.hash) {
    ++plan.unchanged;
  } else {
    plan.send.push_back(index);
  }
}

}  // namespace pentrak
