#pragma once
// Text in the single- and double-byte code pages older files were written in
// (the Windows numbering: 1250 Central European, 1251 Cyrillic, 932 Japanese
// ...), converted to UTF-8 through the C library's iconv.

#include <framework/rtl/Types.h>

namespace fw {

// Whether text in codePage can be converted here (1252 always can).
bool IsKnownCodePage(int codePage);

// s, taken as text in codePage, as UTF-8. A byte the code page does not
// define (or a double-byte sequence cut short) is taken alone as its
// Windows-1252 character, so nothing is dropped. An unknown code page is
// taken as Windows-1252.
String CodePageToUtf8(const String& s, int codePage);

} // namespace fw
