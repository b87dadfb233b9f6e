#include "Tour.h"

#include "PopupList.h"

#include <algorithm>
#include <cstdio>
#include <framework/backends/headless/Automation.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/TypInfo.h>
#include <framework/controls/Control.h>
#include <framework/designer/Palette.h>
#include <framework/forms/Dialogs.h>
#include <framework/graphics/Png.h>
#include <framework/platform/Keys.h>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <vector>

namespace qzdesign {

namespace {

namespace Ui = fw::Ui;

fw::TSurface Crop(const fw::TSurface& Image, const fw::TRect& R) {
    fw::TSurface out(R.Right - R.Left, R.Bottom - R.Top);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            if (Image.Contains(R.Left + x, R.Top + y)) out.SetPixel(x, y, Image.Pixel(R.Left + x, R.Top + y));
    return out;
}

fw::TRect ScreenBounds(const fw::TControl* C) {
    return {C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height()};
}

fw::TRect Union(const fw::TRect& A, const fw::TRect& B) {
    return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
            std::max(A.Bottom, B.Bottom)};
}

fw::String ReadFile(const std::filesystem::path& Path) {
    std::ifstream file(Path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

fw::String Printable(const fw::String& Text) {
    fw::String out;
    for (char c : Text)
        out += c == '\r' ? fw::String("\\r") : fw::String(1, c);
    return out;
}

class TTour {
public:
    TTour(const TDesignerWindows& W, const std::filesystem::path& Dir, std::ostream& Progress)
        : W(W), Dir(Dir), Progress(Progress), Transcript(Dir / "transcript.txt") {}

    // One step: its action, then a picture of the screen and the transcript lines.
    void Step(const fw::String& Name, const fw::String& Action, const std::function<void()>& Body) {
        ++Number;
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%02d-", Number);
        Lines.clear();
        Current = prefix + Name;
        Transcript << prefix << Name << ": " << Action << "\n";
        Progress << prefix << Name << ": " << Action << "\n";
        try {
            Body();
        } catch (const std::exception& e) {
            Transcript << "  FAILED: " << e.what() << "\n";
            Transcript.flush();
            fw::SavePng(Ui::Screenshot(), (Dir / (prefix + Name + "-FAILED.png")).string());
            throw ETourFailed(fw::String(prefix) + Name + ": " + e.what());
        }
        for (const fw::String& line : Lines)
            Transcript << "  " << line << "\n";
        Transcript.flush();
        fw::SavePng(Ui::Screenshot(), (Dir / (prefix + Name + ".png")).string());
    }

    void Check(bool Condition, const fw::String& Seen) {
        if (!Condition) throw ETourFailed("expected: " + Seen);
        Lines.push_back("seen: " + Seen);
    }
    void Note(const fw::String& Text) { Lines.push_back(Text); }
    // A picture taken inside a modal loop of the current step: NN-name-what.png.
    void Snap(const fw::String& What) {
        fw::SavePng(Ui::Screenshot(), (Dir / (Current + "-" + What + ".png")).string());
        Lines.push_back("picture: " + Current + "-" + What + ".png");
    }
    void SaveCloseUp(const fw::String& Name, const fw::TSurface& Image) {
        fw::SavePng(Image, (Dir / (Name + ".png")).string());
    }

    const TDesignerWindows& W;
    std::filesystem::path Dir;
    std::ostream& Progress;
    std::ofstream Transcript;
    std::vector<fw::String> Lines;
    int Number = 0;
    fw::String Current;
};

} // namespace

void RunTour(const TDesignerWindows& W, const fw::String& ModulePath, const std::filesystem::path& Dir,
             std::ostream& Progress) {
    TTour tour(W, Dir, Progress);
    TFormDesigner& designer = *W.Designer;
    TInspectorGrid* grid = W.Inspector->Grid();
    auto surface = [&] { return designer.Surface(); };
    auto component = [&](const fw::String& name) {
        fw::TComponent* c = surface()->FindComponent(name);
        if (c == nullptr) throw ETourFailed("no component " + name + " on the form");
        return c;
    };
    auto control = [&](const fw::String& name) {
        auto* c = dynamic_cast<fw::TControl*>(component(name));
        if (c == nullptr) throw ETourFailed(name + " is not a control");
        return c;
    };
    auto clickOn = [&](const fw::String& name, bool shift = false) {
        fw::TComponent* c = component(name);
        fw::TPoint p = {c->DesignLeft() + 14, c->DesignTop() + 14};
        if (auto* ctl = dynamic_cast<fw::TControl*>(c)) p = {ctl->Left() + ctl->Width() / 2, ctl->Top() + 4};
        if (shift) Ui::KeyDown(fw::VK_SHIFT);
        Ui::Click(surface(), p.X, p.Y);
        if (shift) Ui::KeyUp(fw::VK_SHIFT);
    };
    // Opens the DateFormat drop-down and picks a value; Seen runs inside the open list.
    auto pickDateFormat = [&](const fw::String& value, const std::function<void(TPopupList*)>& seen) {
        const int row = grid->RowOf("DateFormat");
        tour.Check(row >= 0, "the inspector lists DateFormat");
        bool opened = false;
        Ui::OnNextModal([&](fw::TForm* form) {
            auto* list = dynamic_cast<TPopupList*>(form);
            if (list == nullptr) throw ETourFailed("the drop-down did not open");
            opened = true;
            if (seen) seen(list);
            const auto& items = list->Items();
            const auto it = std::find(items.begin(), items.end(), value);
            if (it == items.end()) throw ETourFailed(value + " is not in the drop-down");
            const fw::TRect r = list->ItemRect(int(it - items.begin()));
            Ui::Click(list, r.Left + 10, (r.Top + r.Bottom) / 2);
        });
        // Click the first row's name, walk down to DateFormat with the arrow key, then click its value.
        Ui::Click(grid, 10, 4);
        while (grid->SelectedRow() < row)
            Ui::PressKey(fw::VK_DOWN);
        const fw::TRect cell = grid->ValueRect(row);
        Ui::Click(grid, cell.Left + 20, cell.Top + 8);
        tour.Check(opened, "the drop-down opened and " + value + " was chosen");
    };
    // Answers the next About box: checks it and presses OK.
    auto expectAbout = [&](const fw::String& closeUp) {
        auto shown = std::make_shared<bool>(false);
        Ui::OnNextModal([&tour, shown, closeUp](fw::TForm* form) {
            *shown = true;
            const fw::String caption = Ui::MessageBoxCaption();
            const fw::String text = Ui::MessageBoxText();
            tour.Check(caption == "About Qz Components", "the About box \"" + caption + "\"");
            tour.Check(text.rfind("Qz Components \rVersion 5.0 (25-Apr-2002)\r", 0) == 0,
                       "its text \"" + Printable(text) + "\"");
            tour.Check(Ui::ActiveMessageBox()->ButtonCount() == 1, "one button, OK");
            if (!closeUp.empty()) tour.SaveCloseUp(closeUp, Ui::FormImage(form));
            tour.Snap("about");
            Ui::PressButton("OK");
        });
        return [shown, &tour] { tour.Check(*shown, "the About box was shown and closed"); };
    };

    // ------------------------------------------------------------ the steps

    const fw::TPalettePage* page = fw::FindPalettePage("QzComponents");
    tour.Step("palette", "load the package module " + ModulePath, [&] {
        tour.Check(page != nullptr, "the palette page \"QzComponents\"");
        fw::String names;
        for (const fw::TClassInfo* cls : page->Classes)
            names += (names.empty() ? "" : ", ") + cls->Name;
        tour.Check(W.Palette->ClassButtons().size() == page->Classes.size(),
                   std::to_string(page->Classes.size()) + " buttons: " + names);
        for (fw::TBitBtn* b : W.Palette->ClassButtons())
            tour.Check(b->Glyph() != nullptr && b->Glyph()->Width() == 24,
                       b->Hint() + " shows its 24 x 24 image");
        tour.SaveCloseUp("palette", Ui::FormImage(W.Palette));
    });

    // Where each class is dropped, in palette order; a second date edit goes below the first.
    struct TDrop {
        fw::String Class;
        fw::TPoint At;
        fw::String Name;
    };
    std::vector<TDrop> drops = {
        {"TQzCalendar", {400, 16}, "QzCalendar1"},     {"TQzDateEdit", {16, 16}, "QzDateEdit1"},
        {"TQzDateEdit", {16, 56}, "QzDateEdit2"},      {"TQzDBDateEdit", {16, 112}, "QzDBDateEdit1"},
        {"TQzDBDateText", {16, 160}, "QzDBDateText1"}, {"TQzLED", {300, 20}, "QzLED1"},
    };
    for (const TDrop& drop : drops) {
        fw::TBitBtn* button = nullptr;
        for (std::size_t i = 0; i < page->Classes.size(); ++i)
            if (page->Classes[i]->Name == drop.Class) button = W.Palette->ClassButtons()[i];
        if (button == nullptr) continue; // not on this palette
        tour.Step("drop-" + drop.Name,
                  "click the " + drop.Class + " button, then the form at (" + std::to_string(drop.At.X) +
                      ", " + std::to_string(drop.At.Y) + ")",
                  [&] {
                      Ui::Click(button);
                      Ui::Click(surface(), drop.At.X, drop.At.Y);
                      fw::TComponent* c = component(drop.Name);
                      tour.Check(c->ClassName() == drop.Class,
                                 drop.Name + ": " + drop.Class + " on the form");
                      tour.Check(c->ComponentState().Contains(fw::csDesigning), "it is being designed");
                      tour.Check(designer.Selection() == std::vector<fw::TComponent*>{c}, "it is selected");
                  });
    }

    tour.Step("select-two", "click QzDateEdit1, then Shift+click QzDateEdit2", [&] {
        clickOn("QzDateEdit1");
        clickOn("QzDateEdit2", true);
        tour.Check(designer.Selection().size() == 2, "two date edits selected");
        tour.Check(grid->RowOf("DateFormat") >= 0, "the inspector offers DateFormat for both");
    });

    tour.Step("dateformat-both", "open the DateFormat drop-down and choose yyyy/mm/dd", [&] {
        pickDateFormat("yyyy/mm/dd", [&](TPopupList* list) {
            tour.Check(list->Items().size() == 12 && list->Items().front() == "yyyy/mm/dd" &&
                           list->Items().back() == "m/d/yyyy",
                       "twelve layouts from yyyy/mm/dd to m/d/yyyy");
            tour.Snap("dropdown");
            const fw::TSurface screen = Ui::Screenshot();
            tour.SaveCloseUp("inspector-dateformat",
                             Crop(screen, Union(ScreenBounds(W.Inspector), ScreenBounds(list))));
        });
        for (const char* name : {"QzDateEdit1", "QzDateEdit2"})
            tour.Check(fw::GetStrProp(component(name), "DateFormat") == "yyyy/mm/dd",
                       fw::String(name) + ".DateFormat = yyyy/mm/dd");
        tour.Check(grid->ShownValue(grid->RowOf("DateFormat")) == "yyyy/mm/dd",
                   "the inspector shows yyyy/mm/dd");
    });

    tour.Step("dateformat-differ", "select QzDateEdit2 alone, choose d/m/yyyy, select both again", [&] {
        clickOn("QzDateEdit2");
        pickDateFormat("d/m/yyyy", nullptr);
        clickOn("QzDateEdit1");
        clickOn("QzDateEdit2", true);
        const int row = grid->RowOf("DateFormat");
        tour.Check(!grid->Editor(row)->AllEqual(), "AllEqual is false");
        tour.Check(grid->ShownValue(row).empty(), "the DateFormat value is blank");
    });

    tour.Step("context-menu", "right-click QzLED1 and choose the verb", [&] {
        fw::TControl* led = control("QzLED1");
        bool menu = false;
        Ui::OnNextModal([&](fw::TForm* form) {
            auto* list = dynamic_cast<TPopupList*>(form);
            if (list == nullptr) throw ETourFailed("the context menu did not open");
            menu = true;
            tour.Check(list->Items() == std::vector<fw::String>{"&Version 5.0"}, "one verb, &Version 5.0");
            tour.Snap("menu");
            Ui::Click(list, 20, list->ItemRect(0).Top + 8);
        });
        auto shown = expectAbout("about");
        Ui::Click(surface(), led->Left() + 4, led->Top() + 4, fw::mbRight);
        tour.Check(menu, "the context menu opened");
        shown();
    });

    tour.Step("double-click", "double-click the QzCalendar1 icon", [&] {
        fw::TComponent* cal = component("QzCalendar1");
        auto shown = expectAbout("");
        Ui::DoubleClick(surface(), cal->DesignLeft() + 14, cal->DesignTop() + 14);
        shown();
    });

    const std::filesystem::path formFile = Dir / "Form1.dfm";
    auto typeFileName = [&](const fw::String& path) {
        Ui::Click(W.Palette->FileEdit());
        Ui::PressKey(fw::VK_HOME);
        Ui::PressKey(fw::VK_END, {fw::ssShift});
        Ui::TypeText(path);
    };
    fw::String saved;
    tour.Step("save", "type the file name and click Save", [&] {
        std::filesystem::remove(formFile);
        typeFileName(formFile.string());
        Ui::Click(W.Palette->SaveButton());
        saved = ReadFile(formFile);
        tour.Check(!saved.empty() && saved == designer.FormText(),
                   formFile.filename().string() + " holds the form");
        tour.Note("first line: " + saved.substr(0, saved.find('\n')));
    });

    tour.Step("reopen", "click Open on the same file", [&] {
        const int count = surface()->ComponentCount();
        fw::TComponent* before = surface();
        Ui::Click(W.Palette->OpenButton());
        tour.Check(surface() != before, "a new form was read");
        tour.Check(surface()->ComponentCount() == count, std::to_string(count) + " components again");
        tour.Check(designer.FormText() == saved, "writing it again gives the same text");
    });

    tour.Step("broken-file", "open a form file with an unknown property", [&] {
        const std::filesystem::path broken = Dir / "Broken.dfm";
        {
            std::ofstream out(broken);
            out << "object Form1: TForm\n  Left = 8\n  Colour = clRed\nend\n";
        }
        const fw::String before = designer.FormText();
        fw::String message;
        Ui::OnNextModal([&](fw::TForm*) {
            message = Ui::MessageBoxText();
            tour.Snap("error");
            Ui::PressButton("OK");
        });
        typeFileName(broken.string());
        Ui::Click(W.Palette->OpenButton());
        tour.Check(message.find("line 3") != fw::String::npos,
                   "the reader's error \"" + Printable(message) + "\"");
        tour.Check(designer.FormText() == before, "the form is unchanged");
        tour.Check(ReadFile(formFile) == saved, "the saved file is untouched");
    });

    tour.Step("inspector-scroll", "scroll the inspector with the wheel and the scroll bar, click a lower row",
              [&] {
                  clickOn("QzDateEdit1");
                  tour.Check(grid->HasScrollBar(), "the date edit's rows do not all fit: a scroll bar shows");
                  const int x = grid->NameWidth() / 2, y = grid->ClientHeight() / 2;
                  Ui::Wheel(grid, x, y, -120);
                  tour.Check(grid->TopRow() == TInspectorGrid::WheelRows,
                             "a notch of the wheel scrolls three rows");
                  Ui::Wheel(grid, x, y, 120);
                  tour.Check(grid->TopRow() == 0, "and back");
                  const fw::TRect thumb = grid->ThumbRect();
                  Ui::Click(grid, thumb.Left + 8, thumb.Bottom + 4);
                  tour.Check(grid->TopRow() ==
                                 std::min(grid->VisibleRows() - 1, grid->RowCount() - grid->VisibleRows()),
                             "a press below the thumb scrolls a page (or to the last row)");
                  Ui::Click(grid, thumb.Left + 8, 2);
                  tour.Check(grid->TopRow() == 0, "a press above it scrolls back");
                  Ui::MouseDown(grid, thumb.Left + 8, grid->ThumbRect().Top + 2);
                  Ui::MouseMove(grid, thumb.Left + 8, grid->ClientHeight() + 40);
                  Ui::MouseUp(grid, thumb.Left + 8, grid->ClientHeight() + 40);
                  tour.Check(grid->TopRow() == grid->RowCount() - grid->VisibleRows(),
                             "the thumb dragged down shows the last row");
                  const int last = grid->RowCount() - 1;
                  Ui::Click(grid, x, (last - grid->TopRow()) * TInspectorGrid::RowHeight + 4);
                  tour.Check(grid->SelectedRow() == last, "the last row is selected with the mouse");
              });

    tour.Step("close-unsaved", "change a value, close the designer: Cancel keeps it open, No closes it", [&] {
        tour.Check(!designer.IsModified(), "nothing changed since the form was opened");
        pickDateFormat("m/d/yyyy", nullptr);
        tour.Check(grid->ShownValue(grid->RowOf("DateFormat")) == "m/d/yyyy",
                   "the inspector shows the change");
        const fw::TRect box = W.Palette->CloseBoxRect();
        const fw::TPoint closeBox{(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2};
        fw::String asked;
        Ui::OnNextModal([&](fw::TForm*) {
            asked = Ui::MessageBoxText();
            tour.Snap("ask");
            Ui::PressButton("Cancel");
        });
        Ui::ClickAt(closeBox);
        tour.Check(asked.find("Save the changes") != fw::String::npos, "the designer asks \"" + asked + "\"");
        tour.Check(W.Palette->Visible(), "Cancel keeps the designer open");
        Ui::OnNextModal([&](fw::TForm*) { Ui::PressButton("No"); });
        Ui::ClickAt(closeBox);
        tour.Check(!W.Palette->Visible(), "No closes it without saving");
        tour.Check(ReadFile(formFile) == saved, "the file is as saved");
    });
}

} // namespace qzdesign
