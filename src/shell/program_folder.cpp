#include "shell/program_folder.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace pentrak {

namespace {

// The sample project's sources, shipped inside the samples and seeded as their own folder.
constexpr std::string_view kSampleProjectFolder = "overview";

// What a program folder is seeded with, taken only from the shipped samples: never from the
// seed's own overview/, which may hold generated pages and a project file made for that folder.
struct SeedFolder {
  std::string_view from;  // below the seed folder
  std::string_view to;    // below the program folder
};
constexpr std::array<SeedFolder, 2> kSeedFolders = {{
    {"samples", "samples"},
    {"samples/overview", kSampleProjectFolder},
}};

// True for the files of the sample project inside the samples, which go to overview/ instead.
bool InSampleProjectFolder(std::string_view relative) {
  return relative.starts_with(kSampleProjectFolder) &&
         relative.substr(kSampleProjectFolder.size()).starts_with('/');
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string WithoutFinalSeparator(std::string folder) {
  while (folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
  return folder;
}

std::string ExecutableFolder(const ProgramFolderInputs& inputs) {
  return WithoutFinalSeparator(FolderOfPath(inputs.executable_path));
}

bool HoldsSamples(const FileSystem& fs, const std::string& folder) {
  return !folder.empty() && fs.FolderExists(JoinPath(folder, "samples"));
}

}  // namespace

ProgramFolderInputs ProgramFolderInputsFromEnvironment(std::string home_option,
                                                       std::string executable_path) {
  ProgramFolderInputs inputs;
  inputs.home_option = std::move(home_option);
  inputs.executable_path = std::move(executable_path);
  inputs.xdg_data_home = Environment("XDG_DATA_HOME");
  inputs.user_home = Environment("HOME");
  // Found from the executable rather than a path fixed at build time, so an install moved to
  // another prefix, or staged into a folder, seeds from its own files.
  inputs.share_folder = JoinPath(ExecutableFolder(inputs), PENTRAK_SHARE_DIR_FROM_BIN);
  return inputs;
}

std::string ChooseProgramFolder(const FileSystem& fs, const ProgramFolderInputs& inputs) {
  if (!inputs.home_option.empty()) return WithoutFinalSeparator(inputs.home_option);
  std::string executable_folder = ExecutableFolder(inputs);
  if (HoldsSamples(fs, executable_folder) && fs.CanWriteInFolder(executable_folder)) {
    return executable_folder;
  }
  // A relative $XDG_DATA_HOME is invalid and ignored, as the base-directory rules ask.
  if (!inputs.xdg_data_home.empty() && inputs.xdg_data_home.front() == '/') {
    return JoinPath(WithoutFinalSeparator(inputs.xdg_data_home), "pentrak");
  }
  if (!inputs.user_home.empty()) {
    return JoinPath(JoinPath(JoinPath(WithoutFinalSeparator(inputs.user_home), ".local"), "share"),
                    "pentrak");
  }
  throw Error(ENOENT, "No program folder: HOME is not set. Choose one with --home DIR.");
}

std::string FindSeedFolder(const FileSystem& fs, const ProgramFolderInputs& inputs) {
  std::string executable_folder = ExecutableFolder(inputs);
  if (HoldsSamples(fs, executable_folder)) return executable_folder;
  if (HoldsSamples(fs, inputs.share_folder)) return WithoutFinalSeparator(inputs.share_folder);
  return "";
}

void SeedProgramFolder(const FileSystem& fs, const std::string& program_folder,
                       const std::string& seed_folder) {
  // The final separator makes the program folder itself one of the folders created.
  fs.CreateFolderPath(JoinPath(program_folder, ""));
  if (seed_folder.empty()) return;
  for (const SeedFolder& seed : kSeedFolders) {
    std::string from_folder = JoinPath(seed_folder, NormalizeSeparators(seed.from));
    if (!fs.FolderExists(from_folder)) continue;
    std::string to_folder = JoinPath(program_folder, seed.to);
    for (const std::string& relative : fs.FilesBelow(from_folder)) {
      if (seed.to != kSampleProjectFolder && InSampleProjectFolder(relative)) continue;
      std::string target = JoinPath(to_folder, NormalizeSeparators(relative));
      if (fs.FileExists(target)) continue;
      fs.CreateFolderPath(target);
      fs.CopyFile(JoinPath(from_folder, relative), target);
    }
  }
}

std::string PrepareProgramFolder(const FileSystem& fs, const ProgramFolderInputs& inputs) {
  std::string folder = ChooseProgramFolder(fs, inputs);
  SeedProgramFolder(fs, folder, FindSeedFolder(fs, inputs));
  return folder;
}

}  // namespace pentrak
