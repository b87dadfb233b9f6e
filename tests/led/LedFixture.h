#pragma once
// A borderless grey form with one lamp on it, and what the lamp tests share: the
// hue codes of the image names, the lamp shapes, and image comparison.

#include <QzComponents5/QzModule.h>
#include <Qzled/Qzled.h>
#include <framework/backends/headless/Automation.h>
#include <framework/forms/Form.h>
#include <framework/resources/Resources.h>
#include <memory>
#include <string>
#include <tests/support/UiFixture.h>

namespace qztest {

inline const char* const HueCodes[] = {"AM", "BL", "GN", "LB", "LM", "PK", "PP", "RD", "TL"};

// Whether the lamp of a size covers a pixel (column x, row y, both from 0) of
// its 10 x 10 image; every other pixel is pure white.
inline bool LampCovers(qz::TLEDSize Size, int x, int y) {
    // First covered column of each row; a row covers first .. 9 - first.
    static constexpr int LargeFirst[] = {2, 1, 0, 0, 0, 0, 0, 0, 1, 2};
    static constexpr int SmallFirst[] = {10, 3, 2, 1, 1, 1, 1, 2, 3, 10};
    const int first = Size == qz::lzLarge ? LargeFirst[y] : SmallFirst[y];
    return x >= first && x <= 9 - first;
}

// The seven large images whose highlight pixel (column 3, row 2) lets the background through.
inline bool HighlightIsClear(const std::string& Name) {
    for (const char* Clear :
         {"QZLEDLAM1", "QZLEDLAM2", "QZLEDLBL1", "QZLEDLBL2", "QZLEDLLM1", "QZLEDLLM2", "QZLEDLPP1"})
        if (Name == Clear) return true;
    return false;
}

// The package module's image of that name, decoded afresh (empty when missing).
inline std::unique_ptr<fw::TBitmap> ModuleImage(const std::string& Name) {
    auto Image = std::make_unique<fw::TBitmap>();
    Image->SetHandle(fw::LoadBitmapA(qz::HInstance(), Name.c_str()));
    return Image;
}

inline bool SamePixels(const fw::TBitmap& A, const fw::TBitmap& B) {
    if (A.Empty() || B.Empty()) return A.Empty() && B.Empty();
    return *A.Surface() == *B.Surface();
}

class LedFixture : public fw::test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<fw::TForm>(nullptr);
        form->SetBorderStyle(fw::bsNone);
        form->SetBounds(0, 0, 40, 30);
        form->SetColor(fw::clBtnFace);
        led = new qz::TQzLED(form.get());
        led->SetName("LED1");
        led->SetParent(form.get());
        led->SetBounds(4, 6, 11, 11);
        form->Show();
        fw::Ui::Pump();
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    // The form as a person sees it, painted up to date.
    fw::TSurface Picture() { return fw::Ui::FormImage(form.get()); }
    // A pixel of the picture, in the lamp's own coordinates.
    fw::TColor LampPixel(const fw::TSurface& Shot, int x, int y) const {
        return Shot.Pixel(led->Left() + x, led->Top() + y);
    }

    std::unique_ptr<fw::TForm> form;
    qz::TQzLED* led = nullptr;
};

} // namespace qztest
