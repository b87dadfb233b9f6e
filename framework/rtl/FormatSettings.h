#pragma once
// Format settings: the separators, date layouts and month and day names that
// FormatDateTime and Format use. The global FormatSettings holds the
// application's current values (English defaults); code may change it, and the
// formatting routines also take an explicit record.

#include <array>
#include <framework/rtl/Types.h>

namespace fw {

struct TFormatSettings {
    char DateSeparator = '/';
    char TimeSeparator = ':';
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    // Layout of the "c" and "ddddd" specifiers of FormatDateTime.
    String ShortDateFormat = "m/d/yyyy";
    String LongDateFormat = "dddd, mmmm d, yyyy";
    String ShortTimeFormat = "h:nn AMPM";
    String LongTimeFormat = "h:nn:ss AMPM";
    String TimeAMString = "AM";
    String TimePMString = "PM";
    // Index 0 is January.
    std::array<String, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<String, 12> LongMonthNames{"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    // Index 0 is Sunday (DayOfWeek 1).
    std::array<String, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<String, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                       "Thursday", "Friday", "Saturday"};
    // The first day of the week as DayOfWeek numbers it (1 Sunday ... 7 Saturday).
    int FirstDayOfWeek = 1;
};

// The application's current settings. Only the user-interface thread uses them.
extern TFormatSettings FormatSettings;

// Restores the global settings on destruction; tests change FormatSettings freely
// inside its lifetime.
class TFormatSettingsGuard {
public:
    TFormatSettingsGuard() : FSaved(FormatSettings) {}
    ~TFormatSettingsGuard() { FormatSettings = FSaved; }
    TFormatSettingsGuard(const TFormatSettingsGuard&) = delete;
    TFormatSettingsGuard& operator=(const TFormatSettingsGuard&) = delete;

private:
    TFormatSettings FSaved;
};

} // namespace fw
