#include <charconv>
#include <cmath>
#include <cstdio>
#include <framework/rtl/Exceptions.h>
#include <framework/rtl/Format.h>
#include <framework/rtl/FormatSettings.h>
#include <limits>
#include <optional>

namespace fw {

namespace {

// Widths and precisions above this are taken as a malformed specifier rather
// than as a request for megabytes of padding.
constexpr int MaxWidth = 9999;
constexpr int DefaultFixedDecimals = 2;
constexpr int DefaultSignificantDigits = 15;

class TFormatter {
public:
    TFormatter(std::string_view Format, std::span<const TVarRec> Args) : FFormat(Format), FArgs(Args) {}

    String Run();

private:
    [[noreturn]] void Fail() const {
        String Message = "Format '";
        Message += FFormat;
        Message += "' invalid or incompatible with argument";
        throw EConvertError(std::move(Message));
    }

    bool AtEnd() const { return FPos >= FFormat.size(); }
    char Current() const { return AtEnd() ? '\0' : FFormat[FPos]; }

    const TVarRec& NextArg() {
        if (FNextArg >= FArgs.size()) Fail();
        return FArgs[FNextArg++];
    }

    std::int64_t NextInteger() {
        const TVarRec& Arg = NextArg();
        if (Arg.Kind() != TVarRec::vtInteger) Fail();
        return Arg.AsInteger();
    }

    // A decimal number or "*" (the next argument), or nothing.
    std::optional<std::int64_t> NumberOrStar() {
        if (Current() == '*') {
            ++FPos;
            return NextInteger();
        }
        if (Current() < '0' || Current() > '9') return std::nullopt;
        std::int64_t Value = 0;
        while (Current() >= '0' && Current() <= '9') {
            Value = Value * 10 + (Current() - '0');
            if (Value > MaxWidth) Fail();
            ++FPos;
        }
        return Value;
    }

    void Specifier();
    void Pad(std::string_view Text, std::int64_t Width, bool LeftJustify);
    String FormatInteger(char Type, const TVarRec& Arg, std::optional<std::int64_t> Precision);
    String FormatFloat(char Type, const TVarRec& Arg, std::optional<std::int64_t> Precision);

