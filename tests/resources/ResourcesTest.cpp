// Resource modules: how files become resources, the string table and version record formats,
// loading bitmaps by number and by name, and the package's own embedded module.

#include "../graphics/TestBmp.h"

#include <QzComponents5/QzModule.h>
#include <framework/graphics/Bitmap.h>
#include <framework/rtl/Exceptions.h>
#include <gtest/gtest.h>

using namespace fw;

namespace {

std::vector<std::uint8_t> Bytes(const String& s) {
    return {s.begin(), s.end()};
}

std::vector<std::uint8_t> TinyBmp(TPixel colour) {
    return qztest::MakeBmp({2, 2, 24, false, {}}, {colour, colour, colour, colour});
}

} // namespace

TEST(ResourceModule, FilesAreClassifiedByFolderNameAndExtension) {
    TResourceModule m("test");
    m.AddFile("bitmaps/200.bmp", TinyBmp(0x0000FF));
    m.AddFile("bitmaps/QzLedSrd0.bmp", TinyBmp(0x00FF00));
    m.AddFile("forms/TFRMTEST.dfm", Bytes("object frmTest: TfrmTest\nend\n"));
    m.AddFile("icons/MAINICON.ico", Bytes("ico"));
    m.AddFile("strings", Bytes("# comment\n\n300 \"'%s' is \"\"odd\"\"\"\n301 \"Invalid Date!\"\n"));
    m.AddFile("version", Bytes("Version 5.0.0.0\nTranslation 0C0904E4\nFileDescription \"Qz Components\"\n"));
    m.AddFile("README.txt", Bytes("ignored"));

    EXPECT_NE(m.FindBitmap(200), nullptr);
    EXPECT_EQ(m.FindBitmap(201), nullptr);
    EXPECT_EQ(m.FindBitmap("200"), nullptr); // numbered bitmaps are not named ones
    EXPECT_NE(m.FindBitmap("QZLEDSRD0"), nullptr);
    EXPECT_NE(m.FindBitmap("qzledsrd0"), nullptr);
    ASSERT_NE(m.FindForm("TfrmTest"), nullptr);
    EXPECT_EQ(m.FindForm("TfrmTest")->substr(0, 6), "object");
    EXPECT_NE(m.FindIcon("mainicon"), nullptr);
    ASSERT_NE(m.FindString(300), nullptr);
    EXPECT_EQ(*m.FindString(300), "'%s' is \"odd\"");
    EXPECT_EQ(*m.FindString(301), "Invalid Date!");
    ASSERT_TRUE(m.Version().has_value());
    EXPECT_EQ(m.Version()->Major, 5);
    EXPECT_EQ(m.Version()->Minor, 0);
    EXPECT_EQ(m.Version()->Translation, "0C0904E4");
    EXPECT_EQ(m.Version()->Value("FileDescription"), "Qz Components");
    EXPECT_EQ(m.Version()->Value("Missing"), "");
    EXPECT_EQ(m.BitmapCount(), 2u);
}

TEST(ResourceModule, MalformedTablesAreReported) {
    EXPECT_THROW(ParseStringTable("abc \"x\""), EResourceError);
    EXPECT_THROW(ParseStringTable("300 unquoted"), EResourceError);
    EXPECT_THROW(ParseStringTable("300 \"bad \" quote\""), EResourceError);
    EXPECT_THROW(ParseVersionRecord("Version 5.0"), EResourceError);
    EXPECT_THROW(ParseVersionRecord("Version 5.0.0.0.1"), EResourceError);
    EXPECT_THROW(ParseVersionRecord("ProductName unquoted"), EResourceError);
}

