#pragma once
// UTF-8, the one text encoding of every String the framework holds, and the
// Windows-1252 code page older files were written in.

#include <cstdint>
#include <framework/rtl/Types.h>
#include <string_view>

namespace fw {

// Appends code point cp (at most U+10FFFF) as UTF-8.
void AppendUtf8(String& out, std::uint32_t cp);
// Whether s is well-formed UTF-8 (no overlong forms, surrogates or values
// beyond U+10FFFF).
bool IsValidUtf8(std::string_view s);
// The code point starting at pos, advancing pos past it. A byte that does
// not start a well-formed sequence is taken alone as its Windows-1252
// character, so any byte string decodes without loss of position.
std::uint32_t NextCodePoint(std::string_view s, std::size_t& pos);
// The start of the character before pos (pos itself when it is 0).
std::size_t PrevCharStart(std::string_view s, std::size_t pos);
// The start of the character after pos (the size at the end).
std::size_t NextCharStart(std::string_view s, std::size_t pos);
// The character c as UTF-8.
String CharToUtf8(std::uint32_t c);
// The number of characters of s (as NextCodePoint counts them).
std::size_t CharCount(std::string_view s);
// The byte offset of the start of character number n of s (the size when s has fewer).
std::size_t CharOffset(std::string_view s, std::size_t n);
// The start of the character that byte pos belongs to (the size when pos is past the end).
std::size_t CharStartAt(std::string_view s, std::size_t pos);
// Windows-1252 text as UTF-8 (the five unassigned bytes map to U+0081...).
String Win1252ToUtf8(const String& s);
// s when it is valid UTF-8, otherwise s taken as Windows-1252.
String ToUtf8(const String& s);

} // namespace fw
