#include "settings/field_error.h"

#include "platform/user_interface.h"

namespace pentrak {

std::string FieldErrorText(std::string_view message) {
  std::string text = "Please check the Data you entered into the form. ";
  text.append(message);
  return text;
}

void ShowFieldError(UserInterface& ui, std::string_view message) {
  ui.ShowMessage("Field Error", FieldErrorText(message), Icon::kExclamation, Buttons::kOk);
}

}  // namespace pentrak
