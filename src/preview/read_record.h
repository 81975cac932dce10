#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "generation/generation_run.h"
#include "platform/file_fingerprint.h"
#include "project/project_structure.h"

namespace pentrak {

class FileSystem;
struct ProjectSettings;

// What each document read when the preview last generated it, and what each of those files held
// when the preview last looked at it. As a run's picker it picks exactly the documents that
// read a file that changed since, those not generated yet (new in the definition, or failed
// last time) and those whose entry in the definition changed; a file saved with the same bytes
// changes nothing.
class ReadRecord : public DocumentPicker {
 public:
  ReadRecord(const FileSystem& fs, const ProjectSettings& project);

  // Looks again at a file that may have changed; true when what it holds changed. A file not
  // looked at before is looked at now, and that counts as a change.
  bool LookAgain(const std::string& path);
  bool Knows(const std::string& path) const { return ids_.count(path) > 0; }

  // The next run reads the definition anew, with this project macro file (resolved, "" for
  // none): its documents are matched to the record by their paths, since they may have moved.
  void ReadingDefinition(std::string project_macro_file);
  // Forgets what every document read, so that the next run generates them all.
  void ForgetDocuments();

  // Every file a document of the last definition reads, each once.
  std::vector<std::string> FilesRead() const;
  // How many runs have chosen (each one reads or reuses a complete definition first).
  std::uint64_t choices() const { return choices_; }

  std::vector<std::vector<bool>> Choose(const ProjectDefinition& definition) override;
  void Generated(int folder_index, int document_index) override;

 private:
  // One file some document reads.
  struct Source {
    std::string path;
    FileFingerprint fingerprint;
    std::uint64_t version = 0;  // moves on every change of what it holds
  };
  // One file a document read, and the version of it the document was generated from.
  struct Read {
    int source = 0;
    SourceKind kind = SourceKind::kDocument;
    std::uint64_t version = 0;
  };
  struct DocumentRecord {
    std::string path;
    // The rest of the document's entry that its text depends on: the folder-name and
    // document-name macros and its optimization.
    std::string folder_name;
    std::string written_path;
    short optimization_flag = -1;
    bool generates = false;  // it has a template
    bool generated = false;  // reads hold the versions it was last generated from
    std::vector<Read> reads;

    // The same entry reading the same files in the same parts of the definition.
    bool SameEntry(const DocumentRecord& other) const;
  };
  struct PathHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view path) const {
      return std::hash<std::string_view>{}(path);
    }
  };

  int SourceId(std::string_view path);
  bool Matches(const ProjectDefinition& definition) const;
  void Remap(const ProjectDefinition& definition);
  std::vector<std::pair<int, int>> Candidates() const;
  DocumentRecord Describe(const ProjectDefinition& definition, int folder_index,
                          int document_index);
  bool OutOfDate(const DocumentRecord& record) const;

  const FileSystem& fs_;
  const ProjectSettings& project_;
  std::vector<Source> sources_;
  std::unordered_map<std::string, int, PathHash, std::equal_to<>> ids_;
  std::vector<std::vector<DocumentRecord>> documents_;  // by folder and document slot
  // For each source, the documents (folder, slot) that read it.
  std::vector<std::vector<std::pair<int, int>>> readers_;
  // What a choice need look at, not the whole record: the sources changed since the last one,
  // and the documents it chose (until they are generated, they stay out of date).
  std::vector<int> changed_sources_;
  std::vector<std::pair<int, int>> chosen_;
  std::string project_macro_file_;
  bool remap_ = true;
  std::uint64_t choices_ = 0;
};

}  // namespace pentrak
