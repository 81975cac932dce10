#include "preview/preview_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
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

// Listens on the preview's event stream as a page does and keeps everything it receives.
class EventListener {
 public:
  explicit EventListener(int port)
      : thread_([this, port] {
          httplib::Client client("127.0.0.1", port);
          client.Get(std::string(kPreviewEventsPath), [this](const char* data, std::size_t size) {
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

  // Everything received after the mark.
  std::string Unread() {
    std::lock_guard lock(mutex_);
    return received_.substr(mark_);
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::string received_;
  std::size_t mark_ = 0;
  std::thread thread_;
};

// A project of three pages made from one template, each with its own content file, served on
// a port of the system's choosing.
class PreviewServerTest : public WorkbenchFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    std::string project =
        Project("site.web", {"name=Site", "document-root=" + folder / "out/",
                             "content-root=" + folder / "src/", "definition-file=project.txt"});
    fs().CreateFolderPath(folder / "src/");
    Source("project.txt", kDefinition);
    Source("page.tpl", "<html>\r\n<body><h1>[@TITLE]</h1></body>\r\n</html>\r\n");
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

  // Saves a source as editors do: a new file renamed over the old one. It is dated a few
  // seconds ahead, so that it counts as newer than a page generated in the same second.
  void Save(const std::string& name, const std::string& text) {
    std::string fresh = folder / "src/.saving";
    fs().WriteFile(fresh, text);
    fs().SetLastModified(fresh, std::time(nullptr) + 5);
    fs().RenameFile(fresh, folder / ("src/" + name));
  }

  // Steps the preview until a run has taken place; false when none did within a few seconds.
  bool RunAfterSave() {
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < give_up) {
      if (server.Step(std::chrono::milliseconds(50))) return true;
    }
    return false;
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
      "[Main]\r\nindex.html,page.tpl,index.par\r\na.html,page.tpl,a.par\r\n"
      "b.html,page.tpl,b.par\r\n";

  std::unique_ptr<EventListener> events;  // outlives the server, whose end closes its stream
  PreviewServer server{workbench};
};

TEST_F(PreviewServerTest, ServesPagesWithTheReloadScriptAndOtherFilesAsTheyAre) {
  std::string page = fs().ReadFile(folder / "out/index.html");
  ASSERT_EQ(page, "<html>\r\n<body><h1>Home</h1></body>\r\n</html>\r\n");
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

TEST_F(PreviewServerTest, ContentFileSaveRegeneratesOnlyItsPageAndReloadsIt) {
  Save("a.par", "[@TITLE]:\r\nPage A, edited\r\n[@]\r\n");
  ASSERT_TRUE(RunAfterSave());
  EXPECT_EQ(Processed(), std::vector<std::string>{folder / "out/a.html"});
  EXPECT_EQ(fs().ReadFile(folder / "out/a.html"),
            "<html>\r\n<body><h1>Page A, edited</h1></body>\r\n</html>\r\n");
  std::string log = fs().ReadFile(workbench.work_files.log_file);
  EXPECT_NE(log.find("0000:0001 " + folder / "out/a.html" +
                     "\r\n          >Source files "
                     "out-of-date\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("0000:0002 " + folder / "out/b.html" +
                     "\r\n          >Source files "
                     "up-to-date\r\n"),
            std::string::npos)
      << log;
  EXPECT_TRUE(events->WaitFor("event: clear\ndata: -\n\nevent: reload\ndata: /a.html\n\n"));
}

TEST_F(PreviewServerTest, DefinitionFileSaveRegeneratesTheWholeProject) {
  Save("project.txt", std::string(kDefinition) + "c.html,page.tpl,b.par\r\n");
  ASSERT_TRUE(RunAfterSave());
  EXPECT_EQ(Processed(), (std::vector<std::string>{folder / "out/index.html", folder / "out/a.html",
                                                   folder / "out/b.html", folder / "out/c.html"}));
  EXPECT_TRUE(
      events->WaitFor("event: reload\ndata: /index.html\ndata: /a.html\ndata: "
                      "/b.html\ndata: /c.html\n\n"));
  // The new page's content file is watched from now on.
  ui.status_lines.clear();
  Save("b.par", "[@TITLE]:\r\nB again\r\n[@]\r\n");
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
  EXPECT_TRUE(events->WaitFor("event: problems\ndata: Generated 0 of 2 documents"));
  EXPECT_TRUE(events->WaitFor("data: Missing source file: " + folder / "src/a.par" + "\n"));
  httplib::Result home = Get("/");
  ASSERT_TRUE(home);
  EXPECT_EQ(home->status, 200);

  Save("a.par", "[@TITLE]:\r\nPage A is back\r\n[@]\r\n");
  ASSERT_TRUE(RunAfterSave());
  EXPECT_EQ(Processed(), std::vector<std::string>{folder / "out/a.html"});
  EXPECT_TRUE(events->WaitFor("event: clear\ndata: -\n\nevent: reload\ndata: /a.html\n\n"));
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
  EXPECT_TRUE(page->body == head + std::string(ReloadScript()) + tail);
  EXPECT_EQ(page->get_header_value("Content-Length"),
            std::to_string(head.size() + ReloadScript().size() + tail.size()));
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
