#include "preview/preview_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <sys/stat.h>

#include <atomic>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "preview/live_reload.h"
#include "preview/served_file.h"
#include "shell/project_loading.h"
#include "testing/test_folder.h"
#include "testing/workbench_fixture.h"

namespace pentrak {
namespace {

// Listens on the preview's event stream as a page does and keeps everything it receives; with a
// query, as the page whose script gave it.
class EventListener {
 public:
  explicit EventListener(int port, std::string query = "")
      : thread_([this, port, query] {
          httplib::Client client("127.0.0.1", port);
          client.Get(std::string(kPreviewEventsPath) + query,
                     [this](const char* data, std::size_t size) {
                       std::lock_guard lock(mutex_);
                       received_.append(data, size);
                       arrived_.notify_all();
                       return true;
                     });
        }) {}
  ~EventListener() { thread_.join(); }

  // Waits until what arrived after the mark holds the text; then the mark moves past it.
  bool WaitFor(const std::string& text) {
    std::unique_lock lock(mutex_);
    bool seen = arrived_.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return received_.find(text, mark_) != std::string::npos; });
    if (seen) mark_ = received_.find(text, mark_) + text.size();
    return seen;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::string received_;
  std::size_t mark_ = 0;
  std::thread thread_;
};

// A project of three pages made from one template and a shared menu, each with its own content
// file, served on a port of the system's choosing. Sources are saved as they come, without
// touching their time stamps: a save in the second of the last run must be seen all the same.
class PreviewServerTest : public WorkbenchFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    std::string project =
        Project("site.web", {"name=Site", "document-root=" + folder / "out/",
                             "content-root=" + folder / "src/", "definition-file=project.txt"});
    fs().CreateFolderPath(folder / "src/");
    Source("project.txt", kDefinition);
    Source("page.tpl", "<html>\r\n<body><h1>[@TITLE]</h1>[@MENU]</body>\r\n</html>\r\n");
    Source("menu.par", "[@MENU]:\r\nmenu\r\n[@]\r\n");
    Source("index.par", "[@TITLE]:\r\nHome\r\n[@]\r\n");
    Source("a.par", "[@TITLE]:\r\nPage A\r\n[@]\r\n");
    Source("b.par", "[@TITLE]:\r\nPage B\r\n[@]\r\n");
    fs().CreateFolderPath(folder / "out/");
    fs().WriteFile(folder / "out/site.css", "body { color: red }\n");
    ASSERT_TRUE(LoadProjectSettings(workbench, project));
    PreviewOptions options;
    options.port = 0;
    ASSERT_EQ(server.Start(options), "");
    events = std::make_unique<EventListener>(server.port());
    ASSERT_TRUE(events->WaitFor("event: clear\n"));
    ui.status_lines.clear();
  }

  void Source(const std::string& name, const std::string& text) {
    fs().WriteFile(folder / ("src/" + name), text);
  }

  // Saves a source as most editors do: a new file renamed over the old one.
  void Save(const std::string& name, const std::string& text) {
    std::string fresh = folder / "src/.saving";
    fs().WriteFile(fresh, text);
    fs().RenameFile(fresh, folder / ("src/" + name));
  }
  // Saves a source by writing over it where it is.
  void SaveInPlace(const std::string& name, const std::string& text) {
    fs().OverwriteFile(folder / ("src/" + name), text);
  }
  static std::string Title(const std::string& title) {
    return "[@TITLE]:\r\n" + title + "\r\n[@]\r\n";
  }

  // Steps the preview until done says so; false when it never does within a few seconds.
  bool StepUntil(const std::function<bool(bool ran)>& done) {
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool ran = false;
    while (std::chrono::steady_clock::now() < give_up) {
      if (done(ran)) return true;
      ran = server.Step(std::chrono::milliseconds(50));
    }
    return false;
  }
  bool RunAfterSave() {
    return StepUntil([](bool ran) { return ran; });
  }
  bool ServedWith(const std::string& page, const std::string& text) {
    return StepUntil([&](bool) {
      httplib::Result result = Get(page);
      return result && result->body.find(text) != std::string::npos;
    });
  }

  // The pages the last run generated, from its "Processing:" status lines.
  std::vector<std::string> Processed() const {
    std::vector<std::string> pages;
    for (const std::string& line : ui.status_lines) {
      if (line.rfind("Processing:\t", 0) == 0) pages.push_back(line.substr(12));
    }
    return pages;
  }

  httplib::Result Get(const std::string& path) {
    httplib::Client client("127.0.0.1", server.port());
    return client.Get(path);
  }

  static constexpr const char* kDefinition =
      "Globals=menu.par!\r\n"
      "[Main]\r\nindex.html,page.tpl,index.par\r\na.html,page.tpl,a.par\r\n"
      "b.html,page.tpl,b.par\r\n";

  std::unique_ptr<EventListener> events;  // outlives the server, whose end closes its stream
  PreviewServer server{workbench};
};

