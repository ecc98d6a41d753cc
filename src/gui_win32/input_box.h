// A modal input box on Win32: title, prompt, a text field with the default text, OK and
// Cancel. The owner is disabled while it is open.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace quenda {

// Shows the box and returns the typed text (CP1252), or nullopt for Cancel or closing.
std::optional<std::string> RunInputBox(HWND owner, const std::string& prompt,
                                       const std::string& title, const std::string& defaultText);

}  // namespace quenda
