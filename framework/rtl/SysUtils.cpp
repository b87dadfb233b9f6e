#include <charconv>
#include <framework/rtl/Exceptions.h>
#include <framework/rtl/SysUtils.h>
#include <limits>

namespace fw {

namespace {

[[noreturn]] void RaiseInvalidInteger(std::string_view S) {
    String Message;
    Message.reserve(S.size() + 32);
    Message += '\'';
    Message += S;
    Message += "' is not a valid integer value";
    throw EConvertError(std::move(Message));
}

template <typename T>
String IntegerToText(T Value) {
    char Buffer[24];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
    return String(Buffer, Result.ptr);
}

} // namespace

bool TryStrToInt(std::string_view S, int& Value) {
    const char* P = S.data();
    const char* const End = P + S.size();
    while (P != End && *P == ' ')
        ++P;
    bool Negative = false;
    if (P != End && (*P == '+' || *P == '-')) {
        Negative = *P == '-';
        ++P;
    }
    if (P == End) return false;
    // Accumulate the magnitude as unsigned; the limit is 2^31 for a negative
    // value and 2^31 - 1 otherwise, and digits past it stop the scan at once, so
    // a long run of digits costs no more than eleven.
    const std::uint32_t Limit = Negative ? 2147483648u : 2147483647u;
    std::uint32_t Magnitude = 0;
    for (; P != End; ++P) {
        const unsigned Digit = static_cast<unsigned char>(*P) - unsigned('0');
        if (Digit > 9) return false;
        if (Magnitude > (Limit - Digit) / 10) return false;
        Magnitude = Magnitude * 10 + Digit;
    }
    Value = Negative ? static_cast<int>(0u - Magnitude) : static_cast<int>(Magnitude);
    return true;
}

int StrToInt(std::string_view S) {
    int Value;
    if (!TryStrToInt(S, Value)) RaiseInvalidInteger(S);
    return Value;
}

String IntToStr(int Value) {
    return IntegerToText(Value);
}

String IntToStr(std::int64_t Value) {
    return IntegerToText(Value);
}

String LowerCase(std::string_view S) {
    String Result(S);
    for (char& C : Result)
        if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
    return Result;
}

String UpperCase(std::string_view S) {
    String Result(S);
    for (char& C : Result)
        if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
    return Result;
}

bool SameText(std::string_view A, std::string_view B) {
    // Folded by hand: a locale call per character was most of finding a name.
    auto Fold = [](char C) { return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C; };
    if (A.size() != B.size()) return false;
    for (std::size_t I = 0; I < A.size(); ++I)
        if (A[I] != B[I] && Fold(A[I]) != Fold(B[I])) return false;
    return true;
}

} // namespace fw
