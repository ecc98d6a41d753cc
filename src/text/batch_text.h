// Values in lines of cmd batch files ("ParaSerie.bat", "Tarvell.Bat"). A value from
// outside (job, list, DAB file, user input) is written so that cmd takes exactly its text,
// or it is refused. Both batch writers go through here.
//
// How cmd reads a line of a batch file, and what follows for a value:
// - "%" starts a reference (%PATH%, %1, %~dp0) everywhere on the line, inside double
//   quotes too. "%%" stands for one "%". So every "%" of a value is written as "%%".
// - Outside double quotes, & | < > ^ ( ) act: & && || chain commands, | pipes, < >
//   redirect, ^ escapes the next character (at a line's end it joins the next line),
//   ( ) group commands. Inside double quotes they are plain text. So a value holding one
//   of them (or "%") is written inside quotes: SET "NAME=value", Tarvell.exe "entry".
// - A double quote opens or closes a quoted stretch; there is no way to write one inside
//   such a stretch (^" is no escape there), and whatever follows it acts again. So a value
//   holding a double quote cannot be written safely and is refused.
// - A line feed ends the line and a carriage return is dropped; NUL and the other control
//   characters are not carried reliably. Tab is plain text. Such values are refused.
// - "!" refers to a variable only with delayed expansion on (cmd /V:ON, or setlocal
//   EnableDelayedExpansion). It is off by default and neither batch file turns it on, so
//   "!" is plain text. Even when it is on, "!" is expanded after the line has been split
//   into commands: it can change a value, never run a command.
// - A line holds at most 8191 characters; a longer line is cut.
// - A variable expanded outside a SET line (%KolpVers% in the call line) is read after its
//   expansion as if typed: its & | < > ^ ( ) act, and "call" expands its "%" once more. No
//   quoting or doubling can hold such a value, so it may hold none of them (nor "!", which
//   "call" also reads); blanks, "," ";" and "=" would split the command into words.
// - A built-in command whose argument holds "/?" prints its help and does nothing else.
//   For SET cmd looks for "/?" anywhere in the argument text, quotes included, so
//   SET "NAME=a/?" prints the help instead of setting NAME (Wine's cmd sets it; a batch
//   file must not rely on that), and no escape or quoting keeps the value. A SET value
//   holding "/?" is refused (kHelp); a program's argument (Tarvell.exe "...") may hold it.
// - cmd reads a batch file in the console's OEM code page (850 on a German Windows), not in
//   CP1252: letters beyond ASCII are written in that code page (app/batch_encoding.h).
#pragma once

#include <string>
#include <string_view>

namespace quenda {

inline constexpr std::size_t kMaxBatchLine = 8191;

enum class BatchFault {
  kNone,
  kQuote,      // a double quote
  kLineBreak,  // CR or LF
  kControl,    // NUL or another control character but tab
  kTooLong,    // the line would be longer than kMaxBatchLine
  kCommand,    // a character that acts in a command line after expansion
  kCodePage,   // a character that the console's code page cannot hold
  kHelp,       // "/?" in the value of a SET line, which prints SET's help instead
};

// What keeps `value` from being written into a batch line, kNone when it can be.
// `lineRest` is the number of characters the rest of its line takes; the value counts
// as written, every "%" doubled.
BatchFault FindBatchFault(std::string_view value, std::size_t lineRest = 0);

// FindBatchFault for the value of a SET line, and kHelp for a value holding "/?".
BatchFault FindSetValueFault(std::string_view value, std::size_t lineRest = 0);

// What keeps `value` from being expanded into a command line outside quotes (the series
// tools' version in the call line), kNone when it can be: a double quote, a line break or
// control character, or one of & | < > ^ ( ) % ! (kCommand); with `splitsWords`, also a
// blank, tab, "," ";" or "=".
BatchFault FindCommandLineFault(std::string_view value, bool splitsWords);

// True when `value` holds a character that acts outside double quotes (& | < > ^ ( ) %):
// it must be written inside quotes.
bool NeedsBatchQuotes(std::string_view value);

// `value` with every "%" doubled: the text to write so that cmd reads `value`.
std::string EscapeBatchPercent(std::string_view value);

// The German message for a refused value: "Der Wert für " + what + " enthält ein
// Anführungszeichen und kann nicht in " + file + " geschrieben werden: >" + value + "<".
// Control characters are shown by their codes ({13}, {10}, {26}: text/line_text.h); a
// value of more than 200 characters is shown cut, ending in "...".
std::string RefusedBatchValueText(const std::string& what, std::string_view value, BatchFault fault,
                                  const std::string& file);

}  // namespace quenda
