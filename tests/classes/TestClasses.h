#pragma once
// Small component classes that exercise every kind of published property,
// parent/child hooks, fields, methods and the notification order.

#include <framework/classes/ClassRegistry.h>
#include <framework/classes/Collection.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/Strings.h>
#include <framework/classes/TypInfo.h>
#include <memory>

namespace test {

using fw::String;

// What the components under test did, in order.
std::vector<String>& Log();

enum TLampColor { lcAmber, lcBlue, lcRed };
enum TStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TStyles = fw::Set<TStyle>;
using TColor = std::uint32_t;
constexpr TColor clBlack = 0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnText = 0x80000012;

// A TTestForm with every kind of property, children, references and events.
extern const char* const RichForm;

// Registers the test colour and charset names and the test classes.
void RegisterTestClasses();

class TTestFont : public fw::TPersistent {
    FW_CLASS(TTestFont, fw::TPersistent)
public:
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    String Name() const { return FName; }
    void SetName(const String& v) { FName = v; }
    TStyles Style() const { return FStyle; }
    void SetStyle(TStyles v) { FStyle = v; }
    TColor Color = clBlack;
    int Charset = 1;

private:
    int FHeight = -11;
    String FName = "Sans";
    TStyles FStyle;
};

using TKeyEvent = std::function<void(fw::TObject* Sender, fw::Word& Key)>;

class TWidget : public fw::TComponent {
    FW_CLASS(TWidget, fw::TComponent)
public:
    explicit TWidget(fw::TComponent* AOwner);
    ~TWidget() override;
    static int Live; // instances alive, to check that failed reads free what they made

    int Left = 0;
    int Top = 0;
    String Caption;
    TLampColor Lamp = lcRed;
    double Ratio = 0;
    String Data;
    TColor Color = clBtnFace;
    std::int64_t Big = 0;
    fw::TNotifyEvent OnClick;
    TKeyEvent OnKey;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    int EnabledSets = 0;
    TTestFont* Font() const { return FFont.get(); }
    TWidget* Buddy() const { return FBuddy; }
    void SetBuddy(TWidget* v);
    TWidget* Parent() const { return FParent; }

    bool HasParent() const override { return true; }
    fw::TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(fw::TComponent* Value) override;
    void GetChildren(const std::function<void(fw::TComponent*)>& proc, fw::TComponent* root) override;

    void Click() {
        if (OnClick) OnClick(this);
    }

protected:
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    void Loaded() override;

private:
    bool FEnabled = true;
    std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
    TWidget* FBuddy = nullptr;
    TWidget* FParent = nullptr;
    std::vector<TWidget*> FChildren;
};

// A non-visual component with design positions written last.
class TTicker : public fw::TComponent {
    FW_CLASS(TTicker, fw::TComponent)
public:
    using TComponent::TComponent;
    int Interval = 1000;
    bool Enabled = true;
    fw::TNotifyEvent OnTimer;
    int DesignLeft = 0;
    int DesignTop = 0;
};

class TTestForm : public TWidget {
    FW_CLASS(TTestForm, TWidget)
public:
    using TWidget::TWidget;
    TTicker* tmr = nullptr;
    TWidget* btnOk = nullptr;
    int PixelsPerInch = 96;
    int Clicks = 0;
    fw::Word LastKey = 0;

    void FormClick(fw::TObject* Sender) { ++Clicks; }
    void FormKey(fw::TObject* Sender, fw::Word& Key) { LastKey = Key; }
    void tmrTimer(fw::TObject* Sender) {}

    bool HasParent() const override { return false; }
    void GetChildren(const std::function<void(fw::TComponent*)>& proc, fw::TComponent* root) override;
};

// A grid column: a collection item.
class TColumn : public fw::TCollectionItem {
    FW_CLASS(TColumn, fw::TCollectionItem)
public:
    int Width = 64;
    String Title;
    std::unique_ptr<fw::TCollection> Buttons = fw::TCollection::Of<TColumn>(); // items nest
};

// A widget with a list of lines and a collection of columns.
class TGrid : public TWidget {
    FW_CLASS(TGrid, TWidget)
public:
    using TWidget::TWidget;
    fw::TStrings* Lines() const { return FLines.get(); }
    fw::TCollection* Columns() const { return FColumns.get(); }

private:
    std::unique_ptr<fw::TStringList> FLines = std::make_unique<fw::TStringList>();
    std::unique_ptr<fw::TCollection> FColumns = fw::TCollection::Of<TColumn>();
};

// A frame: a widget whose class has a resource of its own.
class TTestFrame : public TWidget {
    FW_CLASS(TTestFrame, TWidget)
public:
    using TWidget::TWidget;
};

// A form derived from TTestForm, whose file is `inherited`.
class TDerivedForm : public TTestForm {
    FW_CLASS(TDerivedForm, TTestForm)
public:
    using TTestForm::TTestForm;
};

// A form class that loads its own resource from its constructor.
class TResourceForm : public TTestForm {
    FW_CLASS(TResourceForm, TTestForm)
public:
    static const char* const Resource;
    explicit TResourceForm(fw::TComponent* AOwner);
};

// Reads text, writes what was read, reads that and writes it again: the two
// written texts must be the same (a failed expectation otherwise). Returns what
// the first read made.
std::unique_ptr<fw::TComponent> RoundTrip(const String& text);

} // namespace test
