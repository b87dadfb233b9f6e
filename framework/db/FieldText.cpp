// Text conversions of the data layer.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <framework/db/FieldText.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/SysUtils.h>

namespace fw {

namespace {

constexpr double SecondsPerDay = 86400.0;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the digits at s[pos...], at most maxDigits; false when there are none.
bool ReadNumber(std::string_view s, std::size_t& pos, int maxDigits, int& value, int* digits = nullptr) {
    int n = 0;
    value = 0;
    while (pos < s.size() && IsDigit(s[pos]) && n < maxDigits) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++n;
    }
    if (digits) *digits = n;
    return n > 0;
}

// Seconds of the day as a fraction, whole seconds.
TDateTime TimeFraction(int h, int m, int s) {
    return (h * 3600 + m * 60 + s) / SecondsPerDay;
}

void SplitDateTime(TDateTime value, TDateTime& day, long long& seconds) {
    day = std::floor(value);
    seconds = std::llround((value - day) * SecondsPerDay);
    if (seconds >= 86400) {
        day += 1;
        seconds -= 86400;
    }
}

} // namespace

String FloatToText(double Value, const TFormatSettings& Settings) {
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value > 0 ? "INF" : "-INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", Value);
    String out;
    for (const char* p = buf; *p; ++p) {
        if (*p == '.') {
            out += Settings.DecimalSeparator;
        } else if (*p == 'e') {
            out += 'E';
            ++p;
            if (*p == '-') out += '-';
            if (*p != '-' && *p != '+') --p;
            while (p[1] == '0' && p[2])
                ++p; // no leading zeros in the exponent
        } else {
            out += *p;
        }
    }
    return out;
}

