#include "generation/up_to_date.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/file_times.h"
#include "project/definition.h"
#include "settings/project_settings.h"
#include "settings/work_files.h"

namespace pentrak {

namespace {

// A listed source that is missing ends the run; the error says which one.
std::int64_t LastModifiedOf(FileTimes& times, const std::string& path) {
  try {
    return times.LastModified(path);
  } catch (const Error& error) {
    throw FileError(error, "Error reading the last-modified time of ", path);
  }
}

// Walks the sources in order, remembering the last difference to the document's time.
class SourceComparison {
 public:
  SourceComparison(FileTimes& times, std::int64_t document_time)
      : times_(times), document_time_(document_time) {}

  // Compares the group's slots up to its limit or its first empty slot; false once a source
  // less than a second older than the document has ended the comparison.
  bool Group(const std::vector<std::string>& files, int limit) {
    for (int i = 0; i < limit && i < static_cast<int>(files.size()); ++i) {
      if (files[i].empty()) break;
      if (!Source(files[i])) return false;
    }
    return true;
  }

  bool Source(const std::string& path) {
    difference_ = document_time_ - LastModifiedOf(times_, path);
    return difference_ >= 1;
  }

  bool SourceIsNewer() const { return difference_ < 0; }

 private:
  FileTimes& times_;
  std::int64_t document_time_;
  std::int64_t difference_ = 1;
};

bool NeedsGeneration(const UpToDateContext& context, const Folder& folder,
                     const Document& document) {
  // One look tells whether the document exists and how old it is.
  FileStatus status = context.source_times.StatusNow(document.path);
  // A FIFO or device where the document belongs takes the generator's way to its error.
  if (status.error != 0 || status.folder || status.special) return true;
  SourceComparison comparison(context.source_times, status.modified);
  const ProjectSettings& project = context.project;
  bool going = document.no_project_globals == 1 ||
               comparison.Group(context.definition.global_content_files, project.max_globals);
  going = going && (document.no_folder_globals == 1 ||
                    comparison.Group(folder.content_files, project.max_folder_globals));
  going = going && comparison.Group(document.content_files, project.max_content_files);
  if (going && !document.template_path.empty()) comparison.Source(document.template_path);
  return comparison.SourceIsNewer();
}

}  // namespace

bool CheckUpToDate(const UpToDateContext& context, int folder_index, int document_index) {
  const Folder& folder = context.definition.folders[folder_index];
  bool needs = NeedsGeneration(context, folder, folder.documents[document_index]);
  std::string line(kLogIndent);
  line += needs ? ">Source files out-of-date" : ">Source files up-to-date";
  WriteLog(context.log, line);
  return needs;
}

}  // namespace pentrak
