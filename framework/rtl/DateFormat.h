#pragma once
// FormatDateTime: writes a TDateTime by a layout of specifiers.
//
//   d dd        day without / with a leading zero
//   ddd dddd    short / long day name          ddddd dddddd  short / long date format
//   m mm        month without / with a leading zero (minutes right after h or hh)
//   mmm mmmm    short / long month name
//   yy yyyy     two-digit / four-digit year (y and yyy count as yy, more as yyyy)
//   h hh n nn s ss z zzz   hour, minute, second, millisecond
//   am/pm a/p ampm         12-hour clock with the given or the configured markers
//   c           short date format, then the long time format when there is a time part
//   t tt        short / long time format
//   /           the date separator          :  the time separator
//   'x' "x"     literal text               any other character is copied
//
// Letters are not case-sensitive, except that am/pm and a/p keep the case of
// their letters. An empty layout works as "c".

#include <framework/rtl/FormatSettings.h>
#include <framework/rtl/Types.h>
#include <string_view>

namespace fw {

String FormatDateTime(std::string_view Format, TDateTime DateTime);
String FormatDateTime(std::string_view Format, TDateTime DateTime, const TFormatSettings& Settings);

} // namespace fw
