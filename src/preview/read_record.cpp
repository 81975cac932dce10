#include "preview/read_record.h"

#include "project/definition.h"

namespace pentrak {

ReadRecord::ReadRecord(const FileSystem& fs, const ProjectSettings& project)
    : fs_(fs), project_(project) {}

int ReadRecord::SourceId(std::string_view path) {
  auto known = ids_.find(path);
  if (known != ids_.end()) return known->second;
  int id = static_cast<int>(sources_.size());
  Source& source = sources_.emplace_back();
  source.path.assign(path);
  // The first look comes before any document of this run reads the file.
  source.fingerprint.Refresh(fs_, source.path);
  source.version = 1;
  ids_.emplace(source.path, id);
  return id;
}

bool ReadRecord::LookAgain(const std::string& path) {
  auto known = ids_.find(path);
  if (known == ids_.end()) {
    SourceId(path);
    return true;
  }
  Source& source = sources_[known->second];
  if (!source.fingerprint.Refresh(fs_, source.path)) return false;
  ++source.version;
  changed_sources_.push_back(known->second);
  return true;
}

void ReadRecord::ReadingDefinition(std::string project_macro_file) {
  project_macro_file_ = std::move(project_macro_file);
  remap_ = true;
}

void ReadRecord::ForgetDocuments() {
  for (auto& folder : documents_) {
    for (DocumentRecord& record : folder) record.generated = false;
  }
  remap_ = true;
}

std::vector<std::string> ReadRecord::FilesRead() const {
  std::vector<bool> listed(sources_.size(), false);
  std::vector<std::string> files;
  for (const auto& folder : documents_) {
    for (const DocumentRecord& record : folder) {
      for (const Read& read : record.reads) {
        if (listed[read.source]) continue;
        listed[read.source] = true;
        files.push_back(sources_[read.source].path);
      }
    }
  }
  return files;
}

std::vector<std::vector<bool>> ReadRecord::Choose(const ProjectDefinition& definition) {
  ++choices_;
  // A definition said to be the one last chosen from is checked all the same, as far as it
  // can be without a look at every document.
  bool everything = remap_ || !Matches(definition);
  if (everything) Remap(definition);
  remap_ = false;
  std::vector<std::vector<bool>> chosen(documents_.size());
  for (std::size_t f = 0; f < documents_.size(); ++f) chosen[f].resize(documents_[f].size());
  std::vector<std::pair<int, int>> candidates;
  if (everything) {
    for (std::size_t f = 0; f < documents_.size(); ++f) {
      for (std::size_t d = 0; d < documents_[f].size(); ++d) {
        candidates.emplace_back(static_cast<int>(f), static_cast<int>(d));
      }
    }
  } else {
    candidates = Candidates();
  }
  chosen_.clear();
  for (auto [f, d] : candidates) {
    if (chosen[f][d] || !OutOfDate(documents_[f][d])) continue;
    chosen[f][d] = true;
    chosen_.emplace_back(f, d);
  }
  changed_sources_.clear();
  return chosen;
}

std::vector<std::pair<int, int>> ReadRecord::Candidates() const {
  std::vector<std::pair<int, int>> candidates = chosen_;
  for (int source : changed_sources_) {
    if (source >= static_cast<int>(readers_.size())) continue;
    const auto& readers = readers_[source];
    candidates.insert(candidates.end(), readers.begin(), readers.end());
  }
  return candidates;
}

void ReadRecord::Generated(int folder_index, int document_index) {
  if (folder_index < 0 || folder_index >= static_cast<int>(documents_.size())) return;
  auto& folder = documents_[folder_index];
  if (document_index < 0 || document_index >= static_cast<int>(folder.size())) return;
  DocumentRecord& record = folder[document_index];
  // No source is looked at again during a run, so the versions now are those it read.
  for (Read& read : record.reads) read.version = sources_[read.source].version;
  record.generated = true;
}

bool ReadRecord::Matches(const ProjectDefinition& definition) const {
  for (std::size_t f = 0; f <= documents_.size(); ++f) {
    bool defined = f < definition.folders.size() && !definition.folders[f].name.empty();
    if (f == documents_.size()) return !defined;
    const std::vector<Document>& documents = definition.folders[f].documents;
    const std::size_t count = documents_[f].size();
    if (!defined || count > documents.size()) return false;
    if (count > 0 && documents[count - 1].path != documents_[f][count - 1].path) return false;
    if (count < documents.size() && !documents[count].path.empty()) return false;
  }
  return true;
}

void ReadRecord::Remap(const ProjectDefinition& definition) {
  std::vector<std::vector<DocumentRecord>> old = std::move(documents_);
  std::unordered_map<std::string_view, const DocumentRecord*> by_path;
  for (const auto& folder : old) {
    for (const DocumentRecord& record : folder) {
      if (record.generated) by_path.emplace(record.path, &record);
    }
  }
  documents_.clear();
  for (std::size_t f = 0; f < definition.folders.size(); ++f) {
    const Folder& folder = definition.folders[f];
    if (folder.name.empty()) break;
    std::vector<DocumentRecord>& records = documents_.emplace_back();
    for (std::size_t d = 0; d < folder.documents.size(); ++d) {
      if (folder.documents[d].path.empty()) break;
      DocumentRecord record = Describe(definition, static_cast<int>(f), static_cast<int>(d));
      auto was = by_path.find(record.path);
      if (was != by_path.end() && was->second->SameEntry(record)) {
        record.reads = was->second->reads;
        record.generated = true;
      }
      records.push_back(std::move(record));
    }
  }
  readers_.assign(sources_.size(), {});
  for (std::size_t f = 0; f < documents_.size(); ++f) {
    for (std::size_t d = 0; d < documents_[f].size(); ++d) {
      for (const Read& read : documents_[f][d].reads) {
        readers_[read.source].emplace_back(static_cast<int>(f), static_cast<int>(d));
      }
    }
  }
}

ReadRecord::DocumentRecord ReadRecord::Describe(const ProjectDefinition& definition,
                                                int folder_index, int document_index) {
  const Folder& folder = definition.folders[folder_index];
  const Document& document = folder.documents[document_index];
  DocumentRecord record;
  record.path = document.path;
  record.folder_name = folder.name;
  record.written_path = document.written_path;
  record.optimization_flag = document.optimization_flag;
  record.generates = !document.template_path.empty();
  for (const DocumentSource& source :
       DocumentSources(definition, project_, folder_index, document_index, project_macro_file_)) {
    record.reads.push_back({SourceId(source.path), source.kind, 0});
  }
  return record;
}

bool ReadRecord::DocumentRecord::SameEntry(const DocumentRecord& other) const {
  if (folder_name != other.folder_name || written_path != other.written_path ||
      optimization_flag != other.optimization_flag || generates != other.generates ||
      reads.size() != other.reads.size()) {
    return false;
  }
  for (std::size_t i = 0; i < reads.size(); ++i) {
    if (reads[i].source != other.reads[i].source || reads[i].kind != other.reads[i].kind) {
      return false;
    }
  }
  return true;
}

bool ReadRecord::OutOfDate(const DocumentRecord& record) const {
  if (!record.generates) return false;
  if (!record.generated) return true;
  for (const Read& read : record.reads) {
    if (read.version != sources_[read.source].version) return true;
  }
  return false;
}

}  // namespace pentrak
