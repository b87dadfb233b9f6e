#pragma once
// Text between the framework's single-byte strings (the Western code page,
// 1252) and UTF-8, the desktop's encoding (window titles, the clipboard).

#include <framework/rtl/Types.h>

namespace fw {

// Every byte as its character in UTF-8; the five bytes the code page leaves
// undefined stand for the control characters of the same number.
String AnsiToUtf8(const String& Text);
// Each character the code page has becomes its byte; any other character,
// and any malformed sequence, becomes '?'.
String Utf8ToAnsi(const String& Text);

} // namespace fw
