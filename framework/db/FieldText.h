#pragma once
// The data layer's text conversions: numbers and dates to and from the text
// users see (by the format settings) and the text storage keeps (ISO dates).

#include <framework/rtl/FormatSettings.h>
#include <framework/rtl/Types.h>
#include <optional>
#include <string_view>

namespace fw {

// Up to 15 significant digits, no exponent for ordinary magnitudes, the
// settings' decimal separator ("1.5", "0.1", "1E20").
String FloatToText(double Value, const TFormatSettings& Settings = FormatSettings);
// Optional sign, digits with at most one decimal separator, optional
// exponent; surrounding blanks ignored. Nothing else.
std::optional<double> TextToFloat(std::string_view Text, const TFormatSettings& Settings = FormatSettings);
// Whole number with optional sign and surrounding blanks.
std::optional<std::int64_t> TextToInt64(std::string_view Text);

// A number by a layout of '0' (digit), '#' (digit if significant), '.'
// (decimal separator), ',' (thousands) and quoted or other literal text;
// "pos;neg;zero" sections. An empty layout gives FloatToText.
String FormatFloat(std::string_view Layout, double Value, const TFormatSettings& Settings = FormatSettings);

// Storage text: 'YYYY-MM-DD' and 'YYYY-MM-DD HH:MM:SS'.
String DateToIso(TDateTime Value);
String DateTimeToIso(TDateTime Value);
// Reads 'YYYY-MM-DD', optionally followed by ' ' or 'T' and HH:MM[:SS[.fff]].
// Anything else (a number, other layouts, impossible dates) gives nothing.
std::optional<TDateTime> IsoToDateTime(std::string_view Text);

// A date typed by a user: day, month and year in the order of
// Settings.ShortDateFormat, separated by its DateSeparator (or '/'); a
// year of one or two digits lies within 50 years of today's year. With
// AllowTime, a time may follow (h:n[:s] and an optional AM/PM marker).
std::optional<TDateTime> TextToDateTime(std::string_view Text, bool AllowTime,
                                        const TFormatSettings& Settings = FormatSettings);

} // namespace fw
