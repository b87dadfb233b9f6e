// The accessible objects of the navigator and the data-aware control grid.

#include <array>
#include <framework/db/DBCtrlGrid.h>
#include <framework/db/DBNavigator.h>
#include <framework/db/DataSet.h>
#include <framework/db/DataSource.h>

namespace fw {

namespace {

// ---------------------------------------------------------------- the navigator

const std::array<const char*, 10> NavigatorNames{"First record", "Prior record", "Next record", "Last record",
                                                 "Insert record", "Delete record", "Edit record", "Post edit",
                                                 "Cancel edit", "Refresh data"};

class TNavButtonAccessible : public TAccElement {
public:
    TNavButtonAccessible(TAccessible* AParent, TDBNavigator* Navigator, TNavigateBtn Button)
        : TAccElement(AParent, Navigator), FButton(Button) {}
    TAccRole Role() const override { return TAccRole::PushButton; }
    String Name() const override { return NavigatorNames[static_cast<std::size_t>(FButton)]; }
    TAccStates States() const override {
        TAccStates s = TAccElement::States();
        if (!Navigator()->ButtonEnabled(FButton)) s.Exclude(asEnabled), s.Exclude(asSensitive);
        return s;
    }
    int ActionCount() const override { return 1; }
    String ActionName(int Index) const override { return Index == 0 ? "click" : String(); }
    void RunAction(int Index) override {
        if (Index == 0 && Navigator()->ButtonEnabled(FButton)) Navigator()->BtnClick(FButton);
    }
    TNavigateBtn Button() const { return FButton; }

protected:
    TRect ClientBounds() const override { return Navigator()->ButtonRect(FButton); }

private:
    TDBNavigator* Navigator() const { return static_cast<TDBNavigator*>(FHost); }
    TNavigateBtn FButton;
};

class TNavigatorAccessible : public TControlAccessible {
public:
    explicit TNavigatorAccessible(TDBNavigator* Navigator) : TControlAccessible(Navigator) {
        for (int b = nbFirst; b <= nbRefresh; ++b)
            FButtons.push_back(std::make_unique<TNavButtonAccessible>(this, Navigator, static_cast<TNavigateBtn>(b)));
    }
    TAccRole Role() const override { return TAccRole::ToolBar; }
    String Name() const override {
        const String name = TControlAccessible::Name();
        return name.empty() ? String("Record navigator") : name;
    }

protected:
    // The visible buttons, in their order.
    int ElementCount() const override { return static_cast<int>(Shown().size()); }
    TAccessible* Element(int Index) const override {
        const auto list = Shown();
        return Index >= 0 && Index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(Index)] : nullptr;
    }

private:
    std::vector<TAccessible*> Shown() const {
        std::vector<TAccessible*> list;
        const TButtonSet visible = static_cast<TDBNavigator*>(FControl)->VisibleButtons();
        for (const auto& b : FButtons)
            if (visible.Contains(b->Button())) list.push_back(b.get());
        return list;
    }
    std::vector<std::unique_ptr<TNavButtonAccessible>> FButtons;
};

// ---------------------------------------------------------------- the control grid

TDataSet* GridDataSet(const TDBCtrlGrid* Grid) {
    TDataSet* ds = Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
    return ds && ds->Active() ? ds : nullptr;
}

String RecordName(const TDBCtrlGrid* Grid, int Record) {
    const TDataSet* ds = GridDataSet(Grid);
    return "Record " + std::to_string(Record + 1) + " of " + std::to_string(ds ? ds->PlaceCount() : 0);
}

// A row other than the current record's: painted copies, named by its record.
class TGridRowAccessible : public TAccElement {
public:
    TGridRowAccessible(TAccessible* AParent, TDBCtrlGrid* Grid, int Row) : TAccElement(AParent, Grid), FRow(Row) {}
    TAccRole Role() const override { return TAccRole::ListItem; }
    String Name() const override { return RecordName(Grid(), Grid()->TopRecord() + FRow); }
    TAccStates States() const override { return TAccElement::States() << asSelectable; }

protected:
    TRect ClientBounds() const override {
        const int top = FRow * Grid()->PanelHeight();
        return {0, top, Grid()->ClientWidth(), top + Grid()->PanelHeight()};
    }

private:
    TDBCtrlGrid* Grid() const { return static_cast<TDBCtrlGrid*>(FHost); }
    int FRow;
};

class TCtrlGridAccessible : public TControlAccessible {
public:
    explicit TCtrlGridAccessible(TDBCtrlGrid* Grid) : TControlAccessible(Grid) {}
    TAccRole Role() const override { return TAccRole::List; }
    String Name() const override {
        const String name = TControlAccessible::Name();
        return name.empty() ? String("Records") : name;
    }
    int ChildCount() const override { return Rows(); }
    TAccessible* Child(int Index) const override {
        if (Index < 0 || Index >= Rows()) return nullptr;
        if (Index == Grid()->ActiveRow()) return Grid()->Panel()->Accessible();
        while (static_cast<int>(FRows.size()) <= Index)
            FRows.push_back(
                std::make_unique<TGridRowAccessible>(const_cast<TCtrlGridAccessible*>(this), Grid(), int(FRows.size())));
        return FRows[static_cast<std::size_t>(Index)].get();
    }

private:
    TDBCtrlGrid* Grid() const { return static_cast<TDBCtrlGrid*>(FControl); }
    // The rows that show a record.
    int Rows() const {
        const TDataSet* ds = GridDataSet(Grid());
        return ds ? std::clamp(ds->PlaceCount() - Grid()->TopRecord(), 0, Grid()->RowCount()) : 0;
    }
    mutable std::vector<std::unique_ptr<TGridRowAccessible>> FRows;
};

class TCtrlPanelAccessible : public TControlAccessible {
public:
    using TControlAccessible::TControlAccessible;
    TAccRole Role() const override { return TAccRole::ListItem; }
    String Name() const override {
        const TDataSet* ds = Grid() ? GridDataSet(Grid()) : nullptr;
        return ds ? RecordName(Grid(), ds->ActiveIndex()) : String();
    }
    TAccStates States() const override { return TControlAccessible::States() << asSelectable << asSelected; }

private:
    TDBCtrlGrid* Grid() const { return dynamic_cast<TDBCtrlGrid*>(FControl->Parent()); }
};

} // namespace

std::unique_ptr<TAccessible> TDBNavigator::CreateAccessible() {
    return std::make_unique<TNavigatorAccessible>(this);
}

std::unique_ptr<TAccessible> TDBCtrlGrid::CreateAccessible() {
    return std::make_unique<TCtrlGridAccessible>(this);
}

std::unique_ptr<TAccessible> TDBCtrlPanel::CreateAccessible() {
    return std::make_unique<TCtrlPanelAccessible>(this);
}

} // namespace fw
