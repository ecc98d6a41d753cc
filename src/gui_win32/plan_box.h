// The box of the Vorschau on Win32: the plan of a Start for a person to read and search, in
// a read-only text in a fixed-pitch font, with a search field (Weitersuchen selects the next
// place, letter case ignored), Kopieren (the whole text to the clipboard) and Schließen (or
// Esc). Modal: the owner is disabled while it is open.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace quenda {

// Shows `planText` (UTF-8, lines ended by "\n", as PlanText tells the plan) until the box is
// closed.
void RunPlanBox(HWND owner, const std::string& planText);

// `utf8` as the text of an edit control: UTF-16 with every line ended by CR LF (a CR LF
// already there stays one). A malformed byte sequence becomes U+FFFD.
std::wstring PlanEditText(std::string_view utf8);

// Where `wanted` is next found in `text` at or after `from`, letter case ignored, from the
// start again when it is not found after `from`; nullopt when it is nowhere or empty.
std::optional<std::size_t> FindIgnoringCase(const std::wstring& text, const std::wstring& wanted,
                                            std::size_t from);

// Puts `text` on the clipboard as CF_UNICODETEXT, in place of what was there; false when the
// clipboard cannot be opened or the memory cannot be had.
bool CopyToClipboard(HWND owner, const std::wstring& text);

}  // namespace quenda
