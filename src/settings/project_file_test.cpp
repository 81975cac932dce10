#include "settings/project_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/error.h"
#include "platform/file_system.h"
#include "settings/project_settings.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// A new project as the project file holds it, key by key in file order.
constexpr char kNewProjectFile[] =
    "ini-file-version=5\r\nname=New Project\r\ndocument-root=\r\ncontent-root=\r\n"
    "default-content-root=\r\ndefinition-file=project.txt\r\nmacro-start-tag=[@\r\n"
    "macro-end-tag=]\r\nparameter-start-tag=(@\r\nparameter-end-tag=)\r\nwildcard-tag=*\r\n"
    "parent-reference-tag=^\r\nparent-reference-tag-is-by-file=0\r\n"
    "single-quote-escape-tag=\\\r\nnon-blank-delete-tag=!\r\nconcatenate-tag=&\r\n"
    "conditional-start-tag={\r\nconditional-else-tag=}{\r\nconditional-end-tag=}\r\n"
    "required-tag=$\r\nline-continuation=\\\\\r\ndelete-line=1\r\n"
    "delete-line-exceptions=ROOT_DIR\r\noptimization-status=0\r\noptimization-level=1\r\n"
    "optimize-exclude-list=\r\nmax-nested-macros=50\r\nreserved-date-macro=DATE\r\n"
    "max-folders=25\r\nmax-globals=5\r\nmax-docs=50\r\nmax-folder-globals=5\r\n"
    "max-content-files=5\r\nmax-global-macros=100\r\nmax-folder-global-macros=50\r\n"
    "max-content-file-macros=50\r\nmax-project-macros=5\r\nmax-parameters=5\r\n"
    "temporary-files-path=\r\nreserved-project-name-macro=PENTRAK_PROJECT_NAME\r\n"
    "reserved-folder-name-macro=PENTRAK_FOLDER_NAME\r\n"
    "reserved-document-name-macro=PENTRAK_DOCUMENT_NAME\r\nproject-macro-file=\r\n"
    "display-project-macro-file=1\r\nglobal-content-files=\r\ncustom-project-path=\r\n"
    "custom-project-path-with-drive=0\r\ntrim-parameter-values=0\r\n"
    "generated-files-log-file=\r\n";

TEST(ProjectFileTest, NewProjectIsWrittenInFileOrder) {
  TestFolder folder;
  FileSystem fs;
  ProjectSettings project;
  project.project_file_path = folder / "new.web";
  SetNewProjectDefaults(project);
  EXPECT_EQ(project.project_file_path, folder / "new.web");
  WriteProjectFile(fs, project);
  EXPECT_EQ(fs.ReadFile(folder / "new.web"), kNewProjectFile);
}

