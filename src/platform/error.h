#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pentrak {

class UserInterface;

// The system's own error numbers; file-system failures carry the platform's errno instead.
inline constexpr int kErrorHistoryCopy = 10000;
inline constexpr int kErrorInvalidMacroTag = 10001;
inline constexpr int kErrorMacroLimit = 10002;
inline constexpr int kErrorHistoryFull = 10003;
inline constexpr int kErrorCannotOpen = 10005;
inline constexpr int kErrorHalt = 10006;
inline constexpr int kErrorLaunchEditor = 10007;
inline constexpr int kErrorLaunchBrowser = 10008;
inline constexpr int kErrorFolderLimit = 10012;
inline constexpr int kErrorDocumentLimit = 10013;
inline constexpr int kErrorGlobalsLimit = 10014;
inline constexpr int kErrorContentFilesLimit = 10015;
inline constexpr int kErrorLaunchCustomCommand = 10016;
inline constexpr int kErrorLaunchImageEditor = 10017;
inline constexpr int kErrorLaunchCustomApplication = 10018;
inline constexpr int kErrorSampleProject = 10019;
inline constexpr int kErrorLaunchDefaultApplication = 10020;
inline constexpr int kErrorLaunchXmlEditor = 10021;
// A settings value that is not a signed 16-bit decimal integer where one is expected.
inline constexpr int kErrorInvalidInteger = 13;

// A run-time error with a number and a description, caught by the command that started the
// operation and shown through ReportError.
class Error : public std::runtime_error {
 public:
  Error(int number, std::string description);
  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

// The error a file reader or writer raises: prefix + path + ". " + description + ".".
Error FileError(const Error& cause, std::string_view prefix, std::string_view path);

// The error for a failed system call: errno and its description.
Error SystemError(int error_number);

// The text of the common error report, without its title.
std::string ErrorReportText(const Error& error);

// Shows the common error report: "Error" titled, exclamation icon; number 0 shows nothing.
void ReportError(UserInterface& ui, const Error& error);

}  // namespace pentrak
