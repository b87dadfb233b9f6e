// Form files as other applications and older versions wrote them: typed
// numbers, UTF-16 halves, code pages named by the fonts' charsets, floats
// that must stay floats, and the lenient reader that keeps what it knows.

#include "TestClasses.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <framework/classes/FormText.h>
#include <framework/rtl/CodePages.h>
#include <framework/rtl/Utf8.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <limits>
#include <random>

namespace {

using namespace test;
using fw::TComponent;

TWidget* Widget(TComponent* c) {
    return static_cast<TWidget*>(c);
}

// The message of the EReadError reading text raises, or "" when it reads.
String ReadError(const String& text) {
    try {
        delete fw::ReadComponentFromText(text);
    } catch (const fw::EReadError& e) {
        return e.what();
    }
    return "";
}

class ForeignFormTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    void TearDown() override {
        fw::SetLenientRootClass(nullptr);
        fw::SetFormFileCodePage(1252);
        EXPECT_EQ(TWidget::Live, 0);
    }
};

struct TValueCase {
    const char* Value; // right of '='
    double Float;      // the float it makes,
    const char* Text;  // or the string (UTF-8),
    const char* Error; // or the error
};

const TValueCase ValueCases[] = {
    {"0c", 0, nullptr, nullptr},
    {"1.5s", 1.5, nullptr, nullptr},
    {"45000d", 45000, nullptr, nullptr},
    {"-2.25C", -2.25, nullptr, nullptr},
    {"1e3d", 1000, nullptr, nullptr},
    {"99999999999999999999c", 1e20, nullptr, nullptr}, // beyond the integers, still a float
    {"12x", 0, nullptr, "line 1: bad number"},
    {"1.5sd", 0, nullptr, "line 1: bad number"},
    {"$1Fs", 0, nullptr, "line 1: bad number"},
    {"#55356#57225", 0, "\xF0\x9F\x8E\x89", nullptr},
    {"#$D83D#$de00", 0, "\xF0\x9F\x98\x80", nullptr},
    {"'a'#55357#$DE00'b'", 0,
     "a\xF0\x9F\x98\x80"
     "b",
     nullptr},
    {"#55356", 0, nullptr, "a high UTF-16 half without a low one after it"},
    {"#55356'x'", 0, nullptr, "a high UTF-16 half without a low one after it"},
    {"#55356#55356", 0, nullptr, "a high UTF-16 half without a low one after it"},
    {"#57225", 0, nullptr, "a low UTF-16 half without a high one before it"},
};

TEST_F(ForeignFormTest, TypedNumbersAndUtf16HalvesParse) {
    for (const TValueCase& c : ValueCases) {
        SCOPED_TRACE(c.Value);
        if (c.Error != nullptr) {
            try {
                (void)fw::ParseFormValue(c.Value);
                ADD_FAILURE() << "no error";
            } catch (const fw::EReadError& e) {
                EXPECT_NE(String(e.what()).find(c.Error), String::npos) << e.what();
            }
            continue;
        }
        const auto parsed = fw::ParseFormValue(c.Value);
        const fw::TFormValue& v = *parsed;
        if (c.Text != nullptr) {
            ASSERT_EQ(v.Kind, fw::TFormValueKind::String);
            EXPECT_EQ(v.Text, c.Text);
        } else {
            ASSERT_EQ(v.Kind, fw::TFormValueKind::Float);
            EXPECT_EQ(v.Float, c.Float);
        }
    }
    // In a file: a float property takes them, an integer one does not, and
    // a bad suffix names its line.
    auto root = RoundTrip("object f: TTestForm\n  Ratio = 45000d\n  Caption = #55356#57225\nend\n");
    EXPECT_EQ(Widget(root.get())->Ratio, 45000);
    EXPECT_EQ(Widget(root.get())->Caption, "\xF0\x9F\x8E\x89");
    EXPECT_NE(ReadError("object f: TTestForm\n  Left = 0c\nend\n").find("line 2: property 'Left'"),
              String::npos);
    EXPECT_NE(ReadError("object f: TTestForm\n\n  Ratio = 3q\nend\n").find("line 3: bad number"),
              String::npos);
}