TEST(ProjectFileTest, EveryKeyRoundTripsWithoutItsOuterBlanks) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "site.web";
  // Every key in file order with a value unlike its default, between a stale version and an
  // unknown line; a write keeps neither and drops the blanks around a value.
  const std::string keys =
      "document-root=/out/\r\ncontent-root=/src/\r\ndefault-content-root=/lib/\r\n"
      "definition-file=site.txt\r\nmacro-start-tag=<%\r\nmacro-end-tag=%>\r\n"
      "parameter-start-tag=<#\r\nparameter-end-tag=#>\r\nwildcard-tag=~\r\n"
      "parent-reference-tag=^^\r\nparent-reference-tag-is-by-file=1\r\n"
      "single-quote-escape-tag=/\r\nnon-blank-delete-tag=!!\r\nconcatenate-tag=++\r\n"
      "conditional-start-tag=<if>\r\nconditional-else-tag=<else>\r\n"
      "conditional-end-tag=<end>\r\nrequired-tag=$$\r\nline-continuation=__\r\n"
      "delete-line=0\r\ndelete-line-exceptions=ROOT_DIR,HOME=1\r\noptimization-status=2\r\n"
      "optimization-level=2\r\noptimize-exclude-list=.css, .js\r\nmax-nested-macros=7\r\n"
      "reserved-date-macro=TODAY\r\nmax-folders=11\r\nmax-globals=12\r\nmax-docs=13\r\n"
      "max-folder-globals=14\r\nmax-content-files=15\r\nmax-global-macros=16\r\n"
      "max-folder-global-macros=17\r\nmax-content-file-macros=18\r\n"
      "max-project-macros=19\r\nmax-parameters=-20\r\ntemporary-files-path=/tmp/w/\r\n"
      "reserved-project-name-macro=P\r\nreserved-folder-name-macro=F\r\n"
      "reserved-document-name-macro=D\r\nproject-macro-file=top.par\r\n"
      "display-project-macro-file=0\r\nglobal-content-files=a.par,b.par\r\n"
      "custom-project-path=/web\r\ncustom-project-path-with-drive=1\r\n"
      "trim-parameter-values=1\r\ngenerated-files-log-file=/lists/\r\n";
  fs.WriteFile(path, "ini-file-version=4\r\nname=Site  \r\n" + keys + "comment=mine\r\n");
  ProjectSettings read;
  ReadProjectSettings(fs, path, read);
  EXPECT_EQ(read.name, "Site  ");
  EXPECT_EQ(read.tags.macro_start, "<%");
  EXPECT_EQ(read.tags.parent_reference, "^^");
  EXPECT_EQ(read.tags.non_blank_delete, "!!");
  EXPECT_EQ(read.parent_reference_is_by_file, 1);
  EXPECT_EQ(read.optimize_exclude_list, ".css, .js");
  EXPECT_EQ(read.max_content_file_macros, 18);
  EXPECT_EQ(read.max_parameters, -20);
  EXPECT_EQ(read.reserved_folder_name_macro, "F");
  EXPECT_EQ(read.macro_end_line, "<%%>");

  WriteProjectFile(fs, read);
  EXPECT_EQ(fs.ReadFile(path), "ini-file-version=5\r\nname=Site\r\n" + keys);
  ProjectSettings again;
  ReadProjectSettings(fs, path, again);
  read.name = "Site";
  EXPECT_TRUE(again == read);
}

TEST(ProjectFileTest, PublishingKeysFollowTheOthersOnlyWhenSetAndSurviveARewrite) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "site.web";
  const std::string publish =
      "publish-method=2\r\npublish-folder=\r\npublish-host=example.org\r\n"
      "publish-port=2222\r\npublish-user=web\r\npublish-remote-folder=/srv/www\r\n"
      "publish-key-file=/home/me/.ssh/site\r\n";
  // Anywhere in the file, as a person may have put them.
  fs.WriteFile(path, publish + "name=Site\r\n");
  ProjectSettings read;
  ReadProjectSettings(fs, path, read);
  EXPECT_EQ(read.publish, (PublishSettings{kPublishBySftp, "", "example.org", "2222", "web",
                                           "/srv/www", "/home/me/.ssh/site"}));
  WriteProjectFile(fs, read);
  const std::string written = fs.ReadFile(path);
  // The first form of the file, then the publishing keys.
  EXPECT_TRUE(written.ends_with("\r\ngenerated-files-log-file=\r\n" + publish)) << written;
  ProjectSettings again;
  ReadProjectSettings(fs, path, again);
  EXPECT_TRUE(again == read);

  // Set back to nowhere with every field empty, the file takes its first form again.
  again.publish = PublishSettings{};
  WriteProjectFile(fs, again);
  EXPECT_TRUE(fs.ReadFile(path).ends_with("\r\ngenerated-files-log-file=\r\n"));
  // A bad number stops the read as any other key does.
  fs.WriteFile(path, "name=Site\r\npublish-method=sftp\r\n");
  EXPECT_EQ(ThrownDescription([&] {
              ReadProjectSettings(fs, path, again);
            }).find("Error reading Project Data file "),
            0u);
}

