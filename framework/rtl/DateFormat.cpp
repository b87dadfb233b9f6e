#include <charconv>
#include <cmath>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>

namespace fw {

namespace {

// Layouts may name other layouts (c, ddddd, t); a settings record whose layouts
// name each other stops after this many levels.
constexpr int MaxNesting = 2;
constexpr int MillisecondsPerDay = 86400000;

struct TDateParts {
    Word Year = 0, Month = 0, Day = 0;
    int WeekDay = 0; // 1 = Sunday, 0 when the date cannot be decoded
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    bool HasTime = false;
};

TDateParts Split(TDateTime DateTime) {
    TDateParts Parts;
    DecodeDate(DateTime, Parts.Year, Parts.Month, Parts.Day);
    Parts.WeekDay = DayOfWeek(DateTime);
    if (Parts.WeekDay == 0) return Parts;
    // The time of day is what lies above the floor, as for the date itself.
    int Ms = static_cast<int>(std::lround((DateTime - std::floor(DateTime)) * MillisecondsPerDay));
    if (Ms >= MillisecondsPerDay) Ms = MillisecondsPerDay - 1;
    Parts.HasTime = Ms != 0;
    Parts.Hour = Ms / 3600000;
    Parts.Minute = Ms / 60000 % 60;
    Parts.Second = Ms / 1000 % 60;
    Parts.Millisecond = Ms % 1000;
    return Parts;
}

void AppendNumber(String& Out, int Value, int MinDigits) {
    char Buffer[16];
    const auto End = std::to_chars(Buffer, Buffer + sizeof Buffer, Value).ptr;
    for (auto Length = End - Buffer; Length < MinDigits; ++Length)
        Out += '0';
    Out.append(Buffer, End);
}

char Upper(char C) {
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

bool StartsWithNoCase(std::string_view Text, std::string_view Prefix) {
    if (Text.size() < Prefix.size()) return false;
    for (std::size_t I = 0; I < Prefix.size(); ++I)
        if (Upper(Text[I]) != Upper(Prefix[I])) return false;
    return true;
}

// True when the layout holds an am/pm, a/p or ampm marker outside quotes: its
// hours are then written on the 12-hour clock.
bool UsesTwelveHourClock(std::string_view Format) {
    for (std::size_t I = 0; I < Format.size(); ++I) {
        const char C = Format[I];
        if (C == '\'' || C == '"') {
            const auto Close = Format.find(C, I + 1);
            if (Close == std::string_view::npos) return false;
            I = Close;
        } else if ((C == 'a' || C == 'A') && (StartsWithNoCase(Format.substr(I), "am/pm") ||
                                              StartsWithNoCase(Format.substr(I), "a/p") ||
                                              StartsWithNoCase(Format.substr(I), "ampm"))) {
            return true;
        }
    }
    return false;
}

class TDateWriter {
public:
    TDateWriter(const TDateParts& Parts, const TFormatSettings& Settings, String& Out)
        : FParts(Parts), FSettings(Settings), FOut(Out) {}

    void Write(std::string_view Format, int Level);

private:
    void WriteDate(std::string_view Format, int Level) {
        if (Level < MaxNesting) Write(Format, Level + 1);
    }
    void WriteHour(int Count, bool TwelveHour) {
        int Hour = FParts.Hour;
        if (TwelveHour) {
            Hour %= 12;
            if (Hour == 0) Hour = 12;
        }
        AppendNumber(FOut, Hour, Count >= 2 ? 2 : 1);
    }
    void WriteName(const String* Names, std::size_t Size, int Index) {
        if (Index >= 1 && static_cast<std::size_t>(Index) <= Size) FOut += Names[Index - 1];
    }

    const TDateParts& FParts;
    const TFormatSettings& FSettings;
    String& FOut;
};

void TDateWriter::Write(std::string_view Format, int Level) {
    const bool TwelveHour = UsesTwelveHourClock(Format);
    char LastToken = 0;
    std::size_t I = 0;
    while (I < Format.size()) {
        const char Raw = Format[I];
        char Token = Upper(Raw);
        std::size_t Count = 1;
        if (Token >= 'A' && Token <= 'Z') {
            while (I + Count < Format.size() && Upper(Format[I + Count]) == Token)
                ++Count;
            if (Token == 'M' && LastToken == 'H') Token = 'N';
            LastToken = Token;
        }
        const std::string_view Rest = Format.substr(I);
        switch (Token) {
        case 'Y':
            if (Count <= 2)
                AppendNumber(FOut, FParts.Year % 100, 2);
            else
                AppendNumber(FOut, FParts.Year, 4);
            break;
        case 'M':
            if (Count <= 2)
                AppendNumber(FOut, FParts.Month, static_cast<int>(Count));
            else if (Count == 3)
                WriteName(FSettings.ShortMonthNames.data(), 12, FParts.Month);
            else
                WriteName(FSettings.LongMonthNames.data(), 12, FParts.Month);
            break;
        case 'D':
            if (Count <= 2)
                AppendNumber(FOut, FParts.Day, static_cast<int>(Count));
            else if (Count == 3)
                WriteName(FSettings.ShortDayNames.data(), 7, FParts.WeekDay);
            else if (Count == 4)
                WriteName(FSettings.LongDayNames.data(), 7, FParts.WeekDay);
            else if (Count == 5)
                WriteDate(FSettings.ShortDateFormat, Level);
            else
                WriteDate(FSettings.LongDateFormat, Level);
            break;
        case 'H':
            WriteHour(static_cast<int>(Count), TwelveHour);
            break;
        case 'N':
            AppendNumber(FOut, FParts.Minute, Count >= 2 ? 2 : 1);
            break;
        case 'S':
            AppendNumber(FOut, FParts.Second, Count >= 2 ? 2 : 1);
            break;
        case 'Z':
            AppendNumber(FOut, FParts.Millisecond, Count >= 2 ? 3 : 1);
            break;
        case 'T':
            WriteDate(Count == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, Level);
            break;
        case 'C':
            WriteDate(FSettings.ShortDateFormat, Level);
            if (FParts.HasTime) {
                FOut += ' ';
                WriteDate(FSettings.LongTimeFormat, Level);
            }
            break;
        case 'A':
            // Markers are matched one letter at a time, whatever the run of a's.
            Count = 1;
            if (StartsWithNoCase(Rest, "am/pm")) {
                FOut.append(Rest.substr(FParts.Hour >= 12 ? 3 : 0, 2));
                Count = 5;
            } else if (StartsWithNoCase(Rest, "a/p")) {
                FOut += Rest[FParts.Hour >= 12 ? 2 : 0];
                Count = 3;
            } else if (StartsWithNoCase(Rest, "ampm")) {
                FOut += FParts.Hour >= 12 ? FSettings.TimePMString : FSettings.TimeAMString;
                Count = 4;
            } else {
                FOut += Raw;
            }
            break;
        case '/':
            FOut += FSettings.DateSeparator;
            break;
        case ':':
            FOut += FSettings.TimeSeparator;
            break;
        case '\'':
        case '"': {
            const auto Close = Format.find(Raw, I + 1);
            const auto Stop = Close == std::string_view::npos ? Format.size() : Close;
            FOut.append(Format.substr(I + 1, Stop - I - 1));
            Count = (Close == std::string_view::npos ? Format.size() : Close + 1) - I;
            break;
        }
        default:
            // Other letters and characters stand for themselves, each run as written.
            FOut.append(Format.substr(I, Count));
            break;
        }
        I += Count;
    }
}

} // namespace

String FormatDateTime(std::string_view Format, TDateTime DateTime, const TFormatSettings& Settings) {
    const TDateParts Parts = Split(DateTime);
    String Result;
    Result.reserve(Format.size() + 16);
    TDateWriter Writer(Parts, Settings, Result);
    Writer.Write(Format.empty() ? std::string_view("c") : Format, 0);
    return Result;
}

String FormatDateTime(std::string_view Format, TDateTime DateTime) {
    return FormatDateTime(Format, DateTime, FormatSettings);
}

} // namespace fw
