#include "project/definition_file.h"

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/growing_table.h"
#include "platform/text_lines.h"
#include "project/definition.h"
#include "project/path_resolution.h"
#include "settings/project_settings.h"
#include "settings/settings_text.h"

namespace pentrak {

namespace {

constexpr std::string_view kGlobalsKey = "Globals=";
constexpr std::string_view kDefinitionFilePrefix = "Could not open Project Definition file at ";

// The optimization flags in the order they are tried; the index is the flag's value.
constexpr std::string_view kOptimizationFlags[] = {" -ox", " -o1", " -o2"};

// What a trimmed line of the definition file is; the first test that matches decides.
enum class LineKind { kBlank, kComment, kEndMarker, kFolderHeader, kGlobals, kDocument };

LineKind ClassifyLine(std::string_view line) {
  if (line.empty()) return LineKind::kBlank;
  if (line.front() == '#') return LineKind::kComment;
  if (line.front() == '!') return LineKind::kEndMarker;
  if (line.find('[') != std::string_view::npos) return LineKind::kFolderHeader;
  if (line.find(kGlobalsKey) != std::string_view::npos) return LineKind::kGlobals;
  return LineKind::kDocument;
}

std::string EraseAll(std::string_view text, std::string_view what) {
  std::string result;
  std::size_t pos = 0;
  for (std::size_t hit = text.find(what); hit != std::string_view::npos;
       hit = text.find(what, pos)) {
    result.append(text.substr(pos, hit - pos));
    pos = hit + what.size();
  }
  result.append(text.substr(pos));
  return result;
}

// Only the first flag found counts; every occurrence of it leaves the field.
short TakeOptimizationFlag(std::string& field) {
  for (short flag = 0; flag < 3; ++flag) {
    std::string_view marker = kOptimizationFlags[flag];
    if (field.find(marker) != std::string::npos) {
      field = EraseAll(field, marker);
      return flag;
    }
  }
  return -1;
}

// The text after the first "[" up to the first "]" after it, untrimmed; without such a "]" the
// rest of the line. A "]" before the "[" is ignored, so "]x[News]" names the folder "News".
std::string FolderName(std::string_view line) {
  std::size_t open = line.find('[');
  std::size_t close = line.find(']', open + 1);
  std::size_t length = close == std::string_view::npos ? std::string_view::npos : close - open - 1;
  return std::string(line.substr(open + 1, length));
}

// The project's global-content-files setting joins the project-level globals line as if it had
// been written at its end, before the closing "!".
std::string WithProjectSettingGlobals(std::string_view line, std::string_view setting) {
  std::string result(line);
  if (!result.empty() && result.back() == '!') result.pop_back();
  result.append(",").append(setting).append("!");
  return result;
}

Error LimitError(int number, std::string_view exceeded) {
  std::string text = "You have exceeded the maximum number of ";
  text.append(exceeded).append(". Please update your Project Properties.");
  return Error(number, std::move(text));
}

std::string Quoted(std::string_view name) {
  std::string text = "\"";
  text.append(name).append("\"");
  return text;
}

// One read of the definition file into freshly cleared tables.
class DefinitionReader {
 public:
  DefinitionReader(const DefinitionContext& context, bool resolve_paths)
      : context_(context),
        definition_(context.definition),
        project_(context.project),
        field_slots_(static_cast<std::size_t>(FieldSlots(context.project))),
        paths_{context.fs, context.project, context.options},
        resolve_paths_(resolve_paths) {}

  void Read() {
    definition_.document_count = 0;
    ClearDefinition(definition_);
    std::string path = ResolveProjectPath(paths_, context_.project.definition_file, true, false);
    if (path.empty()) return;
    if (!context_.fs.FileExists(path)) {
      throw Error(kErrorCannotOpen, std::string(kDefinitionFilePrefix) + path +
                                        ". Please check the path to your Project Definition File "
                                        "or create a Project Definition file at this location.");
    }
    std::string text;
    try {
      text = context_.fs.ReadBoundedFile(path, kMaxSettingsFileBytes);
    } catch (const Error& cause) {
      throw FileError(cause, kDefinitionFilePrefix, path);
    }
    ReadLines(text);
  }

 private:
  void ReadLines(std::string_view text) {
    LineCursor cursor(text);
    std::string_view raw;
    while (cursor.Next(raw)) {
      ++line_number_;
      std::string_view line = TrimBlanks(raw);
      switch (ClassifyLine(line)) {
        case LineKind::kBlank:
        case LineKind::kComment:
          break;
        case LineKind::kEndMarker:
          return;
        case LineKind::kFolderHeader:
          ReadFolderHeader(line);
          break;
        case LineKind::kGlobals:
          ReadGlobalsLine(line);
          break;
        case LineKind::kDocument:
          ReadDocumentLine(line);
          break;
      }
    }
  }

