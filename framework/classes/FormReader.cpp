#include <algorithm>
#include <cctype>
#include <framework/classes/ClassRegistry.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/FormText.h>
#include <framework/classes/FormValues.h>
#include <map>

namespace fw {

namespace {

bool SameText(const String& a, const String& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// An error the reader raised itself, already carrying its line.
class EFormLineError : public EReadError {
public:
    using EReadError::EReadError;
};

[[noreturn]] void Fail(int line, const String& message) {
    throw EFormLineError("line " + std::to_string(line) + ": " + message);
}

} // namespace

// Reads one parsed form into a root. A friend of TComponent: it sets the
// loading states and calls Loaded.
class TFormReader {
public:
    explicit TFormReader(TComponent* root) : FRoot(root) {}

    void Read(const TFormObject& node) {
        try {
            ReadAll(node);
        } catch (const EFormLineError&) {
            Undo();
            throw;
        } catch (const std::exception& e) {
            Undo();
            throw EReadError("line " + std::to_string(FLine) + ": " + e.what());
        }
    }

private:
    struct TFixup {
        TObject* Obj;
        const TPropInfo* Prop;
        String Name;
        int Line;
    };

    void ReadAll(const TFormObject& node) {
        FLine = node.Line;
        Begin(FRoot);
        SetRootName(node.Name);
        ReadProps(FRoot, node);
        FRoot->SetState(csReading, false);
        for (const TFormObject& child : node.Children)
            ReadChild(child, FRoot);
        ResolveFixups();
        for (TComponent* c : FLoaded) {
            FLine = node.Line;
            c->Loaded();
        }
    }

    void Begin(TComponent* c) {
        c->SetState(csLoading, true);
        c->SetState(csReading, true);
        FLoaded.push_back(c);
    }

    // Another component of the root's owner may have the file's name already
    // (a second copy of a form); the root then takes the first free "_n" name.
    void SetRootName(const String& name) {
        TComponent* owner = FRoot->Owner();
        String unique = name;
        for (int n = 1; owner != nullptr && !unique.empty(); ++n) {
            TComponent* other = owner->FindComponent(unique);
            if (other == nullptr || other == FRoot) break;
            unique = name + "_" + std::to_string(n);
        }
        FRoot->SetName(unique);
    }

    const TClassInfo* ChildClass(const TFormObject& node) {
        if (const TClassInfo* cls = GetClass(node.ClassName)) return cls;
        // Classes of the root's published fields are known without registration.
        for (const TClassInfo* c = FRoot->ClassInfo(); c != nullptr; c = c->Parent)
            for (const TFieldInfo& f : c->Fields)
                if (SameText(f.FieldClass()->Name, node.ClassName)) return f.FieldClass();
        Fail(node.Line, "unknown class '" + node.ClassName + "'");
    }

    void ReadChild(const TFormObject& node, TComponent* enclosing) {
        FLine = node.Line;
        const TClassInfo* cls = ChildClass(node);
        if (!cls->Create) Fail(node.Line, "class '" + cls->Name + "' cannot be created by a form file");
        if (const TFieldInfo* field = FRoot->ClassInfo()->FindField(node.Name)) {
            if (!cls->InheritsFrom(field->FieldClass()))
                Fail(node.Line, "field '" + field->Name + "' of " + FRoot->ClassName() + " is a " +
                                    field->FieldClass()->Name + ", not a " + cls->Name);
        }
        TComponent* c = FRoot->FindComponent(node.Name);
        if (c != nullptr) {
            // A component the root made before reading is read into; one this
            // file made already means the name is used twice.
            if (std::find(FLoaded.begin(), FLoaded.end(), c) != FLoaded.end())
                Fail(node.Line, "a component named '" + node.Name + "' already exists");
            if (c->ClassInfo() != cls)
                Fail(node.Line,
                     "component '" + node.Name + "' is a " + c->ClassName() + ", not a " + cls->Name);
        } else {
            c = cls->Create(FRoot);
            FCreated.push_back(c);
            c->SetName(node.Name);
        }
        Begin(c);
        c->SetParentComponent(enclosing);
        ReadProps(c, node);
        c->SetState(csReading, false);
        for (const TFormObject& child : node.Children)
            ReadChild(child, c);
    }

    // One property line, resolved to the object that holds it.
    struct TAssignment {
        const TFormProp* Prop;
        TObject* Target;
        const TPropInfo* Info;
        std::vector<int> Order; // per level: the writer's position of the name
    };

    // The writer's position of prop in its class: the ordinary properties in
    // declaration order, then those written last.
    int WritingPosition(const TObject* obj, const TPropInfo* prop) {
        std::vector<const TPropInfo*>& all = FPropLists[obj->ClassInfo()];
        if (all.empty()) all = obj->ClassInfo()->AllProps();
        const auto at = std::find(all.begin(), all.end(), prop);
        const int index = static_cast<int>(at - all.begin());
        return prop->WrittenLast ? index + static_cast<int>(all.size()) : index;
    }

