#pragma once

#include <string>
#include <string_view>

namespace pentrak {

class UserInterface;

// The text of a dialog's field error: the common lead-in followed by the rule's message.
std::string FieldErrorText(std::string_view message);

// Shows a field error titled "Field Error" with an OK button.
void ShowFieldError(UserInterface& ui, std::string_view message);

}  // namespace pentrak