std::optional<double> TextToFloat(std::string_view Text, const TFormatSettings& Settings) {
    std::string_view s = Trim(Text);
    String plain;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') plain += '-';
        ++i;
    }
    int digits = 0;
    bool separator = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (IsDigit(c)) {
            plain += c;
            ++digits;
        } else if (c == Settings.DecimalSeparator && !separator) {
            plain += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
        int expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            plain += s[i++];
            ++expDigits;
        }
        if (expDigits == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    double v = 0;
    auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (ec != std::errc() || ptr != plain.data() + plain.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::int64_t> TextToInt64(std::string_view Text) {
    std::string_view s = Trim(Text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    std::int64_t v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

String FormatFloat(std::string_view Layout, double Value, const TFormatSettings& Settings) {
    if (Layout.empty()) return FloatToText(Value, Settings);
    // Sections: positive;negative;zero.
    std::vector<std::string_view> sections;
    {
        std::size_t start = 0;
        char quote = 0;
        for (std::size_t i = 0; i < Layout.size(); ++i) {
            char c = Layout[i];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == ';') {
                sections.push_back(Layout.substr(start, i - start));
                start = i + 1;
            }
        }
        sections.push_back(Layout.substr(start));
    }
    std::string_view section = sections[0];
    bool writeSign = Value < 0;
    if (Value < 0 && sections.size() > 1 && !sections[1].empty()) {
        section = sections[1];
        writeSign = false;
    } else if (Value == 0 && sections.size() > 2 && !sections[2].empty()) {
        section = sections[2];
    }
    // Placeholders: the digits before and after the decimal point.
    int intZeros = 0, minDec = 0, maxDec = 0;
    bool thousands = false, point = false;
    std::size_t first = String::npos, last = 0;
    char quote = 0;
    for (std::size_t i = 0; i < section.size(); ++i) {
        char c = section[i];
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '0' || c == '#') {
            if (first == String::npos) first = i;
            last = i;
            if (point) {
                ++maxDec;
                if (c == '0') minDec = maxDec;
            } else if (c == '0') {
                ++intZeros;
            }
        } else if (c == '.') {
            if (first == String::npos) first = i;
            last = i;
            point = true;
        } else if (c == ',' && first != String::npos && !point) {
            thousands = true;
        }
    }
    auto literal = [](std::string_view part) {
        String out;
        char q = 0;
        for (char c : part) {
            if (q) {
                if (c == q)
                    q = 0;
                else
                    out += c;
            } else if (c == '"' || c == '\'') {
                q = c;
            } else {
                out += c;
            }
        }
        return out;
    };
    if (first == String::npos) return literal(section);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", maxDec, std::fabs(Value));
    String digits = buf;
    String intPart = digits.substr(0, digits.find('.'));
    String frac = digits.find('.') == String::npos ? String() : digits.substr(digits.find('.') + 1);
    while (static_cast<int>(frac.size()) > minDec && !frac.empty() && frac.back() == '0')
        frac.pop_back();
    if (intPart == "0" && intZeros == 0) intPart.clear();
    while (static_cast<int>(intPart.size()) < intZeros)
        intPart.insert(intPart.begin(), '0');
    if (thousands) {
        for (int i = static_cast<int>(intPart.size()) - 3; i > 0; i -= 3)
            intPart.insert(static_cast<std::size_t>(i), 1, Settings.ThousandSeparator);
    }
    bool nonZero = std::any_of(intPart.begin(), intPart.end(), [](char c) { return c >= '1' && c <= '9'; }) ||
                   std::any_of(frac.begin(), frac.end(), [](char c) { return c >= '1' && c <= '9'; });
    String number = intPart;
    if (!frac.empty()) number += Settings.DecimalSeparator + frac;
    if (number.empty()) number = "0";
    return literal(section.substr(0, first)) + (writeSign && nonZero ? "-" : "") + number +
           literal(section.substr(last + 1));
}

String DateToIso(TDateTime Value) {
    Word y, m, d;
    DecodeDate(Value, y, m, d);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", unsigned(y), unsigned(m), unsigned(d));
    return buf;
}

String DateTimeToIso(TDateTime Value) {
    TDateTime day;
    long long seconds;
    SplitDateTime(Value, day, seconds);
    char buf[48];
    std::snprintf(buf, sizeof buf, " %02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return DateToIso(day) + buf;
}

std::optional<TDateTime> IsoToDateTime(std::string_view Text) {
    std::size_t pos = 0;
    int y, m, d, n;
    if (!ReadNumber(Text, pos, 4, y, &n) || n != 4 || pos >= Text.size() || Text[pos++] != '-') return {};
    if (!ReadNumber(Text, pos, 2, m, &n) || n != 2 || pos >= Text.size() || Text[pos++] != '-') return {};
    if (!ReadNumber(Text, pos, 2, d, &n) || n != 2) return {};
    TDateTime date;
    if (!TryEncodeDate(y, m, d, date)) return {};
    if (pos == Text.size()) return date;
    if (Text[pos] != ' ' && Text[pos] != 'T') return {};
    ++pos;
    int h, mi, s = 0;
    if (!ReadNumber(Text, pos, 2, h, &n) || n != 2 || pos >= Text.size() || Text[pos++] != ':') return {};
    if (!ReadNumber(Text, pos, 2, mi, &n) || n != 2) return {};
    double millis = 0;
    if (pos < Text.size() && Text[pos] == ':') {
        ++pos;
        if (!ReadNumber(Text, pos, 2, s, &n) || n != 2) return {};
        if (pos < Text.size() && Text[pos] == '.') {
            ++pos;
            double scale = 100;
            int count = 0;
            while (pos < Text.size() && IsDigit(Text[pos])) {
                millis += (Text[pos++] - '0') * scale;
                scale /= 10;
                ++count;
            }
            if (count == 0) return {};
        }
    }
    if (pos != Text.size() || h > 23 || mi > 59 || s > 59) return {};
    return date + TimeFraction(h, mi, s) + millis / (SecondsPerDay * 1000);
}

std::optional<TDateTime> TextToDateTime(std::string_view Text, bool AllowTime,
                                        const TFormatSettings& Settings) {
    std::string_view s = Trim(Text);
    // Order of day, month and year by the short date layout (month first
    // when the layout names none).
    String layout = LowerCase(Settings.ShortDateFormat);
    auto at = [&](char c) {
        std::size_t p = layout.find(c);
        return p == String::npos ? String::npos - (c == 'd' ? 1 : c == 'y' ? 0 : 2) : p;
    };
    struct Part {
        char Kind;
        std::size_t Pos;
    };
    Part order[3] = {{'d', at('d')}, {'m', at('m')}, {'y', at('y')}};
    std::sort(std::begin(order), std::end(order), [](const Part& a, const Part& b) { return a.Pos < b.Pos; });
    auto isSeparator = [&](char c) {
        return c == Settings.DateSeparator || c == '/' || c == '-' || c == '.';
    };

    std::size_t pos = 0;
    int values[3] = {0, 0, 0};
    int yearDigits = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= s.size() || !isSeparator(s[pos])) return {};
            ++pos;
        }
        int digits = 0;
        if (!ReadNumber(s, pos, order[i].Kind == 'y' ? 4 : 2, values[i], &digits)) return {};
        if (order[i].Kind == 'y') yearDigits = digits;
    }
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        if (order[i].Kind == 'd') day = values[i];
        if (order[i].Kind == 'm') month = values[i];
        if (order[i].Kind == 'y') year = values[i];
    }
    if (yearDigits <= 2) {
        Word ty, tm, td;
        DecodeDate(Date(), ty, tm, td);
        int century = ty - ty % 100;
        year += century;
        if (year > ty + 50)
            year -= 100;
        else if (year <= ty - 50)
            year += 100;
    }
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date)) return {};
    std::string_view rest = Trim(s.substr(pos));
    if (rest.empty()) return date;
    if (!AllowTime || pos >= s.size() || s[pos] != ' ') return {};
    std::size_t tp = 0;
    int h, mi, sec = 0;
    if (!ReadNumber(rest, tp, 2, h) || tp >= rest.size() || rest[tp++] != Settings.TimeSeparator) return {};
    if (!ReadNumber(rest, tp, 2, mi)) return {};
    if (tp < rest.size() && rest[tp] == Settings.TimeSeparator) {
        ++tp;
        if (!ReadNumber(rest, tp, 2, sec)) return {};
    }
    std::string_view marker = Trim(rest.substr(tp));
    if (!marker.empty()) {
        String upper = UpperCase(marker);
        bool pm = upper == UpperCase(Settings.TimePMString) || upper == "PM";
        bool am = upper == UpperCase(Settings.TimeAMString) || upper == "AM";
        if ((!pm && !am) || h < 1 || h > 12) return {};
        h = h % 12 + (pm ? 12 : 0);
    }
    if (h > 23 || mi > 59 || sec > 59) return {};
    return date + TimeFraction(h, mi, sec);
}

} // namespace fw