TEST_F(ForeignFormTest, FloatsAreWrittenToReadBackAsFloats) {
    const struct {
        double Value;
        const char* Text; // nullptr: only the read-back is checked
    } cases[] = {
        {1.0, "1.0"},
        {45000.0, "45000.0"},
        {-3.0, "-3.0"},
        {0.0, "0.0"},
        {0.1, "0.1"},
        {9007199254740993.0, nullptr},
        {std::ldexp(1.0, 63), "9223372036854775808.0"},
        {std::ldexp(1.0, 64), "18446744073709551616.0"},
        {1e300, "1e+300"},
        {-1e-300, "-1e-300"},
        {std::numeric_limits<double>::max(), nullptr},
        {std::numeric_limits<double>::denorm_min(), nullptr},
    };
    for (const auto& c : cases) {
        const String text = fw::FormatFormFloat(c.Value);
        SCOPED_TRACE(text);
        if (c.Text != nullptr) {
            EXPECT_EQ(text, c.Text);
        }
        const auto parsed = fw::ParseFormValue(text);
        const fw::TFormValue& v = *parsed;
        ASSERT_EQ(v.Kind, fw::TFormValueKind::Float);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(v.Float), std::bit_cast<std::uint64_t>(c.Value));
    }
}

struct TCodePageCase {
    const char* What;
    const char* Charset; // the root's Font.Charset line, or nullptr
    const char* Caption; // the caption's bytes in the file
    int CodePage;        // what FormTextCodePage finds
    const char* Read;    // the caption read, in UTF-8
};

const TCodePageCase CodePageCases[] = {
    {"Central European", "EASTEUROPE_CHARSET", "'Za\xBF\xF3\xB3\xE6'", 1250, "Zażółć"},
    {"Central European by number", "238", "'P\xF8\xEDli\x9A'", 1250, "Příliš"},
    {"Cyrillic", "RUSSIAN_CHARSET", "'\xCF\xF0\xE8\xE2\xE5\xF2'", 1251, "Привет"},
    {"Greek", "GREEK_CHARSET", "'\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1'", 1253, "Καλημέρα"},
    {"Turkish", "TURKISH_CHARSET", "'\xDEi\xFE'", 1254, "Şiş"},
    {"Hebrew", "HEBREW_CHARSET", "'\xF9\xEC\xE5\xED'", 1255, "שלום"},
    {"Arabic", "ARABIC_CHARSET", "'\xD3\xE1\xC7\xE3'", 1256, "سلام"},
    {"Baltic", "BALTIC_CHARSET", "'\xC0\xFEuolas'", 1257, "Ąžuolas"},
    {"Thai", "THAI_CHARSET", "'\xE4\xB7\xC2'", 874, "ไทย"},
    {"Japanese, a trail byte that is '{'", "SHIFTJIS_CHARSET", "'\x93\xFA\x96{'", 932, "日本"},
    {"Korean", "HANGEUL_CHARSET", "'\xC7\xD1\xB1\xB9'", 949, "한국"},
    {"Simplified Chinese", "GB2312_CHARSET", "'\xD6\xD0\xCE\xC4'", 936, "中文"},
    {"Traditional Chinese", "CHINESEBIG5_CHARSET", "'\xA4\xA4\xA4\xE5'", 950, "中文"},
    {"the default charset names none", "DEFAULT_CHARSET", "'caf\xE9'", 1252, "café"},
    {"no charset at all", nullptr, "'caf\xE9'", 1252, "café"},
    {"#nnn is a code point in any code page", "EASTEUROPE_CHARSET", "#1055'\xBF'", 1250, "Пż"},
    {"UTF-8 is never decoded again", "RUSSIAN_CHARSET", "'Привет'", 65001, "Привет"},
};

TEST_F(ForeignFormTest, FilesThatAreNotUtf8AreReadInTheirFontsCodePage) {
    for (const TCodePageCase& c : CodePageCases) {
        SCOPED_TRACE(c.What);
        String text = String("object f: TTestForm\n  Caption = ") + c.Caption + "\n";
        if (c.Charset != nullptr) text += String("  Font.Charset = ") + c.Charset + "\n";
        text += "end\n";
        EXPECT_EQ(fw::FormTextCodePage(text), c.CodePage);
        EXPECT_EQ(fw::ParseFormText(text)->Props[0].Value.Text, c.Read);
    }
    // A charset declared deeper in the file (a grid's title font) counts; a
    // Western one gives way to it.
    const String nested = "object f: TTestForm\n  Font.Charset = ANSI_CHARSET\n  Caption = '\xC4\xE0'\n"
                          "  object w: TWidget\n    TitleFont.Charset = RUSSIAN_CHARSET\n  end\nend\n";
    EXPECT_EQ(fw::FormTextCodePage(nested), 1251);
    EXPECT_EQ(fw::ParseFormText(nested)->Props[1].Value.Text, "Да");

    // A program names the code page of files that declare none.
    const String undeclared = "object f: TTestForm\n  Caption = '\xC4\xE0'\nend\n";
    EXPECT_EQ(fw::ParseFormText(undeclared)->Props[0].Value.Text, "Äà");
    fw::SetFormFileCodePage(1251);
    EXPECT_EQ(fw::ParseFormText(undeclared)->Props[0].Value.Text, "Да");
    EXPECT_EQ(fw::FormFileCodePage(), 1251);
    EXPECT_THROW(fw::SetFormFileCodePage(99999), fw::EConvertError);
    EXPECT_EQ(fw::FormFileCodePage(), 1251);
    // A byte the code page leaves undefined is its Windows-1252 character.
    EXPECT_EQ(fw::CodePageToUtf8("a\x98z", 1251), "a\xCB\x9Cz");
    EXPECT_EQ(fw::CodePageToUtf8("\x93\xFA\x96", 932), "日\xE2\x80\x93"); // a lead byte cut short
}

