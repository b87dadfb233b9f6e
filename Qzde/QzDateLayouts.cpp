#include <Qzde/QzDateLayouts.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/SysUtils.h>

namespace qz {

namespace {

// Writes Value with at least MinDigits digits (leading zeros) at Out; returns the end.
char* WriteNumber(char* Out, int Value, int MinDigits) {
    if (Value >= 0 && Value < 100 && MinDigits <= 2) {
        // Days and months: the common case, without a loop.
        if (Value >= 10 || MinDigits == 2) *Out++ = static_cast<char>('0' + Value / 10);
        *Out++ = static_cast<char>('0' + Value % 10);
        return Out;
    }
    if (Value >= 0 && Value <= 9999 && MinDigits == 4) {
        // Years of the calendar: always four digits.
        *Out++ = static_cast<char>('0' + Value / 1000);
        *Out++ = static_cast<char>('0' + Value / 100 % 10);
        *Out++ = static_cast<char>('0' + Value / 10 % 10);
        *Out++ = static_cast<char>('0' + Value % 10);
        return Out;
    }
    char Digits[12];
    int Count = 0;
    unsigned Rest = Value < 0 ? 0u - static_cast<unsigned>(Value) : static_cast<unsigned>(Value);
    do {
        Digits[Count++] = static_cast<char>('0' + Rest % 10);
        Rest /= 10;
    } while (Rest != 0);
    if (Value < 0) *Out++ = '-';
    for (int I = Count; I < MinDigits; ++I)
        *Out++ = '0';
    while (Count > 0)
        *Out++ = Digits[--Count];
    return Out;
}

} // namespace

fw::String AcceptDateFormat(std::string_view Value) {
    const fw::String Lower = fw::LowerCase(Value);
    for (const std::string_view Pattern : DateFormatPatterns)
        if (Lower == Pattern) return Lower;
    return {};
}

namespace {

// A pattern of three numbers between two single separators ("dd/mm/yyyy"), as
// every layout of the edit is, read once: what to write, in order.
struct TPatternShape {
    char Pattern[16] = {}; // the pattern it was read from
    std::size_t Size = 0;
    bool Simple = false;
    char Parts[3] = {}; // 'd', 'm' or 'y'
    int Digits[3] = {};
    char Separators[2] = {};
};

TPatternShape ReadShape(std::string_view Pattern) {
    TPatternShape Shape;
    if (Pattern.size() >= sizeof Shape.Pattern) return Shape;
    Pattern.copy(Shape.Pattern, Pattern.size());
    Shape.Size = Pattern.size();
    std::size_t I = 0;
    for (int Part = 0; Part < 3; ++Part) {
        if (I >= Pattern.size()) return Shape;
        const char C = Pattern[I];
        if (C != 'd' && C != 'm' && C != 'y') return Shape;
        std::size_t Run = 1;
        while (I + Run < Pattern.size() && Pattern[I + Run] == C)
            ++Run;
        Shape.Parts[Part] = C;
        Shape.Digits[Part] = C == 'y' ? 4 : Run >= 2 ? 2 : 1;
        I += Run;
        if (Part < 2) {
            if (I >= Pattern.size() || Pattern[I] == 'd' || Pattern[I] == 'm' || Pattern[I] == 'y') return Shape;
            Shape.Separators[Part] = Pattern[I++];
        }
    }
    Shape.Simple = I == Pattern.size();
    return Shape;
}

} // namespace

// The framework's FormatDateTime gives the same text for these patterns when its
// date separator is "/"; this writer exists because the edit must write "/"
// whatever the separator is, and it runs on every exit and every normalised text.
void FormatDateByPattern(int Year, int Month, int Day, std::string_view Pattern, fw::String& Text) {
    // The shape of the last pattern is kept (one user-interface thread; an edit
    // writes with its one layout): reading the pattern was half of the work.
    static TPatternShape Last;
    if (std::string_view(Last.Pattern, Last.Size) != Pattern) Last = ReadShape(Pattern);
    if (Last.Simple) {
        char Buffer[40]; // three numbers of at most 11 characters and two separators
        char* Out = Buffer;
        for (int Part = 0; Part < 3; ++Part) {
            const char C = Last.Parts[Part];
            Out = WriteNumber(Out, C == 'd' ? Day : C == 'm' ? Month : Year, Last.Digits[Part]);
            if (Part < 2) *Out++ = Last.Separators[Part];
        }
        Text.assign(Buffer, Out);
        return;
    }
    // Each number takes at most 11 characters, and only three are written.
    char Buffer[64];
    char* Out = Buffer;
    char* const Limit = Buffer + sizeof Buffer - 12;
    for (std::size_t I = 0; I < Pattern.size() && Out < Limit;) {
        const char C = Pattern[I];
        std::size_t Run = 1;
        while (I + Run < Pattern.size() && Pattern[I + Run] == C)
            ++Run;
        switch (C) {
        case 'd':
            Out = WriteNumber(Out, Day, Run >= 2 ? 2 : 1);
            break;
        case 'm':
            Out = WriteNumber(Out, Month, Run >= 2 ? 2 : 1);
            break;
        case 'y':
            Out = WriteNumber(Out, Year, 4);
            break;
        default:
            for (std::size_t K = 0; K < Run && Out < Limit; ++K)
                *Out++ = C;
            break;
        }
        I += Run;
    }
    Text.assign(Buffer, Out);
}

fw::String FormatDateByPattern(int Year, int Month, int Day, std::string_view Pattern) {
    fw::String Text;
    FormatDateByPattern(Year, Month, Day, Pattern, Text);
    return Text;
}

fw::String FormatDateByPattern(fw::TDateTime Date, std::string_view Pattern) {
    fw::Word Year = 0, Month = 0, Day = 0;
    fw::DecodeDate(Date, Year, Month, Day);
    return FormatDateByPattern(Year, Month, Day, Pattern);
}

bool SplitDateText(std::string_view Text, std::string_view Pattern, std::string_view& Year,
                   std::string_view& Month, std::string_view& Day) {
    const auto P1 = Text.find('/');
    if (P1 == std::string_view::npos) return false;
    const auto P2 = Text.find('/', P1 + 1);
    if (P2 == std::string_view::npos) return false;
    const std::string_view First = Text.substr(0, P1);
    const std::string_view Middle = Text.substr(P1 + 1, P2 - P1 - 1);
    const std::string_view Last = Text.substr(P2 + 1);
    switch (Pattern.empty() ? '\0' : Pattern.front()) {
    case 'd':
        Day = First, Month = Middle, Year = Last;
        return true;
    case 'm':
        Month = First, Day = Middle, Year = Last;
        return true;
    case 'y':
        Year = First, Month = Middle, Day = Last;
        return true;
    default:
        return false;
    }
}

bool ReadDateDigits(std::string_view Text, std::string_view Pattern, int& Year, int& Month, int& Day,
                    std::size_t& YearDigits) {
    // One pass: the parts in text order, cut at the first two "/" (a later "/"
    // is not a digit, so it makes the text invalid).
    int Values[3] = {0, 0, 0};
    std::size_t Lengths[3] = {0, 0, 0};
    std::size_t Part = 0;
    for (const char C : Text) {
        if (C == '/' && Part < 2) {
            ++Part;
            continue;
        }
        const unsigned Digit = static_cast<unsigned char>(C) - unsigned('0');
        if (Digit > 9 || Lengths[Part] == 9) return false;
        Values[Part] = Values[Part] * 10 + static_cast<int>(Digit);
        ++Lengths[Part];
    }
    if (Part < 2 || Lengths[0] == 0 || Lengths[1] == 0 || Lengths[2] == 0) return false;
    switch (Pattern.empty() ? '\0' : Pattern.front()) {
    case 'd':
        Day = Values[0], Month = Values[1], Year = Values[2], YearDigits = Lengths[2];
        return true;
    case 'm':
        Month = Values[0], Day = Values[1], Year = Values[2], YearDigits = Lengths[2];
        return true;
    case 'y':
        Year = Values[0], Month = Values[1], Day = Values[2], YearDigits = Lengths[0];
        return true;
    default:
        return false;
    }
}

bool TryTextToDate(std::string_view Text, std::string_view Pattern, fw::TDateTime& Date) {
    std::string_view Year, Month, Day;
    if (!SplitDateText(Text, Pattern, Year, Month, Day)) return false;
    int D = 0, M = 0, Y = 0;
    if (!fw::TryStrToInt(Day, D) || !fw::TryStrToInt(Month, M) || !fw::TryStrToInt(Year, Y)) return false;
    return fw::TryEncodeDate(Y, M, D, Date);
}

} // namespace qz
