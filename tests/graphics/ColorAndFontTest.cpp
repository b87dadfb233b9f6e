// Colours, the colour and charset identifiers of form files, and TFont's published properties.

#include <framework/classes/TypInfo.h>
#include <framework/graphics/Font.h>
#include <framework/platform/Gdi.h>
#include <gtest/gtest.h>

using namespace fw;

TEST(Colors, SystemColoursResolveThroughTheClassicTable) {
    struct Row {
        TColor Color;
        TColor Rgb;
    };
    for (Row row : {Row{clBtnFace, RGB(192, 192, 192)}, Row{clWindow, RGB(255, 255, 255)},
                    Row{clWindowFrame, RGB(0, 0, 0)}, Row{clWindowText, RGB(0, 0, 0)},
                    Row{clBtnShadow, RGB(128, 128, 128)}, Row{clGrayText, RGB(128, 128, 128)},
                    Row{clBtnText, RGB(0, 0, 0)}, Row{clBtnHighlight, RGB(255, 255, 255)},
                    Row{clRed, 0x0000FF}, Row{clWhite, 0xFFFFFF}, Row{0x02123456, 0x123456}}) {
        EXPECT_EQ(ColorToRGB(row.Color), row.Rgb) << std::hex << row.Color;
    }
    EXPECT_EQ(clBtnFace, 0x8000000Fu);
    EXPECT_EQ(clBtnText, 0x80000012u);
    EXPECT_EQ(clBtnHighlight, 0x80000014u);
    EXPECT_EQ(ColorToRGB(SystemColorBase + 200), clBlack); // beyond the table
}

TEST(Colors, IdentifiersRoundTrip) {
    EXPECT_EQ(ColorToIdent(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToIdent(0xC0C0C0), "clSilver");
    EXPECT_EQ(IdentToColor("clLtGray"), clSilver);
    EXPECT_EQ(IdentToColor("CLBLACK"), clBlack);
    EXPECT_FALSE(ColorToIdent(0x123456).has_value());
    EXPECT_FALSE(IdentToColor("clNothing").has_value());
    EXPECT_EQ(IdentToCharset("DEFAULT_CHARSET"), 1);
    EXPECT_EQ(CharsetToIdent(0), "ANSI_CHARSET");
}

TEST(FontProperties, PublishedAsFormFilesWriteThem) {
    TFont font;
    SetPropText(&font, "Charset", "DEFAULT_CHARSET");
    SetPropText(&font, "Color", "clBlack");
    SetPropText(&font, "Height", "-8");
    SetPropText(&font, "Name", "'MS Sans Serif'");
    SetPropText(&font, "Style", "[fsBold]");
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(font.Color(), clBlack);
    EXPECT_EQ(font.Height(), -8);
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_TRUE(font.Style().Contains(fsBold));
    EXPECT_EQ(GetPropText(&font, "Color"), "clBlack");
    EXPECT_EQ(GetPropText(&font, "Charset"), "DEFAULT_CHARSET");
    EXPECT_EQ(GetPropText(&font, "Style"), "[fsBold]");
    SetPropText(&font, "Color", "clBtnFace");
    EXPECT_EQ(font.Color(), clBtnFace);
    EXPECT_EQ(GetPropText(&font, "Color"), "clBtnFace");

    // Size is derived from Height and not stored; the other four are always written.
    EXPECT_EQ(font.Size(), 6);
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11);
    EXPECT_FALSE(GetPropInfo(&font, "Size")->IsStored(&font));
    for (const char* name : {"Charset", "Color", "Height", "Name", "Style"})
        EXPECT_TRUE(GetPropInfo(&font, name)->IsStored(&font)) << name;
}

TEST(FontProperties, ChangesFireOnChangeOnceAndEqualValuesNot) {
    TFont font;
    int changes = 0;
    font.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &font);
        ++changes;
    };
    font.SetHeight(-11); // the default: no change
    font.SetColor(clWindowText);
    EXPECT_EQ(changes, 0);
    font.SetHeight(-13);
    font.SetStyle({fsItalic});
    font.SetName("Liberation Serif");
    EXPECT_EQ(changes, 3);
    TFont other;
    font.Assign(&other);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Height(), -11);
}

TEST(FontProperties, AFontChangedBackTakesItsEarlierHandleBackAndCountsOnlyTheOneInUse) {
    const std::size_t live = LiveGdiObjectCount();
    TFont font;
    TGdiFont* regular = font.Handle();
    font.SetStyle({fsBold});
    TGdiFont* bold = font.Handle();
    EXPECT_FALSE(IsLiveGdiObject(regular));
    EXPECT_EQ(LiveGdiObjectCount(), live + 1);
    font.SetColor(clRed); // the colour is not the handle's
    EXPECT_EQ(font.Handle(), bold);
    font.SetStyle({});
    EXPECT_EQ(font.Handle(), regular);
    EXPECT_TRUE(IsLiveGdiObject(regular));
    EXPECT_FALSE(IsLiveGdiObject(bold));
    font.SetHeight(-20);
    font.SetStyle({fsBold});
    font.Handle();
    font.SetStyle({}); // regular at -11 was the third state back: made anew
    EXPECT_EQ(font.Handle()->Log.Height, -20);
    EXPECT_EQ(LiveGdiObjectCount(), live + 1);
}

TEST(FontProperties, ChangingAFontFreesItsHandleEvenWhileSelected) {
    TFont font;
    HDC dc = GetDC(0);
    TGdiFont* first = font.Handle();
    SelectObject(dc, first);
    font.SetHeight(-20); // the old handle goes; the context falls back to the system font
    EXPECT_FALSE(IsLiveGdiObject(first));
    EXPECT_EQ(dc->Font(), StockSystemFont());
    EXPECT_NE(font.Handle(), nullptr);
    ReleaseDC(0, dc);
}
