#include "publish/publish_plan.h"

#include <gtest/gtest.h>

namespace pentrak {
namespace {

std::vector<std::string> Paths(const std::vector<LocalFile>& local,
                               const std::vector<std::size_t>& indexes) {
  std::vector<std::string> paths;
  for (std::size_t index : indexes) paths.push_back(local[index].path);
  return paths;
}

TEST(PublishPlanTest, WhatIsSentComparedAndRemovedFollowsWhoVouchesForTheDestination) {
  const std::vector<LocalFile> local = {{"a.html", 10, "hash-a"},
                                        {"b.html", 20, "hash-b"},
                                        {"c.html", 30, "hash-c"},
                                        {"d.html", 40, "hash-d"}};
  const Manifest manifest = {{"a.html", {10, "hash-a"}},
                             {"b.html", {20, "old-b"}},
                             {"c.html", {30, "hash-c"}},
                             {"gone.html", {5, "hash-gone"}}};
  const std::vector<RemoteFile> listing = {{"a.html", 10},
                                           {"b.html", 20},
                                           {"c.html", 31},
                                           {"d.html", 40},
                                           {"gone.html", 5},
                                           {"foreign.txt", 7},
                                           {"dir/.a.html.pentrak-new", 3}};
  const struct {
    const char* name;
    const Manifest* manifest;
    const std::vector<RemoteFile>* listing;
    std::vector<std::string> send;
    std::vector<std::string> compare;
    std::vector<std::string> stale;
    std::vector<std::string> leftovers;
    int unchanged;
  } cases[] = {
      // The manifest alone: d is new, b has another hash.
      {"manifest", &manifest, nullptr, {"b.html", "d.html"}, {}, {"gone.html"}, {}, 2},
      // The listing alone: same sizes cannot tell contents, c's size differs, and files nobody
      // knows to have been published are nobody's to remove.
      {"listing",
       nullptr,
       &listing,
       {"c.html"},
       {"a.html", "b.html", "d.html"},
       {},
       {"dir/.a.html.pentrak-new"},
       0},
      // Both: the manifest vouches where the sizes agree; d it never saw.
      {"both",
       &manifest,
       &listing,
       {"b.html", "c.html"},
       {"d.html"},
       {"gone.html"},
       {"dir/.a.html.pentrak-new"},
       1},
      // Neither: a first publish to an empty place sends everything.
      {"neither", nullptr, nullptr, {"a.html", "b.html", "c.html", "d.html"}, {}, {}, {}, 0},
  };
  for (const auto& c : cases) {
    PublishPlan plan = PlanPublish(local, c.manifest, c.listing);
    EXPECT_EQ(Paths(local, plan.send), c.send) << c.name;
    EXPECT_EQ(Paths(local, plan.compare), c.compare) << c.name;
    EXPECT_EQ(plan.stale, c.stale) << c.name;
    EXPECT_EQ(plan.leftovers, c.leftovers) << c.name;
    EXPECT_EQ(plan.unchanged, c.unchanged) << c.name;
  }
}

}  // namespace
}  // namespace pentrak
