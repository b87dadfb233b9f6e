#include "PaletteForm.h"

#include <framework/classes/FormText.h>
#include <framework/forms/Application.h>
#include <framework/forms/Dialogs.h>
#include <framework/graphics/Bitmap.h>
#include <framework/platform/Text.h>
#include <framework/platform/Windows.h>

namespace qzdesign {

namespace {

constexpr int ButtonSize = 32;
constexpr int ButtonTop = 24;
constexpr int TabLeft = 4;

// The selection arrow on a button-face ground (its lower-left pixel, the transparent colour).
void DrawArrow(fw::TBitmap& glyph) {
    glyph.SetSize(24, 24);
    fw::TCanvas* c = glyph.Canvas();
    c->Brush()->SetColor(fw::clSilver);
    c->FillRect({0, 0, 24, 24});
    c->Brush()->SetColor(fw::clBlack);
    for (int row = 0; row < 12; ++row)
        c->FillRect({8, 4 + row, 9 + row * 2 / 3, 5 + row});
    c->FillRect({11, 15, 13, 21});
}

} // namespace

TPaletteForm::TPaletteForm(TFormDesigner* Designer) : fw::TForm(nullptr), FDesigner(Designer) {
    SetCaption("Qz Designer");
    SetBorderStyle(fw::bsSingle);
    SetClientWidth(1016);
    SetClientHeight(62);

    FArrow = new fw::TBitBtn(this);
    FArrow->SetParent(this);
    FArrow->SetBounds(TabLeft, ButtonTop, ButtonSize, ButtonSize);
    fw::TBitmap arrow;
    DrawArrow(arrow);
    FArrow->SetGlyph(&arrow);
    FArrow->SetHint("Select");
    FArrow->OnClick = [this](fw::TObject*) {
        FDesigner->SetPendingClass(nullptr);
        SetStatus("Click a component on the form to select it");
    };

    auto* label = new fw::TLabel(this);
    label->SetParent(this);
    label->SetCaption("Form file:");
    label->SetBounds(560, 33, 52, 16);
    FFile = new fw::TEdit(this);
    FFile->SetParent(this);
    FFile->SetBounds(614, 29, 220, 21);
    label->SetFocusControl(FFile);
    FOpen = new fw::TButton(this);
    FOpen->SetParent(this);
    FOpen->SetCaption("&Open");
    FOpen->SetBounds(842, 27, 75, 25);
    FOpen->OnClick = [this](fw::TObject* Sender) { OpenClick(Sender); };
    FSave = new fw::TButton(this);
    FSave->SetParent(this);
    FSave->SetCaption("&Save");
    FSave->SetBounds(925, 27, 75, 25);
    FSave->OnClick = [this](fw::TObject* Sender) { SaveClick(Sender); };
    FStatus = new fw::TLabel(this);
    FStatus->SetParent(this);
    FStatus->SetBounds(560, 6, 450, 16);
    OnCloseQuery = [this](fw::TObject* Sender, bool& CanClose) { PaletteCloseQuery(Sender, CanClose); };
}

void TPaletteForm::ShowPage(const fw::String& Page) {
    for (fw::TBitBtn* b : FButtons)
        delete b;
    FButtons.clear();
    const fw::TPalettePage* page = Page.empty()
                                       ? (fw::PalettePages().empty() ? nullptr : &fw::PalettePages()[0])
                                       : fw::FindPalettePage(Page);
    FPage = page != nullptr ? page->Name : fw::String();
    if (page != nullptr) {
        int x = TabLeft + ButtonSize + 8;
        for (const fw::TClassInfo* cls : page->Classes) {
            auto* button = new fw::TBitBtn(this);
            button->SetParent(this);
            button->SetBounds(x, ButtonTop, ButtonSize, ButtonSize);
            button->SetHint(cls->Name);
            fw::TBitmap glyph;
            glyph.SetHandle(fw::LoadPaletteBitmap(cls));
            if (!glyph.Empty()) button->SetGlyph(&glyph);
            button->OnClick = [this, cls](fw::TObject*) {
                FDesigner->SetPendingClass(cls);
                SetStatus("Click on the form to drop a " + cls->Name);
            };
            FButtons.push_back(button);
            x += ButtonSize;
        }
    }
    Invalidate();
}

void TPaletteForm::SetStatus(const fw::String& Text) {
    FStatus->SetCaption(Text);
}

void TPaletteForm::Paint() {
    fw::TForm::Paint();
    // The page tab above the buttons.
    fw::TCanvas* c = Canvas();
    const fw::String caption = FPage.empty() ? fw::String("(no components)") : FPage;
    const int width = c->TextWidth(caption) + 12;
    const fw::TRect tab{TabLeft + ButtonSize + 6, 4, TabLeft + ButtonSize + 6 + width, ButtonTop};
    c->Pen()->SetColor(fw::clBtnHighlight);
    c->MoveTo(tab.Left, tab.Bottom);
    c->LineTo(tab.Left, tab.Top);
    c->LineTo(tab.Right, tab.Top);
    c->Pen()->SetColor(fw::clBtnShadow);
    c->LineTo(tab.Right, tab.Bottom);
    c->Brush()->SetColor(fw::clBtnFace);
    c->Font()->SetColor(fw::clBtnText);
    fw::TRect text = tab;
    fw::DrawTextA(c->Handle(), caption.c_str(), -1, &text,
                  fw::DT_SINGLELINE | fw::DT_VCENTER | fw::DT_CENTER | fw::DT_NOPREFIX);
}

void TPaletteForm::OpenClick(fw::TObject*) {
    const fw::String path = FFile->Text();
    try {
        FDesigner->Open(path);
        SetStatus("Opened " + path);
    } catch (const fw::Exception& e) {
        SetStatus("Not opened: the form is unchanged");
        fw::Application->MessageBox("Cannot open '" + path + "':\r" + e.what(), "Open",
                                    fw::MB_OK | fw::MB_ICONSTOP);
    }
}

void TPaletteForm::SaveClick(fw::TObject*) {
    const fw::String path = FFile->Text();
    try {
        FDesigner->Save(path);
        SetStatus("Saved " + path);
    } catch (const fw::Exception& e) {
        SetStatus("Not saved");
        fw::Application->MessageBox(e.what(), "Save", fw::MB_OK | fw::MB_ICONSTOP);
    }
}

void TPaletteForm::PaletteCloseQuery(fw::TObject* Sender, bool& CanClose) {
    if (!FDesigner->IsModified()) return;
    const fw::String name = FFile->Text().empty() ? fw::String("the form") : "'" + FFile->Text() + "'";
    const int answer = fw::MessageDlg("Save the changes to " + name + " before closing?", fw::mtConfirmation,
                                      {fw::mbYes, fw::mbNo, fw::mbCancel}, 0);
    if (answer == fw::mrNo) return;
    if (answer != fw::mrYes || FFile->Text().empty()) {
        if (answer == fw::mrYes) SetStatus("Type the form file's name, then Save");
        CanClose = false;
        return;
    }
    SaveClick(Sender);
    CanClose = !FDesigner->IsModified();
}

} // namespace qzdesign