    TAssignment Resolve(TComponent* c, const TFormProp& p) {
        TAssignment a{&p, c, nullptr, {}};
        std::size_t start = 0;
        for (;;) {
            const std::size_t dot = p.Path.find('.', start);
            const String part = p.Path.substr(start, dot - start);
            const TPropInfo* prop = a.Target->ClassInfo()->FindProp(part);
            if (prop == nullptr) Fail(p.Line, "unknown property '" + part + "' of " + a.Target->ClassName());
            a.Order.push_back(WritingPosition(a.Target, prop));
            if (dot == String::npos) {
                a.Info = prop;
                return a;
            }
            if (prop->Kind != TTypeKind::Class)
                Fail(p.Line, "property '" + part + "' of " + a.Target->ClassName() + " has no properties");
            TObject* inner = prop->GetObject(a.Target);
            if (inner == nullptr)
                Fail(p.Line, "property '" + part + "' of " + a.Target->ClassName() + " is nil");
            a.Target = inner;
            start = dot + 1;
        }
    }

    // Assigns the object's properties in the order the writer writes them,
    // whatever their order in the file: setters may rely on the properties
    // declared before theirs. Lines naming the same property keep file order.
    void ReadProps(TComponent* c, const TFormObject& node) {
        TFormBindings bindings;
        bindings.Reference = [this](TObject* obj, const TPropInfo& prop, const String& name) {
            FFixups.push_back({obj, &prop, name, FLine});
        };
        bindings.Event = [this](TObject* obj, const TPropInfo& prop, const String& method) {
            BindEvent(obj, prop, FRoot, method);
        };
        std::vector<TAssignment> assignments;
        assignments.reserve(node.Props.size());
        for (const TFormProp& p : node.Props) {
            FLine = p.Line;
            assignments.push_back(Resolve(c, p));
        }
        std::stable_sort(assignments.begin(), assignments.end(),
                         [](const TAssignment& a, const TAssignment& b) { return a.Order < b.Order; });
        for (const TAssignment& a : assignments) {
            FLine = a.Prop->Line;
            AssignPropValue(a.Target, *a.Info, a.Prop->Value, bindings);
        }
    }

    void ResolveFixups() {
        for (const TFixup& f : FFixups) {
            FLine = f.Line;
            TComponent* c = SameText(f.Name, FRoot->Name()) ? FRoot : FRoot->FindComponent(f.Name);
            if (c == nullptr)
                Fail(f.Line, "unknown component '" + f.Name + "' for property '" + f.Prop->Name + "'");
            if (!c->InheritsFrom(f.Prop->ObjectClass()))
                Fail(f.Line, "component '" + f.Name + "' is a " + c->ClassName() + ", not a " +
                                 f.Prop->ObjectClass()->Name);
            f.Prop->SetComponent(f.Obj, c);
        }
    }

    // Frees what this read made, last first, and leaves the survivors
    // (the root, components it had before) out of the loading states.
    void Undo() {
        while (!FCreated.empty()) {
            TComponent* c = FCreated.back();
            FCreated.pop_back();
            FLoaded.erase(std::remove(FLoaded.begin(), FLoaded.end(), c), FLoaded.end());
            delete c;
        }
        for (TComponent* c : FLoaded) {
            c->SetState(csReading, false);
            c->SetState(csLoading, false);
        }
    }

    TComponent* FRoot;
    std::vector<TComponent*> FCreated;
    std::vector<TComponent*> FLoaded;
    std::vector<TFixup> FFixups;
    std::map<const TClassInfo*, std::vector<const TPropInfo*>> FPropLists; // per class, for this read
    int FLine = 0;
};

namespace {

void CheckRootClass(const TComponent* root, const TFormObject& node) {
    for (const TClassInfo* c = root->ClassInfo(); c != nullptr; c = c->Parent)
        if (SameText(c->Name, node.ClassName)) return;
    Fail(node.Line, "the form is a " + node.ClassName + ", not a " + root->ClassName());
}

} // namespace

void ReadRootFromText(TComponent* root, const String& text) {
    const TFormObject node = ParseFormText(text);
    CheckRootClass(root, node);
    TFormReader(root).Read(node);
}

TComponent* ReadComponentFromText(const String& text, TComponent* owner) {
    const TFormObject node = ParseFormText(text);
    const TClassInfo* cls = GetClass(node.ClassName);
    if (cls == nullptr) Fail(node.Line, "unknown class '" + node.ClassName + "'");
    if (!cls->Create) Fail(node.Line, "class '" + cls->Name + "' cannot be created by a form file");
    TComponent* root = cls->Create(owner);
    try {
        TFormReader(root).Read(node);
    } catch (...) {
        delete root;
        throw;
    }
    return root;
}

} // namespace fw
