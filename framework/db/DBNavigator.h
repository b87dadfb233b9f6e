#pragma once
// TDBNavigator: a row of buttons that move through a dataset and edit it:
// first, prior, next, last, insert, delete, edit, post, cancel, refresh.
//
// The buttons follow the dataset: nothing works while it is closed; first
// and prior while not at the beginning, next and last while not at the end;
// insert while it may be modified; delete and edit on a record that may be
// modified (edit only while not editing); post and cancel only while
// editing; refresh while browsing. Delete asks "Delete record?" first while
// ConfirmDelete. A failing operation (a post the database refuses) raises to
// the message loop, which shows the error; the dataset keeps its state.

#include <framework/controls/GraphicControl.h>
#include <framework/db/DataLink.h>
#include <memory>

namespace fw {

class TDataSet;
class TDataSource;

enum TNavigateBtn {
    nbFirst,
    nbPrior,
    nbNext,
    nbLast,
    nbInsert,
    nbDelete,
    nbEdit,
    nbPost,
    nbCancel,
    nbRefresh
};
using TButtonSet = Set<TNavigateBtn>;
using TNavClick = std::function<void(TObject* Sender, TNavigateBtn Button)>;

inline constexpr const char* SDeleteRecordQuestion = "Delete record?";

class TDBNavigator : public TCustomControl {
    FW_CLASS(TDBNavigator, TCustomControl)

public:
    explicit TDBNavigator(TComponent* AOwner);
    ~TDBNavigator() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* Value);
    TButtonSet VisibleButtons() const { return FVisibleButtons; }
    void SetVisibleButtons(TButtonSet Value);
    bool ConfirmDelete() const { return FConfirmDelete; }
    void SetConfirmDelete(bool Value) { FConfirmDelete = Value; }

    // Whether a button works now (false also for hidden buttons).
    bool ButtonEnabled(TNavigateBtn Button) const;
    // The button's place in the client area (empty when hidden).
    TRect ButtonRect(TNavigateBtn Button) const;
    // Runs a button's action as a click does.
    void BtnClick(TNavigateBtn Button);

    TNavClick BeforeAction; // before the action
    TNavClick OnClick;      // after it

protected:
    // A tool bar of named buttons ("Next record") with the action "click".
    std::unique_ptr<TAccessible> CreateAccessible() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    class TNavLink;
    TDataSet* ActiveDataSet() const;
    int ButtonAt(int X, int Y) const;
    void DrawGlyph(TNavigateBtn Button, const TRect& R, bool Enabled, bool Down);

    std::unique_ptr<TNavLink> FDataLink;
    TButtonSet FVisibleButtons;
    bool FConfirmDelete = true;
    int FPressed = -1;
};

} // namespace fw
