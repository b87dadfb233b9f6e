#pragma once
// Format: printf-like formatting that checks every argument's kind.
//
//   fw::Format("'%s' is not a valid date!", {Text})
//   fw::Format("%d of %d", {Index, Count})
//
// A specifier is "%" [index ":"] ["-"] [width] ["." precision] type, where index,
// width and precision are decimal numbers or "*" (taken from the next argument,
// which must be an integer). "%%" writes one "%". Types (case-insensitive):
//
//   d  integer, at least precision digits      u  integer as unsigned 32-bit
//   x  integer in upper-case hexadecimal       s  text or character, at most precision bytes
//   e  floating scientific  f  fixed  g  shortest  n  fixed with thousand separators
//   (precision for e and g counts significant digits, for f and n decimals; 15 and 2 by default)
//
// A malformed specifier, a missing argument or an argument of the wrong kind
// raises EConvertError; Format never reads past the arguments it is given.

#include <cstdint>
#include <framework/rtl/Types.h>
#include <initializer_list>
#include <span>
#include <string_view>

namespace fw {

// One argument of Format: an integer, a floating value, a text or a character.
// A text argument refers to the caller's characters, which must outlive the call.
class TVarRec {
public:
    enum TKind : std::uint8_t { vtInteger, vtExtended, vtString, vtChar };

    TVarRec(int Value) : FKind(vtInteger), FInteger(Value) {}
    TVarRec(long Value) : FKind(vtInteger), FInteger(Value) {}
    TVarRec(long long Value) : FKind(vtInteger), FInteger(Value) {}
    TVarRec(unsigned Value) : FKind(vtInteger), FInteger(Value) {}
    // Values above the signed 64-bit range wrap; sizes and counts never reach it.
    TVarRec(unsigned long Value) : FKind(vtInteger), FInteger(static_cast<std::int64_t>(Value)) {}
    TVarRec(unsigned long long Value) : FKind(vtInteger), FInteger(static_cast<std::int64_t>(Value)) {}
    TVarRec(double Value) : FKind(vtExtended), FExtended(Value) {}
    TVarRec(char Value) : FKind(vtChar), FChar(Value) {}
    TVarRec(const char* Value) : FKind(vtString), FString(Value ? Value : "") {}
    TVarRec(std::string_view Value) : FKind(vtString), FString(Value) {}
    TVarRec(const String& Value) : FKind(vtString), FString(Value) {}
    // Booleans would otherwise pass as integers without a word.
    TVarRec(bool) = delete;

    TKind Kind() const { return FKind; }
    std::int64_t AsInteger() const { return FInteger; }
    double AsExtended() const { return FExtended; }
    char AsChar() const { return FChar; }
    std::string_view AsString() const { return FString; }

private:
    TKind FKind;
    std::int64_t FInteger = 0;
    double FExtended = 0;
    char FChar = 0;
    std::string_view FString;
};

String Format(std::string_view Format, std::span<const TVarRec> Args);
String Format(std::string_view Format, std::initializer_list<TVarRec> Args);

} // namespace fw