    std::string_view FFormat;
    std::span<const TVarRec> FArgs;
    std::size_t FPos = 0;
    std::size_t FNextArg = 0;
    String FOut;
};

String TFormatter::Run() {
    FOut.reserve(FFormat.size() + 16);
    while (!AtEnd()) {
        const auto Percent = FFormat.find('%', FPos);
        if (Percent == std::string_view::npos) {
            FOut.append(FFormat.substr(FPos));
            break;
        }
        FOut.append(FFormat.substr(FPos, Percent - FPos));
        FPos = Percent + 1;
        if (Current() == '%') {
            FOut += '%';
            ++FPos;
        } else {
            Specifier();
        }
    }
    return std::move(FOut);
}

void TFormatter::Specifier() {
    // "%" [index ":"] ["-"] [width] ["." precision] type
    std::optional<std::int64_t> Width = NumberOrStar();
    if (Width && Current() == ':') {
        ++FPos;
        if (*Width < 0 || static_cast<std::size_t>(*Width) >= FArgs.size()) Fail();
        FNextArg = static_cast<std::size_t>(*Width);
        Width.reset();
    }
    bool LeftJustify = false;
    if (!Width) {
        if (Current() == '-') {
            LeftJustify = true;
            ++FPos;
        }
        Width = NumberOrStar();
    }
    if (Width && (*Width < -MaxWidth || *Width > MaxWidth)) Fail();
    if (Width && *Width < 0) {
        LeftJustify = true;
        Width = -*Width;
    }
    std::optional<std::int64_t> Precision;
    if (Current() == '.') {
        ++FPos;
        Precision = NumberOrStar();
        if (!Precision) Precision = 0;
        if (*Precision < 0)
            Precision.reset();
        else if (*Precision > MaxWidth)
            Fail();
    }
    if (AtEnd()) Fail();
    const char Type =
        static_cast<char>(Current() >= 'A' && Current() <= 'Z' ? Current() - 'A' + 'a' : Current());
    ++FPos;
    switch (Type) {
    case 'd':
    case 'u':
    case 'x':
        Pad(FormatInteger(Type, NextArg(), Precision), Width.value_or(0), LeftJustify);
        break;
    case 'e':
    case 'f':
    case 'g':
    case 'n':
        Pad(FormatFloat(Type, NextArg(), Precision), Width.value_or(0), LeftJustify);
        break;
    case 's': {
        const TVarRec& Arg = NextArg();
        std::string_view Text;
        char Char;
        if (Arg.Kind() == TVarRec::vtString) {
            Text = Arg.AsString();
        } else if (Arg.Kind() == TVarRec::vtChar) {
            Char = Arg.AsChar();
            Text = std::string_view(&Char, 1);
        } else {
            Fail();
        }
        if (Precision && static_cast<std::size_t>(*Precision) < Text.size())
            Text = Text.substr(0, *Precision);
        Pad(Text, Width.value_or(0), LeftJustify);
        break;
    }
    default:
        Fail();
    }
}

void TFormatter::Pad(std::string_view Text, std::int64_t Width, bool LeftJustify) {
    const std::size_t Fill = Width > static_cast<std::int64_t>(Text.size()) ? Width - Text.size() : 0;
    if (!LeftJustify) FOut.append(Fill, ' ');
    FOut.append(Text);
    if (LeftJustify) FOut.append(Fill, ' ');
}

String TFormatter::FormatInteger(char Type, const TVarRec& Arg, std::optional<std::int64_t> Precision) {
    if (Arg.Kind() != TVarRec::vtInteger) Fail();
    const std::int64_t Value = Arg.AsInteger();
    char Buffer[24];
    char* End;
    bool Negative = false;
    if (Type == 'd') {
        Negative = Value < 0;
        // The magnitude as unsigned, so that the smallest value has one too.
        const std::uint64_t Magnitude = Negative ? 0 - static_cast<std::uint64_t>(Value) : Value;
        End = std::to_chars(Buffer, Buffer + sizeof Buffer, Magnitude).ptr;
    } else {
        // Negative values show their two's complement, in 32 bits when they fit.
        const bool Fits32 = Value >= std::numeric_limits<std::int32_t>::min();
        const std::uint64_t Bits =
            Value < 0 && Fits32 ? static_cast<std::uint32_t>(Value) : static_cast<std::uint64_t>(Value);
        End = std::to_chars(Buffer, Buffer + sizeof Buffer, Bits, Type == 'x' ? 16 : 10).ptr;
        if (Type == 'x')
            for (char* P = Buffer; P != End; ++P)
                if (*P >= 'a' && *P <= 'f') *P = static_cast<char>(*P - 'a' + 'A');
    }
    String Result;
    if (Negative) Result += '-';
    const auto Digits = End - Buffer;
    if (Precision && *Precision > Digits) Result.append(*Precision - Digits, '0');
    Result.append(Buffer, End);
    return Result;
}

String TFormatter::FormatFloat(char Type, const TVarRec& Arg, std::optional<std::int64_t> Precision) {
    if (Arg.Kind() != TVarRec::vtExtended) Fail();
    const double Value = Arg.AsExtended();
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    const TFormatSettings& Settings = FormatSettings;
    int Digits;
    const char* Layout;
    switch (Type) {
    case 'e':
        Digits = static_cast<int>(Precision.value_or(DefaultSignificantDigits));
        if (Digits < 1) Digits = 1;
        Digits -= 1; // digits after the point
        Layout = "%.*E";
        break;
    case 'g':
        Digits = static_cast<int>(Precision.value_or(DefaultSignificantDigits));
        Layout = "%.*G";
        break;
    default:
        Digits = static_cast<int>(Precision.value_or(DefaultFixedDecimals));
        Layout = "%.*f";
        break;
    }
    const int Length = std::snprintf(nullptr, 0, Layout, Digits, Value);
    if (Length < 0) Fail();
    String Text(static_cast<std::size_t>(Length) + 1, '\0');
    std::snprintf(Text.data(), Text.size(), Layout, Digits, Value);
    Text.resize(static_cast<std::size_t>(Length));

    const auto Point = Text.find('.');
    if (Point != String::npos) Text[Point] = Settings.DecimalSeparator;
    if (Type == 'e') {
        // Exponents carry a sign and at least three digits: 1.5E+003.
        const auto E = Text.find('E');
        if (E != String::npos && Text.size() - E - 2 < 3) Text.insert(E + 2, 3 - (Text.size() - E - 2), '0');
    } else if (Type == 'n') {
        const std::size_t IntStart = Text[0] == '-' ? 1 : 0;
        std::size_t IntEnd = Point == String::npos ? Text.size() : Point;
        while (IntEnd > IntStart + 3) {
            IntEnd -= 3;
            Text.insert(IntEnd, 1, Settings.ThousandSeparator);
        }
    }
    return Text;
}

} // namespace

String Format(std::string_view Format, std::span<const TVarRec> Args) {
    return TFormatter(Format, Args).Run();
}

String Format(std::string_view Format, std::initializer_list<TVarRec> Args) {
    return TFormatter(Format, std::span<const TVarRec>(Args.begin(), Args.size())).Run();
}

} // namespace fw
