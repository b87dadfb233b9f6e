#pragma once
// Format settings from a locale of the C library: the user's month and day names
// (UTF-8), first day of the week and short date layout.

#include <framework/rtl/FormatSettings.h>

namespace fw {

// Fills Settings from the C library's locale Name (such as "de_DE.UTF-8"; an
// empty name is the one the environment chooses, as LANG and LC_ALL say): the
// long and short month names (in the form that stands alone, "März",
// "декабрь"), the long and short day names, FirstDayOfWeek, and ShortDateFormat
// with DateSeparator from the locale's date layout. Returns false and leaves
// Settings untouched when the locale is not installed or its text is not UTF-8.
// Only these fields change; the rest keep their values.
bool GetLocaleFormatSettings(const String& Name, TFormatSettings& Settings);

// The short date layout of a C-library date format ("%d.%m.%Y" gives
// "dd/mm/yyyy" with the separator '.'); false for a layout without day, month
// and year.
bool ShortDateFormatFromLocale(const String& CFormat, String& Layout, char& Separator);

} // namespace fw