TEST_F(PreviewServerTest, ServesPagesWithTheReloadScriptAndOtherFilesAsTheyAre) {
  std::string page = fs().ReadFile(folder / "out/index.html");
  ASSERT_EQ(page, "<html>\r\n<body><h1>Home</h1>menu</body>\r\n</html>\r\n");
  httplib::Result home = Get("/");
  ASSERT_TRUE(home);
  EXPECT_EQ(home->status, 200);
  EXPECT_EQ(home->get_header_value("Content-Type"), "text/html");
  std::string body = home->body;
  std::size_t script = body.find("<script>");
  std::size_t script_end = body.find("</script>");
  ASSERT_NE(script, std::string::npos);
  ASSERT_NE(script_end, std::string::npos);
  EXPECT_EQ(body.substr(script_end + 9, 7), "</body>");
  EXPECT_EQ(body.erase(script, script_end + 9 - script), page);

  httplib::Result css = Get("/site.css");
  ASSERT_TRUE(css);
  EXPECT_EQ(css->status, 200);
  EXPECT_EQ(css->get_header_value("Content-Type"), "text/css");
  EXPECT_EQ(css->body, "body { color: red }\n");
}

// Every way a save reaches the disk, each made at once after the run before it (within the same
// second, as a save right after a regeneration is), is served.
TEST_F(PreviewServerTest, EverySaveIsServedHoweverItIsMadeAndHoweverSoon) {
  const struct {
    const char* save;
    std::function<void()> change;
    std::string page;
    std::string text;
  } kSaves[] = {
      {"renamed over", [&] { Save("a.par", Title("A1")); }, "/a.html", "<h1>A1</h1>"},
      {"two saves 5 ms apart",
       [&] {
         SaveInPlace("a.par", Title("A3"));
         std::this_thread::sleep_for(std::chrono::milliseconds(5));
         SaveInPlace("a.par", Title("A4"));
       },
       "/a.html", "<h1>A4</h1>"},
      {"the template right after", [&] { Save("page.tpl", "<p>[@TITLE]</p>\r\n"); }, "/b.html",
       "<p>Page B</p>"},
      {"the shared file, then at once a page's own",
       [&] {
         SaveInPlace("menu.par", "[@MENU]:\r\nnew menu\r\n[@]\r\n");
         Save("b.par", Title("B1"));
         Save("page.tpl", "<p>[@TITLE] [@MENU]</p>\r\n");
       },
       "/b.html", "<p>B1 new menu</p>"},
      {"deleted and made again",
       [&] {
         fs().RemoveFile(folder / "src/b.par");
         Source("b.par", Title("B2"));
       },
       "/b.html", "<p>B2 new menu</p>"},
  };
  for (const auto& save : kSaves) {
    save.change();
    EXPECT_TRUE(ServedWith(save.page, save.text)) << save.save;
  }
  EXPECT_TRUE(ServedWith("/index.html", "<p>Home new menu</p>"));
}

TEST_F(PreviewServerTest, ASaveThatChangesNoByteMakesNoRun) {
  Save("a.par", Title("Page A"));
  SaveInPlace("index.par", Title("Home"));
  ::chmod((folder / "src/page.tpl").c_str(), 0600);  // permissions alone change no byte either
  Save("b.par", Title("Page B, edited"));
  ASSERT_TRUE(RunAfterSave());
  // Had any of the others made a run, or joined this one, its page would be among these.
  EXPECT_EQ(Processed(), std::vector<std::string>{folder / "out/b.html"});
}