struct TLenientCase {
    const char* What;
    const char* Text;
    std::vector<std::pair<int, String>> Skipped; // line, the start of the message
    std::function<void(TComponent* root)> Check;
};

const std::vector<TLenientCase>& LenientCases() {
    static const std::vector<TLenientCase> cases = {
        {"an unknown root class is read as the lenient root class",
         "object frmOrders: TfrmOrders\n  Caption = 'Orders'\n  object btnOk: TWidget\n  end\nend\n",
         {{1, "unknown class 'TfrmOrders'; read as TTestForm"}},
         [](TComponent* root) {
             EXPECT_EQ(root->ClassName(), "TTestForm");
             EXPECT_EQ(root->Name(), "frmOrders");
             EXPECT_EQ(Widget(root)->Caption, "Orders");
             EXPECT_EQ(static_cast<TTestForm*>(root)->btnOk, root->FindComponent("btnOk"));
         }},
        {"an event without its method stays unbound",
         "object f: TTestForm\n  object b: TWidget\n    OnClick = Button1Click\n    OnKey = FormClick\n"
         "    Caption = 'kept'\n  end\nend\n",
         {{3, "unknown method 'Button1Click' of TTestForm; event 'OnClick' of TWidget left unbound"},
          {4, "method 'FormClick' does not fit event 'OnKey' of TWidget; event 'OnKey'"}},
         [](TComponent* root) {
             auto* b = Widget(root->FindComponent("b"));
             EXPECT_FALSE(b->OnClick);
             EXPECT_FALSE(b->OnKey);
             EXPECT_EQ(b->Caption, "kept");
         }},
        {"unknown identifiers leave the property; a set keeps what it knows",
         "object f: TTestForm\n  Lamp = lcPurple\n  Color = clWebOrange\n  Enabled = Maybe\n"
         "  Left = crHandPoint\n  Font.Style = [fsShadow, fsBold]\n  Font.Charset = KLINGON_CHARSET\nend\n",
         {{2, "unknown identifier 'lcPurple' for property 'Lamp' of TTestForm; left as it was"},
          {3, "unknown identifier 'clWebOrange' for property 'Color'"},
          {4, "unknown identifier 'Maybe' for property 'Enabled'"},
          {5, "unknown identifier 'crHandPoint' for property 'Left'"},
          {6, "unknown identifier 'fsShadow' for property 'Style' of TTestFont"},
          {7, "unknown identifier 'KLINGON_CHARSET' for property 'Charset'"}},
         [](TComponent* root) {
             auto* f = Widget(root);
             EXPECT_EQ(f->Lamp, lcRed);
             EXPECT_EQ(f->Color, clBtnFace);
             EXPECT_TRUE(f->Enabled());
             EXPECT_EQ(f->Font()->Style(), TStyles{fsBold});
         }},
        {"references to skipped or foreign components are left empty",
         "object f: TTestForm\n  object cdsCities: TClientDataSet\n    object inner: TWidget\n    end\n  "
         "end\n"
         "  object a: TWidget\n    Buddy = cdsCities\n  end\n  object b: TWidget\n    Buddy = inner\n  end\n"
         "  object c: TWidget\n    Buddy = dmMain.dsCities\n  end\n  object d: TWidget\n    Buddy = a\n  "
         "end\nend\n",
         {{2, "unknown class 'TClientDataSet'"},
          {7, "skipped component 'cdsCities' for property 'Buddy' of TWidget; left empty"},
          {10, "skipped component 'inner'"},
          {13, "unknown component 'dmMain.dsCities'"}},
         [](TComponent* root) {
             EXPECT_EQ(Widget(root->FindComponent("a"))->Buddy(), nullptr);
             EXPECT_EQ(Widget(root->FindComponent("c"))->Buddy(), nullptr);
             EXPECT_EQ(Widget(root->FindComponent("d"))->Buddy(), root->FindComponent("a"));
         }},
        {"inherited parts without their ancestors are read as they stand",
         "inherited frmChild: TDerivedForm\n  Caption = 'child'\n  inherited btnHelp: TWidget\n"
         "    Caption = 'Help'\n  end\n  inline fraTop: TGrid\n    Left = 3\n  end\nend\n",
         {{1, "no ancestor resource of TDerivedForm; read without it"},
          {3, "no inherited component 'btnHelp' in TDerivedForm; made from this file"},
          {6, "no resource for the frame class TGrid; read without it"}},
         [](TComponent* root) {
             EXPECT_EQ(Widget(root)->Caption, "child");
             EXPECT_EQ(Widget(root->FindComponent("btnHelp"))->Caption, "Help");
             EXPECT_EQ(Widget(root->FindComponent("fraTop"))->Left, 3);
         }},
    };
    return cases;
}

