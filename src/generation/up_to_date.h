#pragma once

namespace pentrak {

class FileSystem;
class FileTimes;
struct LogContext;
struct ProjectDefinition;
struct ProjectSettings;

// What the up-to-date check reads: the limits, the definition (resolved paths), the file
// system for the document's own time, the run's time stamps of the sources, and the log it
// writes its verdict to.
struct UpToDateContext {
  const ProjectSettings& project;
  const ProjectDefinition& definition;
  const FileSystem& fs;
  FileTimes& source_times;
  const LogContext& log;
};

// True when the document must be generated again: it does not exist, is not a regular file, or
// a source (global, folder and own content files, then the template) is newer. The first source
// that is not at least one second older than the document ends the comparison. A missing source
// throws the file system's error.
bool CheckUpToDate(const UpToDateContext& context, int folder_index, int document_index);

}  // namespace pentrak