// A save made while a run is in progress is taken by the next run.
TEST_F(PreviewServerTest, ASaveDuringARunMakesOneMoreRun) {
  bool saved = false;
  server.OnRun([&](bool running) {
    if (!running || saved) return;
    saved = true;
    SaveInPlace("b.par", Title("B during the run"));
  });
  Save("a.par", Title("A before the run"));
  EXPECT_TRUE(ServedWith("/a.html", "A before the run"));
  EXPECT_TRUE(ServedWith("/b.html", "B during the run"));
}

// A page served before a run that rewrote it, whose event stream opens only after that run (or
// opens again after a break), is told to reload; one whose page the run left alone is not.
TEST_F(PreviewServerTest, APageThatMissedARunIsToldToReloadWhenItsStreamOpens) {
  auto query_of = [&](const std::string& page) {
    httplib::Result served = Get(page);
    EXPECT_TRUE(served);
    std::smatch found;
    EXPECT_TRUE(std::regex_search(served->body, found,
                                  std::regex("var i=\"(\\w+)\",b=(\\d+),k=\"([^\"]+)\"")));
    return "?instance=" + found[1].str() + "&build=" + found[2].str() + "&page=" + found[3].str();
  };
  const std::string a_query = query_of("/a.html");
  const std::string b_query = query_of("/b.html");
  Save("a.par", Title("Page A, edited"));
  ASSERT_TRUE(RunAfterSave());
  EventListener a_page(server.port(), a_query);
  EventListener b_page(server.port(), b_query);
  EXPECT_TRUE(a_page.WaitFor("event: reload\ndata: /a.html\n\nevent: build\n"));
  EXPECT_TRUE(b_page.WaitFor("event: clear\ndata: -\n\nevent: build\n"));
  server.Stop();
}

TEST_F(PreviewServerTest, ADocumentAddedToTheDefinitionIsGeneratedAlone) {
  Save("project.txt", std::string(kDefinition) + "c.html,page.tpl,b.par\r\n");
  ASSERT_TRUE(RunAfterSave());
  EXPECT_EQ(Processed(), std::vector<std::string>{folder / "out/c.html"});
  EXPECT_TRUE(events->WaitFor("event: reload\ndata: /c.html\n\n"));
  EXPECT_TRUE(ServedWith("/c.html", "<h1>Page B</h1>"));
  // The new page's content file is its own from now on too.
  ui.status_lines.clear();
  Save("b.par", Title("B again"));
  ASSERT_TRUE(RunAfterSave());
  EXPECT_EQ(Processed(), (std::vector<std::string>{folder / "out/b.html", folder / "out/c.html"}));
}

TEST_F(PreviewServerTest, RefusesEveryWayOutOfTheDocumentRoot) {
  // The served-file table checks the paths themselves; here they arrive URL-encoded.
  fs().WriteFile(folder / "secret.txt", "secret");
  const struct {
    std::string path;
    int status;
  } kCases[] = {
      {"/%2e%2e/secret.txt", 403}, {"/%2E%2E%2Fsecret.txt", 403}, {"/..%5csecret.txt", 403},
      {"/missing.html", 404},      {"/index.html", 200},
  };
  for (const auto& c : kCases) {
    httplib::Result result = Get(c.path);
    ASSERT_TRUE(result) << c.path;
    EXPECT_EQ(result->status, c.status) << c.path;
    EXPECT_EQ(result->body.find("secret"), std::string::npos) << c.path;
  }
  httplib::Client client("127.0.0.1", server.port());
  httplib::Result post = client.Post("/index.html", "x", "text/plain");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 405);
}

TEST_F(PreviewServerTest, ReportsADeletedContentFileAndRecoversWhenItReturns) {
  fs().RemoveFile(folder / "src/a.par");
  ASSERT_TRUE(RunAfterSave());
  EXPECT_EQ(ui.messages.size(), 1u);  // the error report
  EXPECT_EQ(ui.status_lines.back(), "Missing source file: " + folder / "src/a.par");
  EXPECT_TRUE(events->WaitFor("event: problems\ndata: Generated 0 of 1 document"));
  EXPECT_TRUE(events->WaitFor("data: Missing source file: " + folder / "src/a.par" + "\n"));
  httplib::Result home = Get("/");
  ASSERT_TRUE(home);
  EXPECT_EQ(home->status, 200);

  Save("a.par", Title("Page A is back"));
  ASSERT_TRUE(RunAfterSave());
  EXPECT_EQ(Processed(), std::vector<std::string>{folder / "out/a.html"});
  EXPECT_EQ(ui.status_lines.back(), "Generated 1 of 1 document.");
  EXPECT_TRUE(events->WaitFor("event: clear\ndata: -\n\nevent: reload\ndata: /a.html\n\n"));
}

