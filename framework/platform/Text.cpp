#include <cstring>
#include <framework/graphics/FontEngine.h>
#include <framework/platform/Text.h>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

namespace {

bool LiveDC(HDC dc) {
    return IsLiveGdiObject(dc) && dc->Kind() == TGdiKind::DeviceContext;
}

std::string_view Slice(const char* text, int count) {
    if (!text) return {};
    return count < 0 ? std::string_view(text) : std::string_view(text, std::size_t(count));
}

// One line to draw: its characters and the index of the underlined one (-1: none).
struct Line {
    std::string Text;
    int Underline = -1;
    int Width = 0;
};

// Removes the '&' prefixes: "&x" underlines x, "&&" is "&", a lone '&' at the end is dropped.
Line StripPrefixes(std::string_view text, bool hide) {
    Line line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '&') {
            if (i + 1 >= text.size()) break;
            ++i;
            if (text[i] != '&' && !hide) line.Underline = int(line.Text.size());
        }
        line.Text += text[i];
    }
    return line;
}

// Breaks text into lines at CR, LF and CR LF; with word breaks, also between words.
std::vector<Line> Layout(TFontInstance& font, std::string_view text, unsigned format, int maxWidth) {
    bool prefixes = !(format & DT_NOPREFIX);
    bool hide = format & DT_HIDEPREFIX;
    std::vector<std::string_view> paragraphs;
    if (format & DT_SINGLELINE) {
        paragraphs.push_back(text);
    } else {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
                paragraphs.push_back(text.substr(start, i - start));
                if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                start = i + 1;
            }
        }
    }
    std::vector<Line> lines;
    for (std::string_view para : paragraphs) {
        Line whole = prefixes ? StripPrefixes(para, hide) : Line{std::string(para), -1, 0};
        if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE)) {
            whole.Width = font.TextWidth(whole.Text);
            lines.push_back(std::move(whole));
            continue;
        }
        // Greedy word wrap: a line ends before the word that would cross maxWidth; a word
        // longer than the line stands alone. Blanks at a break are dropped.
        const std::string& s = whole.Text;
        std::size_t pos = 0;
        do {
            std::size_t lineStart = pos;
            std::size_t lineEnd = pos;
            std::size_t scan = pos;
            while (scan < s.size()) {
                std::size_t wordEnd = s.find(' ', scan);
                if (wordEnd == std::string::npos) wordEnd = s.size();
                int w = font.TextWidth(std::string_view(s).substr(lineStart, wordEnd - lineStart));
                if (w > maxWidth && lineEnd > lineStart) break;
                lineEnd = wordEnd;
                scan = wordEnd;
                while (scan < s.size() && s[scan] == ' ')
                    ++scan;
                if (w > maxWidth) break;
            }
            Line line;
            line.Text = s.substr(lineStart, lineEnd - lineStart);
            if (whole.Underline >= int(lineStart) && whole.Underline < int(lineEnd))
                line.Underline = whole.Underline - int(lineStart);
            line.Width = font.TextWidth(line.Text);
            lines.push_back(std::move(line));
            pos = scan > lineEnd ? scan : lineEnd;
            if (pos == lineStart) ++pos; // no progress: never loop forever
        } while (pos < s.size());
    }
    return lines;
}

// Where a line of the given width starts, by the horizontal alignment.
int LineLeft(const TRect& rect, unsigned format, int width) {
    if (format & DT_CENTER) return rect.Left + (rect.Width() - width) / 2;
    if (format & DT_RIGHT) return rect.Right - width;
    return rect.Left;
}

// The top of a single line, by the vertical alignment.
int SingleLineTop(const TRect& rect, unsigned format, int lineHeight) {
    if (format & DT_VCENTER) return rect.Top + (rect.Height() - lineHeight) / 2;
    if (format & DT_BOTTOM) return rect.Bottom - lineHeight;
    return rect.Top;
}

} // namespace