TEST(ProjectFileTest, MissingKeysAndAnEmptyPathTakeTheMissingColumn) {
  TestFolder folder;
  FileSystem fs;
  fs.WriteFile(folder / "only-name.web", "name=Site\r\n");
  fs.WriteFile(folder / "empty.web", "");

  ProjectSettings only_name;
  ReadProjectSettings(fs, folder / "only-name.web", only_name);
  ProjectSettings empty_file;
  ReadProjectSettings(fs, folder / "empty.web", empty_file);
  ProjectSettings empty_path;
  empty_path.name = "old";
  ReadProjectSettings(fs, "", empty_path);

  EXPECT_EQ(only_name.name, "Site");
  EXPECT_EQ(only_name.definition_file, "");
  EXPECT_EQ(empty_file.name, "Project");
  EXPECT_EQ(empty_path.name, "Project");
  EXPECT_EQ(empty_path.project_file_path, "");
  EXPECT_EQ(empty_path.macro_end_line, "[@]");
  EXPECT_EQ(empty_file.tags.line_continuation, "\\\\");
  EXPECT_EQ(empty_file.max_global_macros, 100);

  // A new project differs from an empty file's record in the name and the definition file only.
  ProjectSettings fresh = empty_file;
  SetNewProjectDefaults(fresh);
  EXPECT_EQ(fresh.name, "New Project");
  EXPECT_EQ(fresh.definition_file, "project.txt");
  fresh.name = "Project";
  fresh.definition_file = "";
  EXPECT_TRUE(fresh == empty_file);
}

TEST(ProjectFileTest, BadIntegerStopsTheReadWhereItStandsAndAFailedWriteKeepsTheFile) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "bad.web";
  fs.WriteFile(path,
               "name=Site\r\ndocument-root=/out/\r\nmacro-start-tag=<%\r\nmax-folders=7\r\n"
               "max-docs=abc\r\nmax-parameters=9\r\ntemporary-files-path=/t/\r\n");
  ProjectSettings project;
  project.name = "Old";
  project.max_globals = 1;
  project.max_docs = 2;
  project.max_parameters = 3;
  project.temporary_files_path = "/old/";
  project.macro_end_line = "old";
  EXPECT_EQ(ThrownDescription([&] { ReadProjectSettings(fs, path, project); }),
            "Error reading Project Data file " + path + ". Invalid integer value for max-docs.");
  EXPECT_EQ(project.project_file_path, path);
  EXPECT_EQ(project.name, "Site");
  EXPECT_EQ(project.document_root, "/out/");
  EXPECT_EQ(project.tags.macro_start, "<%");
  EXPECT_EQ(project.max_folders, 7);
  EXPECT_EQ(project.max_globals, 5);  // before max-docs: missing, so its default
  EXPECT_EQ(project.max_docs, 2);
  EXPECT_EQ(project.max_parameters, 3);
  EXPECT_EQ(project.temporary_files_path, "/old/");
  EXPECT_EQ(project.macro_end_line, "old");

  // delete-line is read between conditional-end-tag and required-tag.
  fs.WriteFile(path,
               "conditional-end-tag=<end>\r\nrequired-tag=$$\r\nline-continuation=__\r\n"
               "delete-line=yes\r\n");
  project.tags.required = "old";
  project.tags.line_continuation = "old";
  EXPECT_THROW(ReadProjectSettings(fs, path, project), Error);
  EXPECT_EQ(project.tags.conditional_end, "<end>");
  EXPECT_EQ(project.tags.required, "old");
  EXPECT_EQ(project.tags.line_continuation, "old");

  // A failed write names the file and keeps the old one.
  fs.WriteFile(path, "name=Before\r\n");
  fs.SetFaultHook([](FileOp op, const std::string&) { return op == FileOp::kWrite ? ENOSPC : 0; });
  EXPECT_EQ(ThrownDescription([&] { WriteProjectFile(fs, project); }),
            "Error writing to Project Data file " + path + ". No space left on device.");
  fs.SetFaultHook(nullptr);
  EXPECT_EQ(fs.ReadFile(path), "name=Before\r\n");
}

}  // namespace
}  // namespace pentrak
