// The data-aware date edit's own painting while it does not have the focus and its
// field is right-aligned or centred, and the text margin that painting uses.

#include <Qzde/QzDateControls.h>
#include <algorithm>
#include <framework/controls/ControlCanvas.h>
#include <framework/platform/Gdi.h>
#include <framework/platform/Rects.h>
#include <framework/platform/Text.h>
#include <framework/platform/Windows.h>

namespace qz {

void TQzDBDateEdit::WMPaint(fw::TMessage& Message) {
    // The platform edit paints left-aligned, and paints the focused edit anyway.
    if (FAlignment == fw::taLeftJustify || FFocused) {
        inherited::WMPaint(Message);
        return;
    }
    // Made once, on the first aligned paint, and kept.
    if (!FCanvas) {
        FCanvas = new fw::TControlCanvas();
        FCanvas->SetControl(this);
    }
    fw::HDC DC = reinterpret_cast<fw::HDC>(Message.WParam);
    fw::PAINTSTRUCT PS;
    const bool Began = DC == nullptr;
    if (Began) DC = fw::BeginPaint(Handle(), &PS);
    FCanvas->SetHandle(DC);
    try {
        FCanvas->Font()->Assign(Font());
        fw::TRect R = ClientRect();
        if (BorderStyle() == fw::bsSingle) {
            FCanvas->Brush()->SetColor(fw::clWindowFrame);
            FCanvas->FrameRect(R);
            fw::InflateRect(&R, -1, -1);
        }
        FCanvas->Brush()->SetColor(Color());
        const fw::String S = DisplayText();
        const int W = FCanvas->TextWidth(S);
        const int M = BorderStyle() != fw::bsNone ? FTextMargin : 0;
        // C++ division truncates toward zero, as the centring asks.
        const int X = FAlignment == fw::taRightJustify ? R.Right - W - M : (R.Left + R.Right - W) / 2;
        // The text's top is measured from the client area's top, not from R's.
        FCanvas->TextRect(R, X, M, S);
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        if (Began) fw::EndPaint(Handle(), &PS);
        throw;
    }
    FCanvas->SetHandle(nullptr);
    if (Began) fw::EndPaint(Handle(), &PS);
}

void TQzDBDateEdit::CMFontChanged(fw::TMessage& Message) {
    inherited::CMFontChanged(Message);
    CalcTextMargin();
}

void TQzDBDateEdit::CalcTextMargin() {
    fw::HDC DC = fw::GetDC(0);
    fw::TEXTMETRICA SysMetrics{};
    fw::TEXTMETRICA Metrics{};
    fw::GetTextMetricsA(DC, &SysMetrics);
    fw::HGDIOBJ SaveFont = fw::SelectObject(DC, Font()->Handle());
    fw::GetTextMetricsA(DC, &Metrics);
    fw::SelectObject(DC, SaveFont);
    fw::ReleaseDC(0, DC);
    FTextMargin = std::min(SysMetrics.tmHeight, Metrics.tmHeight) / 4;
}

} // namespace qz