bool GetTextMetricsA(HDC dc, TEXTMETRICA* tm) {
    if (!LiveDC(dc) || !tm) return false;
    TFontInstance& font = dc->FontInstance();
    const TFontMetrics& m = font.Metrics();
    const TLogFont* log = dc->Font() ? &dc->Font()->Log : nullptr;
    *tm = TEXTMETRICA{};
    tm->tmHeight = m.Height;
    tm->tmAscent = m.Ascent;
    tm->tmDescent = m.Descent;
    tm->tmInternalLeading = m.InternalLeading;
    tm->tmExternalLeading = m.ExternalLeading;
    tm->tmAveCharWidth = m.AveCharWidth;
    tm->tmMaxCharWidth = m.MaxCharWidth;
    tm->tmWeight = m.Weight;
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = ' ';
    tm->tmLastChar = char(0xFF);
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmItalic = m.Italic ? 1 : 0;
    tm->tmUnderlined = log && log->Underline ? 1 : 0;
    tm->tmStruckOut = log && log->StrikeOut ? 1 : 0;
    tm->tmPitchAndFamily = 0x22; // variable pitch, Swiss
    tm->tmCharSet = log ? log->Charset : DEFAULT_CHARSET;
    return true;
}

bool GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size) {
    if (!LiveDC(dc) || !size) return false;
    TFontInstance& font = dc->FontInstance();
    size->cx = font.TextWidth(Slice(text, count));
    size->cy = font.Metrics().Height;
    return true;
}

bool TextOutA(HDC dc, int x, int y, const char* text, int count) {
    if (!LiveDC(dc)) return false;
    dc->TextOut(x, y, Slice(text, count));
    return true;
}

bool ExtTextOutA(HDC dc, int x, int y, unsigned options, const TRect* rect, const char* text, int count) {
    if (!LiveDC(dc)) return false;
    const TRect* clip = (options & ETO_CLIPPED) && rect ? rect : nullptr;
    const TRect* opaque = (options & ETO_OPAQUE) && rect ? rect : nullptr;
    dc->TextOut(x, y, Slice(text, count), clip, opaque);
    return true;
}

int DrawTextA(HDC dc, const char* text, int count, TRect* rect, unsigned format) {
    if (!LiveDC(dc) || !rect) return 0;
    TFontInstance& font = dc->FontInstance();
    const TFontMetrics& m = font.Metrics();
    const int lineHeight = m.Height + ((format & DT_EXTERNALLEADING) ? m.ExternalLeading : 0);
    const std::string_view s = Slice(text, count);
    if (s.empty()) {
        if (format & DT_CALCRECT) {
            rect->Right = rect->Left;
            rect->Bottom = rect->Top;
        }
        return 0;
    }
    const TRect* clip = (format & DT_NOCLIP) ? nullptr : rect;
    const bool noPrefix = (format & DT_NOPREFIX) || s.find('&') == std::string_view::npos;
    if ((format & DT_SINGLELINE) && noPrefix && !(format & DT_CALCRECT)) {
        // One line as it stands (a day number, a caption): drawn straight from
        // the text, with no layout and nothing allocated.
        const int y = SingleLineTop(*rect, format, lineHeight);
        dc->TextOutUnderlined(LineLeft(*rect, format, font.TextWidth(s)), y, s, -1, clip);
        return (format & (DT_VCENTER | DT_BOTTOM)) ? y + lineHeight - rect->Top : lineHeight;
    }
    std::vector<Line> lines = Layout(font, s, format, rect->Width());
    const int total = lineHeight * int(lines.size());

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const Line& line : lines)
            widest = std::max(widest, line.Width);
        rect->Right = rect->Left + widest;
        rect->Bottom = rect->Top + total;
        return total;
    }

    int y = (format & DT_SINGLELINE) ? SingleLineTop(*rect, format, lineHeight) : rect->Top;
    for (const Line& line : lines) {
        dc->TextOutUnderlined(LineLeft(*rect, format, line.Width), y, line.Text, line.Underline, clip);
        y += lineHeight;
    }
    if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return y - rect->Top;
    return total;
}

} // namespace fw
