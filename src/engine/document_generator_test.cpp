#include "engine/document_generator.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/content_file.h"
#include "engine/expansion.h"
#include "platform/error.h"
#include "testing/test_context.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// One document, site/index.html from src/page.tpl with the content file src/page.par.
class DocumentGeneratorTest : public ::testing::Test {
 protected:
  DocumentGeneratorTest() {
    const int folder = f.AddFolder("Main");
    f.AddDocument(folder, f.Path("site/index.html"), f.Path("src/page.tpl"),
                  {f.Path("src/page.par")});
    f.definition.folders[0].documents[0].optimization_flag = -1;
  }

  // Loads the content file as the run would and generates the document.
  short Generate(bool modified_only = false) {
    f.WriteText("src/page.par", macros_);
    LogContext log = f.log;
    ClearSwitches document_tables;
    document_tables.content_files = true;
    ClearMacroTables(f.macros, document_tables);
    LoadContentFile(ContentLoadContext{f.project, f.fs, log, f.macros}, kContentFileScope,
                    f.Path("src/page.par"), 0, true, true);
    f.macros.content_files_loaded = 1;
    ExpansionContext expansion{f.project, f.definition, f.macros, f.clock};
    DocumentGeneratorContext context{expansion, f.fs, log, modified_only};
    context.max_pass_output = max_pass_output_;
    context.max_work_files = max_work_files_;
    return GenerateDocument(context, 0, 0);
  }

  std::string DocumentText() const { return f.ReadText("site/index.html"); }
  std::string WorkFile(int pass) const {
    return f.fs.ReadFile(f.Path("temp/pentrak.") + std::to_string(pass));
  }
  bool WorkFileExists(int pass) const { return f.Exists("temp/pentrak." + std::to_string(pass)); }
  std::string Log() const { return f.ReadText("temp/pentrak.txt"); }

  // Sets bytes, when the generator first removes a file, to the size of the pass files then on
  // the disk.
  void MeasurePassFilesAtRemoval(std::uintmax_t& bytes) {
    f.fs.SetFaultHook([this, &bytes](FileOp op, const std::string&) {
      if (op == FileOp::kRemove && bytes == 0) {
        for (int pass = 1; WorkFileExists(pass); ++pass) {
          bytes += std::filesystem::file_size(f.Path("temp/pentrak.") + std::to_string(pass));
        }
      }
      return 0;
    });
  }

  TestContext f;
  std::size_t max_pass_output_ = kDefaultMaxPassOutput;
  std::size_t max_work_files_ = kDefaultMaxWorkFiles;
  std::string macros_ =
      "[@NAME]:\r\n[@FIRST] Smith\r\n[@]\r\n"
      "[@FIRST]:\r\nAnn\r\n[@]\r\n"
      "[@FLAG]:\r\non\r\n[@]\r\n"
      "[@TWICE]:\r\n[@TWICE]\r\n[@TWICE]\r\n[@]\r\n";
};

const char kIndent[] = "          ";

