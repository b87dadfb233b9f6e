#pragma once
// Property editors: how the object inspector shows and changes one published property of every
// selected component, through the classes' published-property tables.
//
// The designer asks GetPropertyEditor (or GetComponentProperties) for an editor over its
// selection. The registry picks the editor class registered for the property's type, the
// component's class and the property's name, the most specific registration winning:
//
//     fw::RegisterPropertyEditor<TQzDateFormatProperty>(fw::TPropertyType{fw::TTypeKind::String},
//                                                       TQzDateEdit::StaticClass(), "DateFormat");
//
// Without a registration the kind's own editor serves (integer, enumeration, boolean, colour,
// string, float, set, nested object, font, component reference, event).

#include <framework/classes/Published.h>
#include <framework/designer/Designer.h>
#include <memory>
#include <vector>

namespace fw {

// The attribute set's ordinals are fixed: callers compare the set's bits.
enum TPropertyAttribute {
    paValueList,     // a drop-down list filled by GetValues
    paSubProperties, // GetProperties lists nested editors
    paDialog,        // Edit opens a dialog
    paMultiSelect,   // offered when several components are selected
    paAutoUpdate,    // each change is applied at once
    paSortList,      // the designer sorts the value list
    paReadOnly,      // the value is not typed as free text
    paRevertable,    // the value can be reverted to the inherited one
};
using TPropertyAttributes = Set<TPropertyAttribute>;

using TGetStrProc = std::function<void(const String& S)>;

class TPropertyEditor;
using TGetPropEditProc = std::function<void(std::unique_ptr<TPropertyEditor> Editor)>;

// One selected object's view of the property: the object that holds it (a component, or a
// nested persistent such as its Font) and the property's record.
struct TInstProp {
    TObject* Instance = nullptr;
    const TPropInfo* Prop = nullptr;
};

class TPropertyEditor {
public:
    TPropertyEditor() = default;
    TPropertyEditor(const TPropertyEditor&) = delete;
    TPropertyEditor& operator=(const TPropertyEditor&) = delete;
    virtual ~TPropertyEditor() = default;

    // Called by the registry before the editor is handed out; props holds one entry per
    // selected object, in selection order.
    void Initialize(IDesigner* Designer, std::vector<TInstProp> Props);

    // Whether every selected object holds the same value (true for one).
    virtual bool AllEqual();
    virtual TPropertyAttributes GetAttributes();
    // The value of the first selected object as the inspector shows it.
    virtual String GetValue();
    // Parses the text and writes it to every selected object; bad text raises EPropertyError.
    virtual void SetValue(const String& Value);
    // The longest text the inspector lets the user type.
    virtual int GetEditLimit();
    // The drop-down entries (paValueList).
    virtual void GetValues(TGetStrProc Proc);
    // The dialog (paDialog).
    virtual void Edit();
    // The nested editors (paSubProperties).
    virtual void GetProperties(TGetPropEditProc Proc);

    const String& GetName() const;
    int PropCount() const { return int(FProps.size()); }
    TObject* GetComponent(int Index) const { return FProps.at(std::size_t(Index)).Instance; }
    const TPropInfo* PropInfo() const { return FProps.front().Prop; }
    IDesigner* Designer() const { return FDesigner; }

protected:
    String GetStrValue() const { return GetStrValueAt(0); }
    String GetStrValueAt(int Index) const;
    void SetStrValue(const String& Value);
    std::int64_t GetOrdValue() const { return GetOrdValueAt(0); }
    std::int64_t GetOrdValueAt(int Index) const;
    void SetOrdValue(std::int64_t Value);
    double GetFloatValueAt(int Index) const;
    void SetFloatValue(double Value);
    // The value as form text (sets, colours without a name, events), and assignment from it.
    String GetTextValueAt(int Index) const;
    void SetTextValue(const String& Value);
    // Tells the designer that something changed.
    void Modified();

    // The shared shape of the kinds' editors. SameForAll: whether ValueAt(i)
    // gives the same for every selected object (their AllEqual). WriteAll:
    // Write(p) for each selected object's property, then Modified (their
    // SetValue). A new kind's editor is its reading, its text and these two.
    template <typename F>
    bool SameForAll(F ValueAt) const {
        for (int i = 1; i < PropCount(); ++i)
            if (ValueAt(i) != ValueAt(0)) return false;
        return true;
    }
    template <typename F>
    void WriteAll(F Write) {
        for (const TInstProp& p : FProps)
            Write(p);
        Modified();
    }