// More changes than the kernel queues for the watcher: it loses some and says so, and every
// source is looked at again; only the page whose file changed is generated.
TEST_F(PreviewServerTest, AfterLostChangesOnlyWhatChangedIsGenerated) {
  std::ifstream limit("/proc/sys/fs/inotify/max_queued_events");
  int queued = 16384;
  limit >> queued;
  Source("noise.txt", "");
  for (int i = 0; i <= queued; ++i) SaveInPlace("noise.txt", std::to_string(i));
  SaveInPlace("a.par", Title("Page A after the noise"));
  ASSERT_TRUE(RunAfterSave());
  EXPECT_EQ(Processed(), std::vector<std::string>{folder / "out/a.html"});
}

// A page is renamed over by a link to a file outside the root and back, as fast as can be, while
// it is asked for: what is sent is always the page or a refusal, never the file outside. (The
// file system itself may find the name missing for an instant while it is renamed over.)
TEST_F(PreviewServerTest, NeverSendsWhatALinkSwappedInLeadsTo) {
  fs().WriteFile(folder / "secret.txt", "secret");
  fs().WriteFile(folder / "out/.page", "public");
  const std::string swapped = folder / "out/swap.txt";
  const std::string fresh = folder / "out/.fresh";
  std::atomic<bool> asking{true};
  std::atomic<int> swaps{0};
  std::thread swapper([&] {
    while (asking) {
      EXPECT_EQ(::link((folder / "out/.page").c_str(), fresh.c_str()), 0);
      EXPECT_EQ(::rename(fresh.c_str(), swapped.c_str()), 0);
      EXPECT_EQ(::symlink("../secret.txt", fresh.c_str()), 0);
      EXPECT_EQ(::rename(fresh.c_str(), swapped.c_str()), 0);
      swaps += 2;
    }
  });
  const std::map<int, std::string> kBodies = {
      {200, "public"}, {403, "403 Forbidden\n"}, {404, "404 Not Found\n"}};
  httplib::Client client("127.0.0.1", server.port());
  client.set_keep_alive(true);
  std::map<int, int> answers;  // status -> count
  int asked = 0;
  // At least 2,000 requests while the name changed at least 4,000 times.
  for (; asked < 100000 && (asked < 2000 || swaps < 4000); ++asked) {
    httplib::Result result = client.Get("/swap.txt");
    if (!result) break;
    ++answers[result->status];
    auto expected = kBodies.find(result->status);
    if (expected == kBodies.end() || result->body != expected->second) {
      ADD_FAILURE() << result->status << " " << result->body;
      break;
    }
  }
  asking = false;
  swapper.join();
  EXPECT_GE(swaps, 4000);
  EXPECT_GT(answers[200], 0);
  EXPECT_GT(answers[403], 0);
  EXPECT_EQ(answers[200] + answers[403] + answers[404], asked);
}

// Every open page holds an event stream; ordinary requests are answered all the same, and past
// the bound a page goes without its stream instead of taking the connections from the others.
TEST_F(PreviewServerTest, AnswersRequestsWhileManyPagesListen) {
  std::vector<std::unique_ptr<EventListener>> pages;
  for (int i = 0; i < 64; ++i) pages.push_back(std::make_unique<EventListener>(server.port()));
  for (auto& page : pages) ASSERT_TRUE(page->WaitFor("event: clear\n"));
  for (int i = 0; i < 20; ++i) {
    httplib::Result css = Get("/site.css");
    ASSERT_TRUE(css);
    EXPECT_EQ(css->status, 200);
  }
  Save("a.par", "[@TITLE]:\r\nPage A, edited\r\n[@]\r\n");
  ASSERT_TRUE(RunAfterSave());
  for (auto& page : pages) EXPECT_TRUE(page->WaitFor("event: reload\ndata: /a.html\n\n"));
  server.Stop();
  pages.clear();
  events.reset();

  PreviewOptions options;
  options.port = 0;
  options.most_event_streams = 2;
  ASSERT_EQ(server.Start(options), "");
  for (int i = 0; i < 2; ++i) pages.push_back(std::make_unique<EventListener>(server.port()));
  for (auto& page : pages) ASSERT_TRUE(page->WaitFor("event: clear\n"));
  httplib::Result refused = Get(std::string(kPreviewEventsPath));
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 503);
  httplib::Result home = Get("/");
  ASSERT_TRUE(home);
  EXPECT_EQ(home->status, 200);
  server.Stop();
}