TEST_F(ForeignFormTest, LenientReadingKeepsWhatItKnowsAndReportsTheRestAtItsLine) {
    fw::SetLenientRootClass(TTestForm::StaticClass());
    for (const TLenientCase& c : LenientCases()) {
        SCOPED_TRACE(c.What);
        EXPECT_NE(ReadError(c.Text), "") << "strict reading refuses it";
        fw::TFormSkipList skipped;
        std::unique_ptr<TComponent> root;
        ASSERT_NO_THROW(root.reset(fw::ReadComponentFromText(c.Text, nullptr, &skipped)));
        ASSERT_EQ(skipped.size(), c.Skipped.size());
        for (std::size_t i = 0; i < skipped.size(); ++i) {
            EXPECT_EQ(skipped[i].Line, c.Skipped[i].first) << skipped[i].What;
            EXPECT_EQ(skipped[i].What.rfind(c.Skipped[i].second, 0), 0u) << skipped[i].What;
        }
        c.Check(root.get());
        // What was kept writes and reads back strictly.
        const String written = fw::WriteComponentToText(root.get());
        root.reset();
        RoundTrip(written);
    }
    // Broken syntax and values of the wrong kind still fail, with the line.
    for (const char* bad :
         {"object f: TTestForm\n  Left = 'text'\nend\n", "object f: TTestForm\n  Left = \nend\n",
          "object f: TTestForm\n  Lamp = 3\nend\n"}) {
        fw::TFormSkipList skipped;
        try {
            delete fw::ReadComponentFromText(bad, nullptr, &skipped);
            ADD_FAILURE() << bad;
        } catch (const fw::EReadError& e) {
            EXPECT_EQ(String(e.what()).rfind("line ", 0), 0u) << e.what();
        }
    }
}

// ---------------------------------------------------------------- generated

// A random code point of one of the planes real text uses, above U+FFFF too.
std::uint32_t RandomCodePoint(std::mt19937& rng) {
    const std::uint32_t ranges[][2] = {{0x20, 0x7E},       {0x01, 0x1F},       {0xA0, 0x24F},
                                       {0x370, 0x52F},     {0x4E00, 0x9FFF},   {0xE000, 0xFFFD},
                                       {0x1F300, 0x1FAFF}, {0x20000, 0x2A6DF}, {0x10000, 0x10FFFD}};
    const auto& r = ranges[std::uniform_int_distribution<std::size_t>(0, std::size(ranges) - 1)(rng)];
    return std::uniform_int_distribution<std::uint32_t>(r[0], r[1])(rng);
}

// A double of any magnitude: random bits (NaN and infinities included),
// whole numbers up to 2^80, and powers of two.
double RandomFloat(std::mt19937_64& rng) {
    switch (rng() % 3) {
    case 0:
        return std::bit_cast<double>(rng());
    case 1:
        return std::ldexp(static_cast<double>(rng() >> (rng() % 64)), static_cast<int>(rng() % 17));
    default:
        return std::ldexp(1.0, static_cast<int>(rng() % 2100) - 1074) * (rng() % 2 ? 1 : -1);
    }
}