TEST_F(DocumentGeneratorTest, WorkedExampleAtEachLevelAndPassLimit) {
  struct Case {
    short status;  // optimization-status; level 1 or 2 comes from optimization-level
    short level;
    short max_nested;
    const char* document;  // nullptr: fails with 10006
    const char* log;
  };
  const Case cases[] = {
      {0, 1, 50, "Hello Ann Smith\r\n", ">Generated\r\n"},
      {1, 1, 50, "Hello Ann Smith\r\n", ">Generated\r\n          >Optimization Level:1\r\n"},
      {1, 2, 50, "Hello Ann Smith ", ">Generated\r\n          >Optimization Level:2\r\n"},
      {0, 1, 2, "Hello Ann Smith\r\n", ">Generated\r\n"},
      {1, 1, 2, nullptr, ""},
  };
  for (const Case& c : cases) {
    f.project.optimization_status = c.status;
    f.project.optimization_level = c.level;
    f.project.max_nested_macros = c.max_nested;
    f.WriteText("src/page.tpl", "Hello [@NAME]\r\n");
    f.fs.WriteFile(f.work_files.log_file, "");
    f.fs.WriteFile(f.Path("site/index.html"), "old\r\n");
    SCOPED_TRACE(testing::Message() << "status " << c.status << " max " << c.max_nested);
    if (c.document == nullptr) {
      try {
        Generate();
        ADD_FAILURE() << "no error";
      } catch (const Error& error) {
        EXPECT_EQ(error.number(), 10006);
        EXPECT_EQ(error.description(),
                  "Maximum number of nested Macros was exceeded. Please update the Project "
                  "Properties.");
      }
      EXPECT_EQ(DocumentText(), "old\r\n");
      continue;
    }
    EXPECT_EQ(Generate(), kDocumentGenerated);
    EXPECT_EQ(DocumentText(), c.document);
    EXPECT_EQ(WorkFile(1), "Hello [@FIRST] Smith\r\n");
    EXPECT_EQ(WorkFile(2), "Hello Ann Smith\r\n");
    EXPECT_EQ(WorkFile(3), "Hello Ann Smith\r\n");
    EXPECT_EQ(Log(), std::string(kIndent) + c.log);
  }
}

TEST_F(DocumentGeneratorTest, TemplateWithoutTagsIsCopiedLineForLine) {
  // LF or CR LF in, CR LF out; empty lines stay; continued lines are joined.
  f.WriteText("src/page.tpl", "<html>\n\n  <p>one \\\\\r\ntwo</p>\r\n\r\n\t\r\n</html>");
  // A work file of a longer earlier document is neither read nor replaced.
  f.WriteText("temp/pentrak.5", "earlier");
  EXPECT_EQ(Generate(), kDocumentGenerated);
  const std::string expected = "<html>\r\n\r\n  <p>one two</p>\r\n\r\n\t\r\n</html>\r\n";
  EXPECT_EQ(DocumentText(), expected);
  EXPECT_EQ(WorkFile(1), expected);
  EXPECT_EQ(WorkFile(2), expected);
  EXPECT_FALSE(WorkFileExists(3));
  EXPECT_EQ(WorkFile(5), "earlier");
}

TEST_F(DocumentGeneratorTest, ExpansionDropsLinesAndHonoursConditionalBlocks) {
  // FLAG has a value, NOFLAG has none; UNDEFINED lines go with delete-line on; the empty line
  // outside blocks is written.
  f.WriteText("src/page.tpl",
              "top\r\n"
              "[@{NOFLAG]\r\n"
              "hidden\r\n"
              "\r\n"
              "hidden [@NAME]\r\n"
              "[@}]\r\n"
              "\r\n"
              "x [@UNDEFINED] y\r\n"
              "[@{FLAG]\r\n"
              "shown [@FIRST]\r\n"
              "[@}{]\r\n"
              "not shown\r\n"
              "[@}]\r\n"
              "end");
  EXPECT_EQ(Generate(), kDocumentGenerated);
  EXPECT_EQ(DocumentText(), "top\r\n\r\nshown Ann\r\nend\r\n");
}

