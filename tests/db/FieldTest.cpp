// Field kinds: text in, value stored in the file, text out; bad text stores
// nothing; unreadable stored values open and show as stored.

#include "DbTestSupport.h"

#include <framework/db/FieldText.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/FormatSettings.h>

namespace fw::test {
namespace {

struct TTextCase {
    const char* Field;
    const char* Typed;   // written through Text
    const char* Stored;  // as the file holds it afterwards ("NULL"), or nullptr: refused
    const char* Text;    // the edit text read back
    const char* Display; // the display text read back
};

TEST(FieldText, TypedTextIsConvertedStoredAndShownByKind) {
    TFormatSettingsGuard settings;
    FormatSettings.ShortDateFormat = "d/mm/yyyy";
    FormatSettings.DateSeparator = '/';
    TScopedClock clock(EncodeDate(2026, 12, 8));
    const TTextCase cases[] = {
        {"name", "Ann", "Ann", "Ann", "Ann"},
        {"name", "", "", "", ""},                                // empty text stores the empty string
        {"name", "x123456789012345678901", nullptr, "p1", "p1"}, // longer than VARCHAR(20)
        {"visits", "42", "42", "42", "42"},
        {"visits", " -3 ", "-3", "-3", "-3"},
        {"visits", "", "NULL", "", ""},
        {"visits", "4.5", nullptr, "7", "7"},
        {"visits", "12abc", nullptr, "7", "7"},
        {"score", "2.25", "2.25", "2.25", "2.25"},
        {"score", "1E3", "1000.0", "1000", "1000"},
        {"score", "", "NULL", "", ""},
        {"score", "1,5", nullptr, "1.5", "1.5"},
        {"active", "true", "1", "True", "True"},
        {"active", "FALSE", "0", "False", "False"},
        {"active", "maybe", nullptr, "True", "True"},
        {"born", "7/12/2026", "2026-12-07", "7/12/2026", "7/12/2026"},
        {"born", "31/1/26", "2026-01-31", "31/01/2026", "31/01/2026"},
        {"born", "1/1/76", "2076-01-01", "1/01/2076", "1/01/2076"}, // within 50 years of 2026
        {"born", "1/1/77", "1977-01-01", "1/01/1977", "1/01/1977"},
        {"born", "", "NULL", "", ""},
        {"born", "30/2/2026", nullptr, "2/12/2026", "2/12/2026"},
        {"born", "garbage", nullptr, "2/12/2026", "2/12/2026"},
        {"seen", "8/12/2026 14:05:09", "2026-12-08 14:05:09", "8/12/2026 2:05:09 PM", "8/12/2026 2:05:09 PM"},
        {"seen", "8/12/2026", "2026-12-08 00:00:00", "8/12/2026", "8/12/2026"},
        {"seen", "8/12/2026 25:00", nullptr, "7/12/2026 10:30:00 AM", "7/12/2026 10:30:00 AM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Field) + " <- '" + c.Typed + "'");
        TTempDatabase db;
        db.MakePeople(1);
        TPeople people(db.File());
        TField* field = people.F(c.Field);
        people.Data->Edit();
        if (c.Stored) {
            field->SetText(c.Typed);
            people.Data->Post();
            EXPECT_EQ(db.Scalar(std::string("SELECT ") + c.Field + " FROM people"), c.Stored);
        } else {
            EXPECT_THROW(field->SetText(c.Typed), Exception);
            EXPECT_FALSE(people.Data->Modified()) << "a refused text stores nothing";
            people.Data->Cancel();
        }
        EXPECT_EQ(field->Text(), c.Text);
        EXPECT_EQ(field->DisplayText(), c.Display);
    }
}

TEST(FieldText, KindsReportTypeSizeAlignmentAndValidCharacters) {
    TTempDatabase db;
    db.MakePeople(1);
    TPeople people(db.File());
    struct {
        const char* Name;
        TFieldType Type;
        int Size;
        TAlignment Alignment;
        bool Required;
        const char* Refused; // printable characters IsValidChar refuses
    } const rows[] = {
        {"id", ftInteger, 0, taRightJustify, false, "a.,/ "},
        {"name", ftString, 20, taLeftJustify, true, ""},
        {"born", ftDate, 0, taRightJustify, false, ""},
        {"score", ftFloat, 0, taRightJustify, false, "a,/ "},
        {"active", ftBoolean, 0, taLeftJustify, false, ""},
        {"seen", ftDateTime, 0, taRightJustify, false, ""},
        {"visits", ftInteger, 0, taRightJustify, false, "x."},
    };
    ASSERT_EQ(people.Data->FieldCount(), 7);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Name);
        TField* f = people.F(r.Name);
        EXPECT_EQ(f->DataType(), r.Type);
        EXPECT_EQ(f->Size(), r.Size);
        EXPECT_EQ(f->Alignment(), r.Alignment);
        EXPECT_EQ(f->Required(), r.Required);
        EXPECT_EQ(f->FieldName(), r.Name);
        EXPECT_EQ(f->DisplayLabel(), r.Name);
        EXPECT_EQ(people.Data->Fields(f->Index()), f);
        for (char ch : std::string(r.Refused))
            EXPECT_FALSE(f->IsValidChar(ch)) << ch;
        for (char ch : std::string("0123456789+-\x03\x08\x16\x18"))
            EXPECT_TRUE(f->IsValidChar(ch)) << int(ch);
    }
    EXPECT_EQ(people.Data->FindField("NAME"), people.F("name"));
    EXPECT_EQ(people.Data->FindField("nope"), nullptr);
    EXPECT_THROW(people.Data->FieldByName("nope"), EDatabaseError);
}

TEST(FieldText, TypedAccessorsValueAndDisplayFormat) {
    TFormatSettingsGuard settings;
    FormatSettings.ShortDateFormat = "d/mm/yyyy";
    TTempDatabase db;
    db.MakePeople(3);
    TPeople people(db.File());
    people.Data->SetRecNo(3);
    EXPECT_EQ(people.F("id")->AsInteger(), 3);
    EXPECT_DOUBLE_EQ(people.F("score")->AsFloat(), 3.5);
    EXPECT_TRUE(people.F("active")->AsBoolean());
    EXPECT_EQ(people.F("born")->AsDateTime(), EncodeDate(2026, 12, 4));
    EXPECT_DOUBLE_EQ(people.F("seen")->AsDateTime(), EncodeDate(2026, 12, 7) + 10.5 / 24);
    EXPECT_EQ(std::get<std::int64_t>(people.F("visits")->Value()), 7);
    EXPECT_EQ(std::get<double>(people.F("born")->Value()), EncodeDate(2026, 12, 4));
    EXPECT_EQ(people.F("score")->AsString(), "3.5");

    people.F("score")->SetDisplayFormat("#,##0.00 'pts'");
    people.F("born")->SetDisplayFormat("yyyy mmm d");
    EXPECT_EQ(people.F("score")->DisplayText(), "3.50 pts");
    EXPECT_EQ(people.F("score")->Text(), "3.5");
    EXPECT_EQ(people.F("born")->DisplayText(), "2026 Dec 4");
    EXPECT_EQ(people.F("born")->Text(), "4/12/2026");

    people.Data->Edit();
    people.F("score")->SetAsFloat(1234567.891);
    people.F("born")->SetAsDateTime(EncodeDate(1999, 1, 2) + 0.75); // the time is dropped
    people.F("seen")->SetAsDateTime(EncodeDate(2000, 2, 29) + 0.5);
    people.F("visits")->SetValue(TVariant(std::int64_t{9}));
    people.F("active")->SetAsBoolean(false);
    people.F("name")->Clear();
    EXPECT_EQ(people.F("score")->DisplayText(), "1,234,567.89 pts");
    EXPECT_TRUE(people.F("name")->IsNull());
    EXPECT_THROW(people.Data->Post(), EDatabaseError) << "name is required";
    people.F("name")->SetAsString("Zed");
    people.Data->Post();
    EXPECT_EQ(db.Scalar("SELECT born || '|' || seen || '|' || visits || '|' || active || '|' || name "
                        "FROM people WHERE id = 3"),
              "1999-01-02|2000-02-29 12:00:00|9|0|Zed");
}

TEST(FieldText, EventsGetSetValidateAndChange) {
    TTempDatabase db;
    db.MakePeople(1);
    TPeople people(db.File());
    TField* name = people.F("name");
    std::vector<std::string> log;
    name->OnGetText = [&](TField* f, String& text, bool display) { text = (display ? "D:" : "E:") + text; };
    name->OnValidate = [&](TField* f) {
        log.push_back("validate " + f->AsString());
        if (f->AsString() == "bad") throw EDatabaseError("bad name");
    };
    name->OnChange = [&](TField* f) { log.push_back("change " + f->AsString()); };
    EXPECT_EQ(name->Text(), "E:p1");
    EXPECT_EQ(name->DisplayText(), "D:p1");
    people.Data->Edit();
    name->SetText("ok");
    EXPECT_THROW(name->SetText("bad"), EDatabaseError);
    EXPECT_EQ(name->AsString(), "ok") << "a refused value is put back";
    name->OnSetText = [&](TField* f, const String& text) { f->SetAsString("[" + text + "]"); };
    name->SetText("x");
    EXPECT_EQ(log, (std::vector<std::string>{"validate ok", "change ok", "validate bad", "validate [x]",
                                             "change [x]"}));
    people.Data->Post();
    EXPECT_EQ(db.Scalar("SELECT name FROM people"), "[x]");
}

TEST(FieldText, UnreadableStoredValuesOpenShowAsStoredAndAreNotRewritten) {
    TFormatSettingsGuard settings;
    FormatSettings.ShortDateFormat = "d/mm/yyyy";
    TTempDatabase db;
    db.MakePeople(4);
    db.Exec("UPDATE people SET born = 'garbage' WHERE id = 1");
    db.Exec("UPDATE people SET born = '2026-02-30' WHERE id = 2");
    db.Exec("UPDATE people SET born = 46000 WHERE id = 3");
    db.Exec("UPDATE people SET visits = 'many' WHERE id = 4");
    TPeople people(db.File());
    const char* shown[] = {"garbage", "2026-02-30", "46000"};
    for (int i = 0; i < 3; ++i) {
        people.Data->SetRecNo(i + 1);
        SCOPED_TRACE(shown[i]);
        TField* born = people.F("born");
        EXPECT_EQ(born->DisplayText(), shown[i]);
        EXPECT_EQ(born->Text(), shown[i]);
        EXPECT_FALSE(born->IsNull());
        try {
            born->AsDateTime();
            ADD_FAILURE() << "AsDateTime should raise";
        } catch (const EConvertError& e) {
            EXPECT_NE(std::string(e.what()).find(shown[i]), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("'born'"), std::string::npos) << e.what();
        }
        // Editing another field leaves the odd value as it is.
        people.Data->Edit();
        people.F("score")->SetAsFloat(100 + i);
        people.Data->Post();
    }
    people.Data->SetRecNo(4);
    EXPECT_EQ(people.F("visits")->DisplayText(), "many");
    EXPECT_THROW(people.F("visits")->AsInteger(), EConvertError);
    EXPECT_EQ(db.Scalar("SELECT group_concat(typeof(born) || ':' || born, ',') FROM people WHERE id <= 3"),
              "text:garbage,text:2026-02-30,integer:46000");
    EXPECT_EQ(db.Scalar("SELECT group_concat(score, ',') FROM people WHERE id <= 3"), "100.0,101.0,102.0");
    // A null date gives empty texts and 0, the framework's "no date".
    db.Exec("UPDATE people SET born = NULL WHERE id = 4");
    people.Data->Refresh();
    EXPECT_EQ(people.F("born")->Text(), "");
    EXPECT_EQ(people.F("born")->DisplayText(), "");
    EXPECT_EQ(people.F("born")->AsDateTime(), 0);
}

TEST(FieldText, NumberAndDateTextHelpers) {
    TFormatSettings s;
    s.DecimalSeparator = ',';
    s.ThousandSeparator = '.';
    EXPECT_EQ(FloatToText(0.1), "0.1");
    EXPECT_EQ(FloatToText(1e20), "1E20");
    EXPECT_EQ(FloatToText(-2.5e-7), "-2.5E-7");
    EXPECT_EQ(FloatToText(1.5, s), "1,5");
    EXPECT_EQ(TextToFloat("1,5", s), 1.5);
    EXPECT_FALSE(TextToFloat("1.5", s));
    EXPECT_FALSE(TextToFloat("1e"));
    EXPECT_FALSE(TextToFloat("--1"));
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, s), "1.234,50");
    EXPECT_EQ(FormatFloat("0.0;(0.0);'zero'", -2.26), "(2.3)");
    EXPECT_EQ(FormatFloat("0.0;(0.0);'zero'", 0), "zero");
    EXPECT_EQ(FormatFloat("#.##", 0.5), ".5");
    EXPECT_EQ(FormatFloat("000", 7), "007");
    EXPECT_EQ(IsoToDateTime("2026-12-07"), EncodeDate(2026, 12, 7));
    EXPECT_EQ(IsoToDateTime("2026-12-07T06:00"), EncodeDate(2026, 12, 7) + 0.25);
    for (const char* bad :
         {"2026-2-07", "2026-12-07 ", "2026-13-01", "46000", "07/12/2026", "2026-12-07 24:00"})
        EXPECT_FALSE(IsoToDateTime(bad)) << bad;
    EXPECT_EQ(DateTimeToIso(EncodeDate(2026, 12, 7) + 0.9999999), "2026-12-08 00:00:00");
}

} // namespace
} // namespace fw::test