// The text in a code page, or "" when it has a character the page lacks.
String Encode(const String& utf8, int codePage) {
    iconv_t cd = iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-8");
    String out(utf8.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    char* to = out.data();
    const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok ? out.substr(0, out.size() - outLeft) : String();
}

// The characters beyond U+FFFF of each quoted piece spelt as two UTF-16
// halves, as other writers spell them.
String AsUtf16Halves(const String& text) {
    String out;
    bool quoted = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const std::uint32_t c = fw::NextCodePoint(text, pos);
        if (c == '\'') quoted = !quoted; // '' toggles twice
        if (!quoted || c < 0x10000) {
            out.append(text, start, pos - start);
            continue;
        }
        const std::uint32_t v = c - 0x10000;
        char halves[32];
        std::snprintf(halves, sizeof halves, "'#%u#$%X'", 0xD800 + (v >> 10), 0xDC00 + (v & 0x3FF));
        out += halves;
    }
    return out;
}

TEST_F(ForeignFormTest, GeneratedFormsWithEveryValueKindWriteReadAndWriteTheSame) {
    struct TPage {
        int CodePage;
        int Charset;
    };
    const TPage pages[] = {{1250, 238}, {1251, 204}, {1253, 161}, {1257, 186}, {932, 128}, {936, 134}};
    std::mt19937 rng(2611);
    std::mt19937_64 bits(2611);
    int encoded = 0;
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TTestForm form(nullptr);
        form.SetName("frmGen");
        const TPage& page = pages[round % std::size(pages)];
        const bool paged = round % 3 == 0;
        // Text of that page's repertoire, or of the whole of Unicode.
        auto randomText = [&] {
            String s;
            for (int n = static_cast<int>(rng() % 12); n > 0; --n) {
                if (!paged) {
                    fw::AppendUtf8(s, RandomCodePoint(rng));
                    continue;
                }
                const char byte[3] = {static_cast<char>(0x80 + rng() % 0x80),
                                      static_cast<char>(0x40 + rng() % 0xBF), ' '};
                const String decoded = fw::CodePageToUtf8(String(byte, 3), page.CodePage);
                std::size_t pos = 0;
                const std::uint32_t c = fw::NextCodePoint(decoded, pos);
                if (c >= 0xA0 && c != 0xFFFD) fw::AppendUtf8(s, c);
                s += static_cast<char>(0x20 + rng() % 0x5F);
            }
            return s;
        };
        form.Caption = randomText();
        form.Ratio = RandomFloat(bits);
        form.Big = static_cast<std::int64_t>(bits());
        form.Lamp = static_cast<TLampColor>(rng() % 3);
        form.Font()->SetStyle(TStyles::FromBits(rng() % 16));
        form.Font()->Charset = paged ? page.Charset : 1;
        // Widgets and grids: lists, collections, references and events too.
        std::vector<TWidget*> widgets;
        for (int i = 0, n = static_cast<int>(rng() % 5); i < n; ++i) {
            auto* grid = rng() % 2 ? new TGrid(&form) : nullptr;
            TWidget* w = grid != nullptr ? grid : new TWidget(&form);
            w->SetName("w" + std::to_string(i));
            w->SetParentComponent(&form);
            w->Caption = randomText();
            w->Ratio = RandomFloat(bits);
            w->Left = static_cast<int>(rng());
            w->Color = static_cast<TColor>(rng());
            w->Data = randomText();
            if (rng() % 2) fw::SetMethodProp(w, "OnClick", &form, "FormClick");
            if (rng() % 2) fw::SetMethodProp(w, "OnKey", &form, "FormKey");
            for (int k = static_cast<int>(rng() % 3); grid != nullptr && k > 0; --k) {
                grid->Lines()->SetList({randomText(), randomText()});
                auto* column = static_cast<TColumn*>(grid->Columns()->Add());
                column->Width = static_cast<int>(rng() % 400);
                column->Title = randomText();
            }
            widgets.push_back(w);
        }
        for (TWidget* w : widgets)
            if (rng() % 2) w->SetBuddy(widgets[rng() % widgets.size()]);
        const String written = fw::WriteComponentToText(&form);
        auto check = [&](const String& text, const char* how) {
            SCOPED_TRACE(how);
            std::unique_ptr<TComponent> back;
            ASSERT_NO_THROW(back.reset(fw::ReadComponentFromText(text))) << text;
            EXPECT_EQ(fw::WriteComponentToText(back.get()), written) << text;
        };
        check(written, "as written");
        check(AsUtf16Halves(written), "beyond U+FFFF in UTF-16 halves");
        if (paged) {
            const String bytes = Encode(written, page.CodePage);
            if (!bytes.empty() && !fw::IsValidUtf8(bytes)) {
                ++encoded;
                EXPECT_EQ(fw::FormTextCodePage(bytes), page.CodePage);
                check(bytes, "in the code page its font names");
            }
        }
    }
    EXPECT_GT(encoded, 20); // the code pages were exercised
}

} // namespace