TEST_F(DocumentGeneratorTest, ADoublingMacroEndsAtTheSizeBoundAndLeavesNoPassFiles) {
  f.project.max_nested_macros = 100;
  max_pass_output_ = std::size_t{1} << 20;
  f.WriteText("site/index.html", "old\r\n");
  // Pass n writes 2^n lines of 10 bytes: pass 17 (1,310,720 bytes) crosses 1 MiB.
  f.WriteText("src/page.tpl", "[@TWICE]\r\n");
  // The pass files on disk when the first is removed: passes 1 to 16, never pass 17.
  std::uintmax_t pass_files_bytes = 0;
  MeasurePassFilesAtRemoval(pass_files_bytes);
  EXPECT_EQ(ThrownDescription([&] { Generate(); }),
            "The document grew beyond 1 MiB in pass 17 while expanding [@TWICE]. A macro may "
            "contain its own tag.");
  f.fs.SetFaultHook(nullptr);
  // 10 * (2^1 + ... + 2^16): under twice the bound.
  EXPECT_EQ(pass_files_bytes, 10u * ((1u << 17) - 2));
  for (int pass = 1; pass <= 17; ++pass) EXPECT_FALSE(WorkFileExists(pass)) << pass;
  EXPECT_EQ(DocumentText(), "old\r\n");

  // A line without tags that crosses the bound names no macro.
  max_pass_output_ = 4;
  f.WriteText("src/page.tpl", "[@FLAG]\r\nplain text\r\n");
  EXPECT_EQ(ThrownDescription([&] { Generate(); }),
            "The document grew beyond 4 bytes in pass 1. A macro may contain its own tag.");
}

// A macro whose value holds its own tag once and 16 KiB of text grows the document by the same
// amount every pass, on many lines or on one: no pass comes near the bound of one pass, but the
// work files of all passes together reach the document's bound however high the nesting limit.
TEST_F(DocumentGeneratorTest, ALinearlyGrowingMacroEndsAtTheWorkFilesBoundAndLeavesNone) {
  f.project.max_nested_macros = 32767;
  max_work_files_ = std::size_t{1} << 20;
  const std::string line(62, 'x');
  std::string lines;
  for (int i = 0; i < 256; ++i) lines += "\r\n" + line;
  const std::string values[] = {"[@GROW]" + lines, "[@GROW]" + std::string(16384, 'y')};
  const std::string document = f.Path("site/index.html");
  for (const std::string& value : values) {
    SCOPED_TRACE(value.substr(0, 12));
    f.fs.WriteFile(document, "old\r\n");
    f.WriteText("src/page.tpl", "[@GROW]\r\n");
    macros_ = "[@GROW]:\r\n" + value + "\r\n[@]\r\n";
    // Pass n writes 9 + 16384 n bytes: passes 1 to 10 write 901,210 bytes, and pass 11 would
    // take all of them past 1 MiB.
    std::uintmax_t pass_files_bytes = 0;
    MeasurePassFilesAtRemoval(pass_files_bytes);
    EXPECT_EQ(ThrownDescription([&] { Generate(); }),
              "The work files of the document " + document +
                  " grew beyond 1 MiB in pass 11 while expanding [@GROW]. A macro may contain its "
                  "own tag.");
    f.fs.SetFaultHook(nullptr);
    EXPECT_EQ(pass_files_bytes, 901210u);
    for (int pass = 1; pass <= 11; ++pass) EXPECT_FALSE(WorkFileExists(pass)) << pass;
    EXPECT_EQ(DocumentText(), "old\r\n");
  }

  // A pass that cannot write its work file (a full disk) removes what the document wrote.
  f.fs.SetFaultHook([&](FileOp op, const std::string& path) {
    return op == FileOp::kWrite && path == f.Path("temp/pentrak.3") ? ENOSPC : 0;
  });
  EXPECT_EQ(ThrownDescription([&] { Generate(); }),
            "No space left on device (" + f.Path("temp/pentrak.3") + ")");
  f.fs.SetFaultHook(nullptr);
  for (int pass = 1; pass <= 3; ++pass) EXPECT_FALSE(WorkFileExists(pass)) << pass;
}

