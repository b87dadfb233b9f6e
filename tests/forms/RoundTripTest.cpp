// Generated forms: every published property of every component class set to
// random values (through the property tables, in random order), written,
// read back and written again. The two texts must be the same, whatever the
// values: the writer writes nothing its reader cannot take back.

#include <QzComponents5/QzRegister.h>
#include <Qzde/QzDateControls.h>
#include <Qzled/Qzled.h>
#include <algorithm>
#include <cstring>
#include <framework/classes/FormFile.h>
#include <framework/classes/TypInfo.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Form.h>
#include <limits>
#include <memory>
#include <random>
#include <tests/support/UiFixture.h>

namespace fw {
namespace {

const String Texts[] = {"",
                        "plain",
                        "it's",
                        "two\r\nlines",
                        "Gr\xC3\xBC\xC3\x9F"
                        "e",
                        "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
                        "tab\there #35",
                        "a verylongwordthatcannotbreakanywhereatall b c",
                        "&Accel",
                        "party \xF0\x9F\x8E\x89 beyond U+FFFF"};
const double Floats[] = {0.0,
                         1.0,
                         45000.0,
                         9223372036854775808.0,  // 2^63
                         18446744073709551616.0, // 2^64
                         1e300,
                         1.5,
                         -2.25e10,
                         1e-300,
                         std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity()};

class TGenerator {
public:
    explicit TGenerator(unsigned seed) : FRng(seed) {}

    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(FRng); }

    // Sets each writable property of obj (nested objects too) to a random
    // value, in a random order; values a setter refuses are skipped.
    void Fill(TObject* obj, int depth = 0) {
        std::vector<const TPropInfo*> props = GetPropList(obj);
        std::shuffle(props.begin(), props.end(), FRng);
        for (const TPropInfo* p : props) {
            if (p->Name == "Name") continue;
            try {
                Assign(obj, *p, depth);
            } catch (const Exception&) {
                // A value the property refuses: it keeps the one it had.
            }
        }
    }

private:
    void Assign(TObject* obj, const TPropInfo& p, int depth) {
        switch (p.Kind) {
        case TTypeKind::Integer: {
            const std::int64_t v = static_cast<std::int64_t>(Pick(400)) - 100;
            p.SetOrd(obj, std::clamp(v, p.MinValue, p.MaxValue));
            return;
        }
        case TTypeKind::Boolean:
            p.SetOrd(obj, static_cast<std::int64_t>(Pick(2)));
            return;
        case TTypeKind::Enumeration:
            p.SetOrd(obj, static_cast<std::int64_t>(Pick(p.Idents.size())));
            return;
        case TTypeKind::Set:
            p.SetOrd(obj, static_cast<std::int64_t>(
                              Pick(std::size_t{1} << std::min<std::size_t>(p.Idents.size(), 8))));
            return;
        case TTypeKind::String:
            if (p.Writable()) p.SetStr(obj, Texts[Pick(std::size(Texts))]);
            return;
        case TTypeKind::Float:
            if (p.Writable()) p.SetFloat(obj, Floats[Pick(std::size(Floats))]);
            return;
        case TTypeKind::Class:
            if (TPersistent* inner = p.GetObject(obj); inner != nullptr && depth < 2) Fill(inner, depth + 1);
            return;
        case TTypeKind::Binary:    // bitmap data must be a picture
        case TTypeKind::Component: // references are covered by the component-model tests
        case TTypeKind::Event:
            return;
        }
    }

    std::mt19937 FRng;
};

class RoundTripTest : public test::UiFixture {
protected:
    static void SetUpTestSuite() { qz::RegisterPackageClasses(); }
};

// The first line that differs, as "line N: 'a' vs 'b'"; empty when the texts are equal.
String FirstDifference(const String& a, const String& b) {
    std::size_t pa = 0, pb = 0;
    for (int line = 1;; ++line) {
        const std::size_t ea = a.find('\n', pa), eb = b.find('\n', pb);
        const String la = a.substr(pa, ea - pa), lb = b.substr(pb, eb - pb);
        if (la != lb) return "line " + std::to_string(line) + ": '" + la + "' vs '" + lb + "'";
        if (ea == String::npos || eb == String::npos) return ea == eb ? "" : "different lengths";
        pa = ea + 1;
        pb = eb + 1;
    }
}

// The text without its bounds lines.
String WithoutBounds(const String& text) {
    String out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == String::npos) end = text.size();
        const String line = text.substr(pos, end - pos);
        const std::size_t first = line.find_first_not_of(' ');
        bool bounds = false;
        for (const char* name :
             {"Left = ", "Top = ", "Width = ", "Height = ", "ClientWidth = ", "ClientHeight = "})
            bounds = bounds || line.compare(first, std::strlen(name), name) == 0;
        if (!bounds) out += line + "\n";
        pos = end + 1;
    }
    return out;
}