TEST(LoadBitmap, ByNumberAndNameMissingGivesZero) {
    TResourceModule m("test");
    m.AddFile("bitmaps/7.bmp", TinyBmp(0x0000FF));
    m.AddFile("bitmaps/Lamp.bmp", TinyBmp(0x00FF00));
    m.AddFile("bitmaps/Broken.bmp", Bytes("BMnot really"));
    std::size_t before = LiveGdiObjectCount();

    HBITMAP h = LoadBitmapA(&m, 7);
    ASSERT_NE(h, nullptr);
    TBitmap b;
    b.SetHandle(h); // the bitmap takes it over
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Surface()->Pixel(0, 0), 0x0000FFu);
    b.SetHandle(LoadBitmapA(&m, "LAMP"));
    EXPECT_EQ(b.Surface()->Pixel(1, 1), 0x00FF00u);
    EXPECT_EQ(LiveGdiObjectCount(), before + 1);

    EXPECT_EQ(LoadBitmapA(&m, 8), nullptr);
    EXPECT_EQ(LoadBitmapA(&m, "NOSUCH"), nullptr);
    EXPECT_EQ(LoadBitmapA(&m, "Broken"), nullptr); // unreadable loads like missing
    EXPECT_EQ(LoadBitmapA(nullptr, 7), nullptr);
    b.SetHandle(LoadBitmapA(&m, "NOSUCH")); // a missing image empties the bitmap
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(LiveGdiObjectCount(), before);

    // Loaded again after the module's picture changed in place: the new picture,
    // and a picture that became unreadable loads like a missing one.
    b.SetHandle(LoadBitmapA(&m, 7));
    m.AddBitmap(7, TinyBmp(0x123456));
    b.SetHandle(LoadBitmapA(&m, 7));
    EXPECT_EQ(b.Surface()->Pixel(0, 0), 0x123456u);
    m.AddBitmap(7, Bytes("BMbroken now"));
    EXPECT_EQ(LoadBitmapA(&m, 7), nullptr);
}

TEST(ResourceRegistry, FormResourcesAreFoundInTheNewestModuleFirst) {
    TResourceModule base("base");
    base.AddForm("TFRMX", "base text");
    TResourceModule language("language");
    language.AddForm("TFRMX", "translated text");
    RegisterResourceModule(&base);
    RegisterResourceModule(&base); // once only
    ASSERT_NE(FindFormResource("tfrmx"), nullptr);
    EXPECT_EQ(*FindFormResource("TFRMX"), "base text");
    RegisterResourceModule(&language);
    EXPECT_EQ(*FindFormResource("TFRMX"), "translated text");
    UnregisterResourceModule(&language);
    UnregisterResourceModule(&base);
    EXPECT_EQ(FindFormResource("TFRMX"), nullptr);
}

TEST(PackageModule, HoldsTheEmbeddedResources) {
    HINSTANCE package = qz::HInstance();
    EXPECT_EQ(package, qz::HInstance());
    EXPECT_EQ(qz::LoadStr(300), "'%s' is not a valid date!");
    EXPECT_EQ(qz::LoadStr(301), "Invalid Date!");
    EXPECT_EQ(qz::LoadStr(304), "'%s' is later than %s!");
    EXPECT_EQ(LoadStr(package, 305), "");
    ASSERT_TRUE(package->Version().has_value());
    EXPECT_EQ(package->Version()->Major, 5);
    EXPECT_EQ(package->Version()->Minor, 0);
    EXPECT_EQ(package->Version()->Value("FileDescription"), "Qz Components");
    EXPECT_EQ(package->Version()->Value("ProductName"), "QzComponents5");

    // The popup's form resource and button images, and the glyphs, as the package uses them.
    const String* form = FindFormResource("TFRMQZCAL");
    ASSERT_NE(form, nullptr);
    EXPECT_NE(form->find("object frmQzCal: TfrmQzCal"), String::npos);
    for (int id : {200, 201, 202, 203, 204, 205, 210, 211, 212, 213, 214, 215, 216, 217}) {
        TBitmap b;
        b.SetHandle(LoadBitmapA(package, id));
        EXPECT_FALSE(b.Empty()) << id;
    }
    TBitmap arrow;
    arrow.SetHandle(LoadBitmapA(package, 210));
    EXPECT_EQ(arrow.Width(), 17);
    EXPECT_EQ(arrow.Height(), 17);
    TBitmap led;
    led.SetHandle(LoadBitmapA(package, "qzledsrd0"));
    EXPECT_EQ(led.Width(), 10);
    EXPECT_EQ(LoadBitmapA(package, "QZLEDSXX9"), nullptr);
}