    const std::vector<TInstProp>& Props() const { return FProps; }

private:
    IDesigner* FDesigner = nullptr;
    std::vector<TInstProp> FProps;
};

// The shape the kinds' editors share, written once. A kind is a struct of static functions
// (PropertyEditors.cpp) over one selected object's property:
//     Read(p)                     its value; AllEqual compares the values of the selection
//     Show(p)                     the text the inspector shows (GetValue: the first object's)
//     Parse(Prop, Text, Root)     the value a typed text means; bad text raises EPropertyError
//     Write(p, Value, Root)       the assignment through the setter, for every object, then
//                                 Modified (Root: the designer's root, or null)
// and, where it differs from Base's, Attributes(), EditLimit and Values(Prop, Root, Proc) (the
// drop-down). A new kind is such a struct, its editor class below and its instantiation.
template <typename Kind, typename Base = TPropertyEditor>
class TKindProperty : public Base {
public:
    bool AllEqual() override;
    TPropertyAttributes GetAttributes() override;
    String GetValue() override;
    void SetValue(const String& Value) override;
    int GetEditLimit() override;
    void GetValues(TGetStrProc Proc) override;
};

struct TIntegerKind;
struct TCharKind;
struct TEnumKind;
struct TBoolKind;
struct TColorKind;
struct TStringKind;
struct TFloatKind;
struct TSetKind;
struct TComponentKind;
struct TMethodKind;

// The ordinal kinds' common base: values compared as numbers, short texts.
class TOrdinalProperty : public TPropertyEditor {
public:
    bool AllEqual() override;
    int GetEditLimit() override { return 63; }
};

// Decimal or $hex text within the property's range.
class TIntegerProperty : public TKindProperty<TIntegerKind, TOrdinalProperty> {};

// A character (PasswordChar): shown as itself, or as `#n` when it does not
// print (`#0` for none); typed as one character or as `#n` (`#$hhhh`), or left
// empty for none.
class TCharProperty : public TKindProperty<TCharKind, TOrdinalProperty> {};

// An identifier of the property's enumeration, chosen from the drop-down.
class TEnumProperty : public TKindProperty<TEnumKind, TOrdinalProperty> {};

// False or True.
class TBoolProperty : public TKindProperty<TBoolKind, TEnumProperty> {};

// Integers shown through their identifier table (colours): the name when there is one, else
// the number.
class TColorProperty : public TKindProperty<TColorKind, TIntegerProperty> {};

class TStringProperty : public TKindProperty<TStringKind> {};

class TFloatProperty : public TKindProperty<TFloatKind> {};

// Sets, written as in form files: [fsBold, fsItalic].
class TSetProperty : public TKindProperty<TSetKind, TOrdinalProperty> {};

// A nested persistent: shows its class name and lists its own properties.
class TClassProperty : public TPropertyEditor {
public:
    bool AllEqual() override { return true; }
    TPropertyAttributes GetAttributes() override;
    String GetValue() override;
    void GetProperties(TGetPropEditProc Proc) override;
};

class TFontProperty : public TClassProperty {};

// A reference to another component of the form, chosen by name: an empty text clears it, an
// unknown name raises EPropertyError; the drop-down lists the root's components of the
// property's class.
class TComponentProperty : public TKindProperty<TComponentKind> {};

// An event: the name of the root's published method bound to it.
class TMethodProperty : public TKindProperty<TMethodKind> {};

// ---------------------------------------------------------------- registry

// The property type an editor is registered for: the kind, and for nested objects and
// references the class (the property's class must be it or descend from it).
struct TPropertyType {
    TTypeKind Kind = TTypeKind::String;
    const TClassInfo* ObjectClass = nullptr;
};

using TPropertyEditorClass = std::unique_ptr<TPropertyEditor> (*)();

template <typename E>
std::unique_ptr<TPropertyEditor> MakePropertyEditor() {
    return std::make_unique<E>();
}

// ComponentClass null: any class; PropertyName empty: any name. Among the registrations that
// fit a property, a given name beats none, then the nearer component class, then the nearer
// property class; at a tie the later registration wins.
void RegisterPropertyEditor(const TPropertyType& PropertyType, const TClassInfo* ComponentClass,
                            const String& PropertyName, TPropertyEditorClass EditorClass);
template <typename E>
void RegisterPropertyEditor(const TPropertyType& PropertyType, const TClassInfo* ComponentClass,
                            const String& PropertyName) {
    RegisterPropertyEditor(PropertyType, ComponentClass, PropertyName, &MakePropertyEditor<E>);
}
// Forgets every registration (tests).
void ClearPropertyEditors();

// The editor class for one property of objects of that class.
TPropertyEditorClass FindPropertyEditorClass(const TClassInfo* Class, const TPropInfo& Prop);

// An editor over the selection for the named property (dotted names reach nested objects), or
// null when an object lacks it, the objects would get different editor classes, or several are
// selected and the editor lacks paMultiSelect.
std::unique_ptr<TPropertyEditor> GetPropertyEditor(const std::vector<TObject*>& Selection,
                                                   const String& PropertyName, IDesigner* Designer = nullptr);

// The editors of every published property the selection shares, in the first object's writing
// order (as GetPropertyEditor decides for each).
std::vector<std::unique_ptr<TPropertyEditor>> GetComponentProperties(const std::vector<TObject*>& Selection,
                                                                     IDesigner* Designer = nullptr);

} // namespace fw
