#pragma once

#include <string_view>

namespace pentrak {

// The desktop's own opener, which opens a file with the program the user chose for its type.
inline constexpr std::string_view kDesktopOpener = "xdg-open";

// A text editor, a web browser and an image editor, by the names the program options hold.
struct DefaultPrograms {
  std::string_view editor;
  std::string_view browser;
  std::string_view image_editor;
};

// Windows has an editor, a browser and a paint program at fixed names. Elsewhere none has a
// fixed name, but every desktop has the opener, and it serves for all three.
#ifdef _WIN32
inline constexpr std::string_view kWindowsBrowser =
    "\\Program Files\\Internet Explorer\\iexplore.exe";
// Written to a new program options file.
inline constexpr DefaultPrograms kFirstRunPrograms = {"notepad.exe", kWindowsBrowser,
                                                      "mspaint.exe"};
// Started while an option is empty; error messages show these names as they are.
inline constexpr DefaultPrograms kFallbackPrograms = {"NOTEPAD.EXE", kWindowsBrowser,
                                                      "MSPAINT.EXE"};
#else
inline constexpr DefaultPrograms kFirstRunPrograms = {kDesktopOpener, kDesktopOpener,
                                                      kDesktopOpener};
inline constexpr DefaultPrograms kFallbackPrograms = kFirstRunPrograms;
#endif

}  // namespace pentrak