TEST_F(DocumentGeneratorTest, ModifiedOnlyLeavesAnIdenticalDocumentUntouched) {
  f.WriteText("src/page.tpl", "Hello [@NAME]\r\n");
  const std::string generated = std::string(kIndent) + ">Generated\r\n";
  const std::string unable = std::string(kIndent) + ">Unable to compare files\r\n";
  const std::string up_to_date = std::string(kIndent) + ">Document up-to-date\r\n";

  // No document yet: the comparison fails, and the document is written.
  EXPECT_EQ(Generate(true), kDocumentGenerated);
  EXPECT_EQ(DocumentText(), "Hello Ann Smith\r\n");
  EXPECT_EQ(Log(), unable + generated);

  // Same lines (trailing empty lines do not count): nothing is written, not even the time.
  f.fs.WriteFile(f.Path("site/index.html"), "Hello Ann Smith\r\n\r\n\r\n");
  f.fs.SetLastModified(f.Path("site/index.html"), 1000000000);
  f.fs.WriteFile(f.work_files.log_file, "");
  EXPECT_EQ(Generate(true), kDocumentUnchanged);
  EXPECT_EQ(DocumentText(), "Hello Ann Smith\r\n\r\n\r\n");
  EXPECT_EQ(f.fs.LastModified(f.Path("site/index.html")), 1000000000);
  EXPECT_EQ(Log(), up_to_date);

  // The same at level 1, where the optimization pass writes a work file first.
  f.project.optimization_status = 1;
  f.fs.WriteFile(f.work_files.log_file, "");
  EXPECT_EQ(Generate(true), kDocumentUnchanged);
  EXPECT_EQ(WorkFile(4), "Hello Ann Smith\r\n");
  EXPECT_EQ(f.fs.LastModified(f.Path("site/index.html")), 1000000000);

  // A changed value replaces the document.
  macros_ = "[@NAME]:\r\nBob\r\n[@]\r\n";
  f.fs.WriteFile(f.work_files.log_file, "");
  EXPECT_EQ(Generate(true), kDocumentGenerated);
  EXPECT_EQ(DocumentText(), "Hello Bob\r\n");
  EXPECT_EQ(Log(), generated + std::string(kIndent) + ">Optimization Level:1\r\n");
}

TEST_F(DocumentGeneratorTest, WarningsGiveOutcomeTwoUnlessTheDocumentIsUnchanged) {
  f.WriteText("src/page.tpl", "a [@$MISSING] b\r\nc\r\n");
  EXPECT_EQ(Generate(), kDocumentGeneratedWithWarnings);
  EXPECT_EQ(DocumentText(), "c\r\n");  // the log's lines are the generation run test's
  EXPECT_EQ(Generate(true), kDocumentUnchanged);
}

TEST_F(DocumentGeneratorTest, MissingTemplateNamesItsPath) {
  try {
    Generate();
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), ENOENT);
    const std::string suffix = " (" + f.Path("src/page.tpl") + ")";
    EXPECT_GT(error.description().size(), suffix.size());
    EXPECT_EQ(error.description().substr(error.description().size() - suffix.size()), suffix);
  }
}

TEST(FilesIdenticalTest, ComparesLinesAndLogsUnreadableFiles) {
  TestContext f;
  struct Case {
    const char* a;
    const char* b;
    bool identical;
  };
  const Case cases[] = {
      {"x\r\ny\r\n", "x\r\ny\r\n", true},
      {"x\r\ny", "x\ny\n", true},
      {"x\r\n", "x\r\n\r\n\r\n", true},
      {"x\r\n\r\n", "x", true},
      {"x\r\ny\r\n", "x\r\nz\r\n", false},
      {"x\r\n\r\ny\r\n", "x\r\ny\r\n", false},
      {"", "\r\n", true},
      {"", "x", false},
  };
  for (const Case& c : cases) {
    f.WriteText("a.txt", c.a);
    f.WriteText("b.txt", c.b);
    EXPECT_EQ(FilesIdentical(f.fs, f.log, f.Path("a.txt"), f.Path("b.txt")), c.identical)
        << c.a << " / " << c.b;
  }
  EXPECT_EQ(f.ReadText("temp/pentrak.txt"), "");
  EXPECT_FALSE(FilesIdentical(f.fs, f.log, f.Path("a.txt"), f.Path("none.txt")));
  EXPECT_EQ(f.ReadText("temp/pentrak.txt"), std::string(kIndent) + ">Unable to compare files\r\n");
}

}  // namespace
}  // namespace pentrak
