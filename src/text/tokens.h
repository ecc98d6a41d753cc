// The four small text functions every part of Quenda uses. Positions count from 1,
// fields from 0; blanks are space and tab. Callers rely on the exact edge behaviour.
#pragma once

#include <string>
#include <string_view>

namespace quenda {

// Field `index` of `text` split at `delimiter` (one character). Gives back the
// delimiter itself when the field does not exist; callers stop their loops on that.
// A negative index counts as 0.
std::string GetToken(std::string_view text, int index, std::string_view delimiter);

// Applies the comma-separated option words (TRIM, COMPRESS, COLLAPSE, UCASE, LOWCASE)
// in order. `options` is upper-cased in place; `text` receives the result after every
// word. Returns the final text. Unknown words leave the text as it is.
std::string NormalizeText(std::string& text, std::string& options);

// Convenience for callers that need neither in/out argument back.
std::string Normalized(std::string_view text, std::string_view options);

// Directory + "|" + file name, split at the last backslash; "|" alone when the path
// holds no backslash.
std::string SplitPath(std::string_view path);

// True when `value` without leading and trailing spaces (not tabs) is empty.
bool IsBlank(std::string_view value);

// Leading and trailing spaces removed (spaces only, as the platform's Trim does).
std::string Trim(std::string_view value);

}  // namespace quenda