// A page larger than the blocks it is read in is sent whole, the script before its last
// "</body>".
TEST_F(PreviewServerTest, SendsLargePagesWhole) {
  std::string filler;
  for (int i = 0; filler.size() < 300000; ++i) filler += std::to_string(i) + " ";
  const std::string head = "<html><body>" + filler;
  const std::string tail = "</body></html>" + filler;
  fs().WriteFile(folder / "out/large.html", head + tail);
  httplib::Result page = Get("/large.html");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  const std::string& body = page->body;
  std::size_t script_end = body.find("</script>", head.size());
  ASSERT_NE(script_end, std::string::npos);
  EXPECT_TRUE(body.compare(0, head.size(), head) == 0);
  EXPECT_EQ(body.compare(head.size(), 8, "<script>"), 0);
  EXPECT_TRUE(body.compare(script_end + 9, std::string::npos, tail) == 0);
  EXPECT_EQ(page->get_header_value("Content-Length"), std::to_string(body.size()));
}

TEST(ServedFileTest, ServesOnlyRegularFilesInsideTheRoot) {
  TestFolder folder;
  FileSystem fs;
  fs.CreateFolderPath(folder / "root/docs/");
  fs.CreateFolderPath(folder / "root/empty/");
  fs.WriteFile(folder / "root/index.html", "home");
  fs.WriteFile(folder / "root/docs/index.htm", "docs");
  fs.WriteFile(folder / "root/docs/a b.html", "a b");
  fs.WriteFile(folder / "secret.txt", "secret");
  ASSERT_EQ(::symlink("../secret.txt", (folder / "root/out.txt").c_str()), 0);
  ASSERT_EQ(::symlink(folder.path().c_str(), (folder / "root/up").c_str()), 0);
  ASSERT_EQ(::symlink("docs/a b.html", (folder / "root/in.html").c_str()), 0);
  ASSERT_EQ(::mkfifo((folder / "root/pipe").c_str(), 0600), 0);
  const std::string root = folder / "root";
  const struct {
    std::string request;
    int status;
    std::string file;  // below the folder, for 200; the new location, for 301
  } kCases[] = {
      {"/", 200, "root/index.html"},
      {"/docs/", 200, "root/docs/index.htm"},
      {"/docs/a b.html", 200, "root/docs/a b.html"},
      {"/in.html", 200, "root/docs/a b.html"},  // a link that stays inside
      {"/docs", 301, "/docs/"},
      {"/empty/", 403, ""},  // no listings
      {"/../secret.txt", 403, ""},
      {"/docs/../../secret.txt", 403, ""},
      {"/docs/..", 403, ""},
      {"/..\\secret.txt", 403, ""},
      {"/out.txt", 403, ""},
      {"/up/secret.txt", 403, ""},
      {"/pipe", 403, ""},
      {"/missing.html", 404, ""},
      {"index.html", 400, ""},
  };
  for (const auto& c : kCases) {
    ServedFile served = FindServedFile(root, c.request);
    EXPECT_EQ(served.status, c.status) << c.request;
    if (c.status == 200) {
      EXPECT_EQ(fs.ReadFile(served.path), fs.ReadFile(folder / c.file)) << c.request;
    }
    if (c.status == 301) {
      EXPECT_EQ(served.location, c.file);
    }
  }
  EXPECT_EQ(FindServedFile(folder / "no-such-root", "/").status, 404);
}

TEST(ServedFileTest, EncodesUrlPathsAndNamesContentTypes) {
  EXPECT_EQ(EncodedUrlPath("/a b/%é.html"), "/a%20b/%25%C3%A9.html");
  EXPECT_EQ(ContentTypeOf("/x/Page.HTM"), "text/html");
  EXPECT_EQ(ContentTypeOf("/x.y/logo.gif"), "image/gif");
  EXPECT_EQ(ContentTypeOf("/x.y/README"), "application/octet-stream");
}

}  // namespace
}  // namespace pentrak