template <typename T>
T* Make(TForm* form, const String& name) {
    auto* c = new T(form);
    c->SetName(name);
    if constexpr (std::is_base_of_v<TControl, T>) c->SetParent(form);
    return c;
}

TEST_F(RoundTripTest, GeneratedFormsWriteReadAndWriteTheSameText) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TGenerator gen(seed);
        auto form = std::make_unique<TForm>(nullptr);
        form->SetName("Form1");
        std::vector<TComponent*> parts{
            Make<TEdit>(form.get(), "Edit1"),     Make<TLabel>(form.get(), "Label1"),
            Make<TButton>(form.get(), "Button1"), Make<TBitBtn>(form.get(), "BitBtn1"),
            Make<TTimer>(form.get(), "Timer1"),   Make<qz::TQzDateEdit>(form.get(), "DateEdit1"),
            Make<qz::TQzLED>(form.get(), "LED1"), Make<qz::TQzCalendar>(form.get(), "Calendar1")};
        for (TComponent* c : parts)
            gen.Fill(c);
        gen.Fill(form.get());

        // Loading settles what a component adjusts itself (auto-sized bounds,
        // a form's position when shown): only bounds may differ the first
        // time; from then on the text is a fixed point.
        const String first = WriteComponentToText(form.get());
        std::unique_ptr<TComponent> copy;
        ASSERT_NO_THROW(copy.reset(ReadComponentFromText(first))) << first;
        const String second = WriteComponentToText(copy.get());
        EXPECT_EQ(FirstDifference(WithoutBounds(first), WithoutBounds(second)), "") << first;
        ASSERT_NO_THROW(copy.reset(ReadComponentFromText(second))) << second;
        EXPECT_EQ(FirstDifference(second, WriteComponentToText(copy.get())), "") << second;
    }
}

// Properties whose meaning depends on others: assigned in the writer's order
// whatever the file's, and stored whenever the value is the control's own.
TEST_F(RoundTripTest, DependentPropertiesReadBackAsWritten) {
    // The glyph before the calendar switch in the file: the switch applies
    // first, as in a written file, and a switched-off calendar keeps its glyph.
    const String handWritten = "object Form1: TForm\n"
                               "  ShowHint = True\n"
                               "  object DateEdit1: TQzDateEdit\n"
                               "    GlyphType = gtEllipsis\n"
                               "    CalendarEnabled = False\n"
                               "    ShowHint = False\n"
                               "  end\n"
                               "end\n";
    String written = handWritten;
    written.replace(written.find("    GlyphType"), 55,
                    "    CalendarEnabled = False\n    GlyphType = gtEllipsis\n");
    std::unique_ptr<TComponent> root(ReadComponentFromText(handWritten));
    std::unique_ptr<TComponent> same(ReadComponentFromText(written));
    auto* edit = dynamic_cast<qz::TQzDateEdit*>(root->FindComponent("DateEdit1"));
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->CalendarEnabled());
    EXPECT_EQ(edit->GlyphType(), qz::gtCustom);
    EXPECT_FALSE(edit->ShowHint());
    EXPECT_EQ(WriteComponentToText(root.get()), WriteComponentToText(same.get()));

    // A control's own ShowHint = False under a form showing hints survives.
    auto form = std::make_unique<TForm>(nullptr);
    form->SetName("Form2");
    form->SetShowHint(true);
    auto* led = Make<qz::TQzLED>(form.get(), "LED1");
    led->SetShowHint(false);
    auto* label = Make<TLabel>(form.get(), "Label1");
    EXPECT_TRUE(label->ShowHint()); // follows the form
    std::unique_ptr<TComponent> back(ReadComponentFromText(WriteComponentToText(form.get())));
    EXPECT_FALSE(dynamic_cast<qz::TQzLED*>(back->FindComponent("LED1"))->ShowHint());
    EXPECT_TRUE(dynamic_cast<TLabel*>(back->FindComponent("Label1"))->ShowHint());

    // A word-wrapped auto-sized label with a word longer than its width.
    label->SetWordWrap(true);
    label->SetBounds(0, 0, 40, 17);
    label->SetCaption("a b verylongwordthatcannotbreak c d e");
    const TRect bounds = label->BoundsRect();
    back.reset(ReadComponentFromText(WriteComponentToText(form.get())));
    EXPECT_EQ(dynamic_cast<TLabel*>(back->FindComponent("Label1"))->BoundsRect(), bounds);
}

} // namespace
} // namespace fw
