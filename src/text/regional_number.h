// Numbers written as text in the user's regional format: the decimal separator of the
// site (a comma under German settings), as the platform's own conversions read and write
// them. Used by the "DIV" rule and the "000" number pattern of the configuration values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenda {

// `text` read as a number: blanks around it, an optional sign, digits with at most one
// `decimalSeparator` (an empty separator counts as "."), an optional exponent ("E5",
// "e-3"). Nullopt for anything else, including the empty text and grouping characters.
// For texts the system itself compares (record sets, filter literals).
std::optional<double> ParsePlainNumber(std::string_view text, std::string_view decimalSeparator);

// `text` read as the platform's regional conversion reads a user's number: as
// ParsePlainNumber, and in the integer part the grouping separator that goes with the
// decimal separator ("." with ",", "," with ".") is passed over after any digit, where
// ever it stands. Under ",": "1.000" and "1.000,5" read 1000 and 1000.5, and so do the
// loosely grouped "10.00" (1000), "1.0.0" (100) and "1." (1); ".5", "1..0" and "1,000.5"
// are no numbers. A decimal separator other than "," or "." has no grouping separator.
std::optional<double> ParseRegionalNumber(std::string_view text, std::string_view decimalSeparator);

// `value` with up to 15 significant digits, the decimal separator only when there is a
// fraction, and an exponent ("1E+15", "1E-05") for very large or small values.
std::string FormatRegionalNumber(double value, std::string_view decimalSeparator);

// The number pattern "000": a text that reads as a number becomes a whole number,
// rounded half away from zero, with at least three digits ("7" gives "007", "-5" gives
// "-005", "12,5" gives "013" under a comma); any other text is returned unchanged.
std::string FormatNumber000(std::string_view text, std::string_view decimalSeparator);

}  // namespace quenda