  void ReadFolderHeader(std::string_view line) {
    ++folder_index_;
    document_index_ = 0;
    if (Index(folder_index_) >= AllowedSlots(project_.max_folders)) {
      throw LimitError(kErrorFolderLimit, "Folders defined for this Project");
    }
    Folder& folder = SlotAt(definition_.folders, Index(folder_index_));
    folder.name = FolderName(line);
    folder.header_line = line_number_;
    folder.no_project_macro_file = line.back() == '*' ? 1 : 0;
  }

  void ReadGlobalsLine(std::string_view trimmed) {
    bool project_level = folder_index_ < 0;
    const std::string& setting = project_.global_content_files;
    std::string line = project_level && !setting.empty()
                           ? WithProjectSettingGlobals(trimmed, setting)
                           : std::string(trimmed);
    SplitFields(line, line.find(kGlobalsKey) + kGlobalsKey.size(), field_slots_,
                definition_.field_buffer);

    std::vector<std::string>& slots = project_level
                                          ? definition_.global_content_files
                                          : definition_.folders[folder_index_].content_files;
    const std::size_t limit =
        AllowedSlots(project_level ? project_.max_globals : project_.max_folder_globals);
    const std::vector<std::string>& fields = definition_.field_buffer;
    for (std::size_t i = 0; i < fields.size() && !fields[i].empty(); ++i) {
      if (i >= limit) {
        throw project_level
            ? LimitError(kErrorGlobalsLimit, "Global Content Files for this Project")
            : LimitError(kErrorGlobalsLimit, "Global Content Files for the Folder " +
                                                 Quoted(definition_.folders[folder_index_].name));
      }
      SlotAt(slots, i) = Resolve(fields[i], false);
    }
  }

  void ReadDocumentLine(std::string_view line) {
    if (folder_index_ >= 0) StoreDocument(line);
    ++document_index_;
  }

  void StoreDocument(std::string_view line) {
    Folder& folder = definition_.folders[folder_index_];
    short flag = SplitFields(line, 0, field_slots_, definition_.field_buffer);
    const std::vector<std::string>& fields = definition_.field_buffer;
    std::size_t i = 0;
    for (; i < fields.size() && !fields[i].empty(); ++i) {
      if (Index(document_index_) >= AllowedSlots(project_.max_docs)) {
        throw LimitError(kErrorDocumentLimit, "Documents for the Folder " + Quoted(folder.name));
      }
      // Slots that lines beginning with a comma used up come into being here, empty.
      Document& document = SlotAt(folder.documents, Index(document_index_));
      if (i == 0) {
        document.path = Resolve(fields[i], true);
        document.written_path = fields[i];
        document.optimization_flag = flag;
        ++definition_.document_count;
      } else if (i == 1) {
        document.template_path = Resolve(fields[i], false);
      } else if (i - 2 >= AllowedSlots(project_.max_content_files)) {
        throw LimitError(kErrorContentFilesLimit,
                         "Content Files for the Document " + Quoted(document.path));
      } else {
        SlotAt(document.content_files, i - 2) = Resolve(fields[i], false);
      }
    }
    // A line that begins with a comma uses up its slot but leaves it empty, markers included.
    if (i == 0) return;
    Document& document = folder.documents[Index(document_index_)];
    document.no_folder_globals = line.ends_with("!!") ? 1 : 0;
    document.no_project_globals = line.ends_with("!!!") ? 1 : 0;
  }

  std::string Resolve(const std::string& name, bool is_document) const {
    return ResolveProjectPath(paths_, name, resolve_paths_, is_document);
  }

  static std::size_t Index(int index) { return static_cast<std::size_t>(index); }

  const DefinitionContext& context_;
  ProjectDefinition& definition_;
  const ProjectSettings& project_;
  const std::size_t field_slots_;
  PathContext paths_;
  bool resolve_paths_;
  int line_number_ = 0;
  int folder_index_ = -1;
  int document_index_ = -1;
};

}  // namespace

void ReadDefinition(const DefinitionContext& context, bool resolve_paths, bool report_errors) {
  try {
    DefinitionReader(context, resolve_paths).Read();
  } catch (const Error& error) {
    if (!report_errors) throw;
    ReportError(context.ui, error);
  }
}

short SplitFields(std::string_view line, std::size_t start, std::size_t field_slots,
                  std::vector<std::string>& field_buffer) {
  short flag = -1;
  std::size_t k = 0;
  std::size_t pos = start;
  while (pos < line.size() && k < field_slots) {
    std::size_t end = line.find(',', pos);
    if (end == std::string_view::npos) end = line.find('!', pos);
    if (end == std::string_view::npos) end = line.size();
    std::string field(line.substr(pos, end - pos));
    if (k == 0) flag = TakeOptimizationFlag(field);
    SlotAt(field_buffer, k).assign(TrimBlanks(field));
    pos = end + 1;
    ++k;
  }
  // The empty field that closes the list; later slots keep older text no reader gets to.
  if (k < field_slots) SlotAt(field_buffer, k).clear();
  return flag;
}

}  // namespace pentrak
