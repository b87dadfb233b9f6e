#include <algorithm>
#include <cctype>
#include <cstdint>
#include <framework/classes/ClassRegistry.h>
#include <framework/classes/Collection.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/FormText.h>
#include <framework/classes/FormValues.h>
#include <framework/classes/Strings.h>
#include <framework/classes/TypInfo.h>
#include <framework/rtl/SysUtils.h>
#include <span>
#include <typeinfo>

namespace fw {

namespace {

// An error the reader raised itself, already carrying its line.
class EFormLineError : public EReadError {
public:
    using EReadError::EReadError;
};

[[noreturn]] void Fail(int line, const String& message) {
    throw EFormLineError("line " + std::to_string(line) + ": " + message);
}

// The installed resource lookup; a deliberate process-wide hook.
TFormResourceLookup& ResourceLookup() {
    static TFormResourceLookup lookup;
    return lookup;
}

// The class an unknown root is read into leniently; installed like the lookup.
const TClassInfo*& LenientRootClass() {
    static const TClassInfo* cls = nullptr;
    return cls;
}

// Ancestor files read into one root, and frames in frames, at most this deep.
constexpr int MaxAncestors = 32;

// Stands for the one property of a string list, `Lines.Strings = ( ... )`.
const TPropInfo StringsProp = [] {
    TPropInfo p;
    p.Name = "Strings";
    return p;
}();

} // namespace

void SetFormResourceLookup(TFormResourceLookup lookup) {
    ResourceLookup() = std::move(lookup);
}

const String* FindClassResource(const TClassInfo* cls) {
    return ResourceLookup() ? ResourceLookup()(cls) : nullptr;
}

void SetLenientRootClass(const TClassInfo* cls) {
    LenientRootClass() = cls;
}

// Reads one parsed form into a root. A friend of TComponent: it sets the
// loading states and calls Loaded.
class TFormReader {
public:
    TFormReader(TComponent* root, TFormSkipList* skipped) : FRoot(root), FSkipped(skipped) {}

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
        ReadTree(node, 0);
        ResolveFixups();
        for (TComponent* c : FLoaded) {
            FLine = node.Line;
            c->Loaded();
        }
    }

    // One file into the root; an `inherited` root reads its ancestor's first.
    void ReadTree(const TFormObject& node, int ancestors) {
        FLine = node.Line;
        if (node.Kind == TFormObjectKind::Inherited) {
            if (ancestors > MaxAncestors) Fail(node.Line, "ancestor resources nested too deeply");
            const String* text = nullptr;
            for (const TClassInfo* c = FRoot->ClassInfo()->Parent; c != nullptr && text == nullptr;
                 c = c->Parent)
                text = FindClassResource(c);
            if (text != nullptr) {
                ReadTree(*ParseFormText(*text), ancestors + 1);
                FLine = node.Line;
            } else if (FSkipped != nullptr) {
                Skip(node.Line, "no ancestor resource of " + FRoot->ClassName() + "; read without it");
            } else {
                Fail(node.Line, "no ancestor resource of " + FRoot->ClassName() + " to inherit from");
            }
        }
        if (std::find(FLoaded.begin(), FLoaded.end(), FRoot) == FLoaded.end()) Begin(FRoot);
        FRoot->SetState(csReading, true);
        if (!node.Name.empty() || node.Kind != TFormObjectKind::Inherited) SetRootName(node.Name);
        ReadProps(FRoot, node);
        FRoot->SetState(csReading, false);
        for (const TFormObject& child : node.Children)
            ReadChild(child, FRoot, FRoot);
    }

    void Skip(int line, const String& what) { FSkipped->push_back({line, what}); }

    // The names of a skipped object and of everything inside it, so that
    // references to them are reported as such.
    void SkipNames(const TFormObject& node) {
        if (!node.Name.empty()) FSkippedNames.emplace_back(node.Name);
        for (const TFormObject& child : node.Children)
            SkipNames(child);
    }

    void Begin(TComponent* c) {
        c->SetState(csLoading, true);
        c->SetState(csReading, true);
        FLoaded.push_back(c);
    }

    // Another component of the root's owner may have the file's name already
    // (a second copy of a form); the root then takes the first free "_n" name.
    void SetRootName(std::string_view fileName) {
        const String name(fileName);
        TComponent* owner = FRoot->Owner();
        String unique = name;
        for (int n = 1; owner != nullptr && !unique.empty(); ++n) {
            TComponent* other = owner->FindComponent(unique);
            if (other == nullptr || other == FRoot) break;
            unique = name + "_" + std::to_string(n);
        }
        FRoot->SetName(unique);
    }

    // The class, or null for an unknown class skipped in lenient mode.
    const TClassInfo* ChildClass(const TFormObject& node) {
        const String className(node.ClassName);
        if (const TClassInfo* cls = GetClass(className)) return cls;
        // Classes of the root's published fields are known without registration.
        for (const TClassInfo* c = FRoot->ClassInfo(); c != nullptr; c = c->Parent)
            for (const TFieldInfo& f : c->Fields)
                if (SameText(f.FieldClass()->Name, node.ClassName)) return f.FieldClass();
        if (FSkipped != nullptr) {
            Skip(node.Line, "unknown class '" + className + "'");
            SkipNames(node);
            return nullptr;
        }
        Fail(node.Line, "unknown class '" + className + "'");
    }

    // owner: the root, or the frame an `inline` object made.
    void ReadChild(const TFormObject& node, TComponent* enclosing, TComponent* owner) {
        FLine = node.Line;
        const TClassInfo* cls = ChildClass(node);
        if (cls == nullptr) return;
        const String name(node.Name);
        if (node.Kind == TFormObjectKind::Inherited) {
            if (FSkipped == nullptr || owner->FindComponent(name) != nullptr) {
                ReadInheritedChild(node, name, cls, enclosing, owner);
                return;
            }
            Skip(node.Line,
                 "no inherited component '" + name + "' in " + owner->ClassName() + "; made from this file");
        }
        if (!cls->Create) Fail(node.Line, "class '" + cls->Name + "' cannot be created by a form file");
        if (const TFieldInfo* field = owner->ClassInfo()->FindField(name)) {
            if (!cls->InheritsFrom(field->FieldClass()))
                Fail(node.Line, "field '" + field->Name + "' of " + owner->ClassName() + " is a " +
                                    field->FieldClass()->Name + ", not a " + cls->Name);
        }
        TComponent* c = owner->FindComponent(name);
        if (c != nullptr) {
            // A component the root made before reading is read into; one this
            // file made already means the name is used twice.
            if (std::find(FLoaded.begin(), FLoaded.end(), c) != FLoaded.end())
                Fail(node.Line, "a component named '" + name + "' already exists");
            if (c->ClassInfo() != cls)
                Fail(node.Line, "component '" + name + "' is a " + c->ClassName() + ", not a " + cls->Name);
        } else {
            c = cls->Create(owner);
            FCreated.push_back(c);
            // Finished now: a component of a class that does not listen, owning
            // nothing, need not hear of the siblings made after it.
            if (cls->Type != nullptr && !cls->HearsInserts && typeid(*c) == *cls->Type && c->ComponentCount() == 0)
                c->SetDeafToInserts(true);
            if (node.Kind == TFormObjectKind::Inline) ReadFrameResource(c, node);
            c->SetName(name);
        }
        Begin(c);
        c->SetParentComponent(enclosing);
        ReadProps(c, node);
        c->SetState(csReading, false);
        TComponent* childOwner = node.Kind == TFormObjectKind::Inline ? c : owner;
        for (const TFormObject& child : node.Children)
            ReadChild(child, c, childOwner);
    }

    // A component an ancestor's file (or a frame's) made: changed, not made.
    void ReadInheritedChild(const TFormObject& node, const String& name, const TClassInfo* cls,
                            TComponent* enclosing, TComponent* owner) {
        TComponent* c = owner->FindComponent(name);
        if (c == nullptr) Fail(node.Line, "no inherited component '" + name + "' in " + owner->ClassName());
        if (!c->InheritsFrom(cls))
            Fail(node.Line, "component '" + name + "' is a " + c->ClassName() + ", not a " + cls->Name);
        if (std::find(FLoaded.begin(), FLoaded.end(), c) == FLoaded.end()) Begin(c);
        c->SetState(csReading, true);
        if (c->GetParentComponent() != enclosing) c->SetParentComponent(enclosing);
        ReadProps(c, node);
        c->SetState(csReading, false);
        for (const TFormObject& child : node.Children)
            ReadChild(child, c, owner);
    }

    // A frame reads its own class's resource as its own root first; the
    // form's file then changes it.
    void ReadFrameResource(TComponent* frame, const TFormObject& node) {
        const String* text = FindClassResource(frame->ClassInfo());
        if (text == nullptr && FSkipped != nullptr) {
            Skip(node.Line, "no resource for the frame class " + frame->ClassName() + "; read without it");
            return;
        }
        if (text == nullptr) Fail(node.Line, "no resource for the frame class " + frame->ClassName());
        if (FFrames >= MaxAncestors) Fail(node.Line, "frames nested too deeply");
        const TFormParsed<TFormObject> frameTree = ParseFormText(*text);
        TFormObject frameNode = *frameTree;
        if (!SameText(frameNode.ClassName, frame->ClassName()))
            Fail(node.Line, "the resource of " + frame->ClassName() + " is a " + String(frameNode.ClassName));
        frameNode.Name = {}; // the frame keeps the name the form gives it
        TFormReader sub(frame, FSkipped);
        sub.FFrames = FFrames + 1;
        sub.Read(frameNode);
        FSkippedNames.insert(FSkippedNames.end(), sub.FSkippedNames.begin(), sub.FSkippedNames.end());
    }

    // The writer's position of the name at each level of a dotted path: the
    // ordinary properties in declaration order, then those written last. A
    // path of one name, the common case, needs nothing beyond First; the
    // positions of further names are FOrderRest[RestAt, RestAt + RestCount).
    struct TOrder {
        int First = 0;
        std::uint32_t RestAt = 0;
        std::uint32_t RestCount = 0;
    };

    bool Before(const TOrder& a, const TOrder& b) const {
        if (a.First != b.First) return a.First < b.First;
        const auto rest = [this](const TOrder& o) {
            return std::span<const int>(FOrderRest).subspan(o.RestAt, o.RestCount);
        };
        return std::ranges::lexicographical_compare(rest(a), rest(b));
    }

    // One property line, resolved to the object that holds it.
    struct TAssignment {
        const TFormProp* Prop;
        TObject* Target;
        const TPropInfo* Info;
        TOrder Order;
    };

    // Null Info: an unknown property skipped in lenient mode.
    TAssignment Resolve(TObject* c, const TFormProp& p) {
        TAssignment a{&p, c, nullptr, {}};
        const std::string_view path = p.Path;
        std::size_t start = 0;
        for (;;) {
            const std::size_t dot = path.find('.', start);
            const std::string_view part = path.substr(start, dot == std::string_view::npos ? dot : dot - start);
            int position = 0;
            const TPropInfo* prop = a.Target->ClassInfo()->LookupProp(part, &position);
            if (prop == nullptr && dot == String::npos && SameText(part, "Strings") &&
                dynamic_cast<TStrings*>(a.Target) != nullptr)
                prop = &StringsProp;
            if (prop == nullptr) {
                const String what = "unknown property '" + String(part) + "' of " + a.Target->ClassName();
                if (FSkipped == nullptr) Fail(p.Line, what);
                Skip(p.Line, what);
                return a;
            }
            if (start == 0) {
                a.Order.First = position;
                a.Order.RestAt = static_cast<std::uint32_t>(FOrderRest.size());
            } else {
                FOrderRest.push_back(position);
                ++a.Order.RestCount;
            }
            if (dot == String::npos) {
                a.Info = prop;
                return a;
            }
            if (prop->Kind != TTypeKind::Class)
                Fail(p.Line, "property '" + String(part) + "' of " + a.Target->ClassName() + " has no properties");
            TObject* inner = prop->GetObject(a.Target);
            if (inner == nullptr)
                Fail(p.Line, "property '" + String(part) + "' of " + a.Target->ClassName() + " is nil");
            a.Target = inner;
            start = dot + 1;
        }
    }

    // What values that name components, methods or unknown identifiers do
    // during this read; made once per reader.
    const TFormBindings& Bindings() {
        if (FBindings.Reference) return FBindings;
        FBindings.Reference = [this](TObject* obj, const TPropInfo& prop, const String& name) {
            FFixups.push_back({obj, &prop, name, FLine});
        };
        FBindings.Event = [this](TObject* obj, const TPropInfo& prop, const String& method) {
            if (FSkipped == nullptr) {
                BindEvent(obj, prop, FRoot, method);
                return;
            }
            try {
                BindEvent(obj, prop, FRoot, method);
            } catch (const EPropertyError& e) {
                Skip(FLine,
                     e.Message() + "; event '" + prop.Name + "' of " + obj->ClassName() + " left unbound");
            }
        };
        if (FSkipped != nullptr)
            FBindings.UnknownIdent = [this](const String& what) { Skip(FLine, what + "; left as it was"); };
        return FBindings;
    }

    // Assigns the object's properties in the order the writer writes them,
    // whatever their order in the file: setters may rely on the properties
    // declared before theirs. Lines naming the same property keep file order.
    // The assignments wait on FAssignments above those of the objects whose
    // collections are being read.
    void ReadProps(TObject* c, const TFormObject& node) {
        const TFormBindings& bindings = Bindings();
        const std::size_t skippedBefore = FSkipped != nullptr ? FSkipped->size() : 0;
        const std::size_t first = FAssignments.size();
        const std::size_t restFirst = FOrderRest.size();
        for (const TFormProp& p : node.Props) {
            FLine = p.Line;
            const TAssignment a = Resolve(c, p);
            if (a.Info != nullptr) FAssignments.push_back(a);
        }
        const auto begin = FAssignments.begin() + static_cast<std::ptrdiff_t>(first);
        const auto byOrder = [this](const TAssignment& a, const TAssignment& b) {
            return Before(a.Order, b.Order);
        };
        // Files the writer wrote are in order already.
        if (!std::is_sorted(begin, FAssignments.end(), byOrder))
            std::stable_sort(begin, FAssignments.end(), byOrder);
        // By index: a collection's items push their own assignments.
        for (std::size_t i = first, end = FAssignments.size(); i < end; ++i) {
            const TAssignment a = FAssignments[i];
            FLine = a.Prop->Line;
            if (a.Info == &StringsProp)
                ReadStrings(static_cast<TStrings*>(a.Target), a.Prop->Value);
            else if (a.Prop->Value.Kind == TFormValueKind::Collection)
                ReadCollection(a.Target, *a.Info, a.Prop->Value);
            else
                AssignPropValue(a.Target, *a.Info, a.Prop->Value, bindings);
        }
        FAssignments.resize(first);
        FOrderRest.resize(restFirst);
        // What was left out of this object is reported in the file's order.
        if (FSkipped != nullptr)
            std::stable_sort(FSkipped->begin() + static_cast<std::ptrdiff_t>(skippedBefore), FSkipped->end(),
                             [](const TFormSkipped& a, const TFormSkipped& b) { return a.Line < b.Line; });
    }

    // Lines.Strings = ( 'a' 'b' )
    void ReadStrings(TStrings* strings, const TFormValue& value) {
        if (value.Kind != TFormValueKind::List) Fail(FLine, "a string list needs a list ( ... )");
        std::vector<String> items;
        items.reserve(value.List.size());
        for (const TFormValue& item : value.List) {
            if (item.Kind != TFormValueKind::String) Fail(FLine, "a string list holds only strings");
            items.emplace_back(item.Text);
        }
        strings->SetList(std::move(items));
    }

    // Columns = < item ... end >: the items replace the collection's.
    void ReadCollection(TObject* obj, const TPropInfo& prop, const TFormValue& value) {
        auto* collection =
            prop.Kind == TTypeKind::Class ? dynamic_cast<TCollection*>(prop.GetObject(obj)) : nullptr;
        if (collection == nullptr)
            Fail(FLine, "property '" + prop.Name + "' of " + obj->ClassName() + " is not a collection");
        collection->Clear();
        for (const TFormObject& entry : value.Entries) {
            FLine = entry.Line;
            ReadProps(collection->Add(), entry);
        }
    }

    void ResolveFixups() {
        for (const TFixup& f : FFixups) {
            FLine = f.Line;
            TComponent* c = SameText(f.Name, FRoot->Name()) ? FRoot : FRoot->FindComponent(f.Name);
            if (c == nullptr && FSkipped != nullptr) {
                const bool skipped = std::any_of(FSkippedNames.begin(), FSkippedNames.end(),
                                                 [&](const String& n) { return SameText(n, f.Name); });
                Skip(f.Line, String(skipped ? "skipped" : "unknown") + " component '" + f.Name +
                                 "' for property '" + f.Prop->Name + "' of " + f.Obj->ClassName() +
                                 "; left empty");
                continue;
            }
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
    TFormSkipList* FSkipped;
    int FFrames = 0;
    std::vector<TComponent*> FCreated;
    std::vector<TComponent*> FLoaded;
    std::vector<TFixup> FFixups;
    std::vector<TAssignment> FAssignments; // of the objects being read, innermost last
    std::vector<int> FOrderRest;           // the positions of dotted paths' further names
    std::vector<String> FSkippedNames; // of the objects skipped, and of what was inside them
    TFormBindings FBindings;
    int FLine = 0;
};

namespace {

void CheckRootClass(const TComponent* root, const TFormObject& node) {
    for (const TClassInfo* c = root->ClassInfo(); c != nullptr; c = c->Parent)
        if (SameText(c->Name, node.ClassName)) return;
    Fail(node.Line, "the form is a " + String(node.ClassName) + ", not a " + root->ClassName());
}

} // namespace

void ReadRootFromText(TComponent* root, const String& text, TFormSkipList* skipped) {
    ReadRootFromTree(root, *ParseFormText(text), skipped);
}

void ReadRootFromTree(TComponent* root, const TFormObject& node, TFormSkipList* skipped) {
    CheckRootClass(root, node);
    TFormReader(root, skipped).Read(node);
}

TComponent* ReadComponentFromText(const String& text, TComponent* owner, TFormSkipList* skipped) {
    const TFormParsed<TFormObject> tree = ParseFormText(text);
    const TFormObject& node = *tree;
    const String className(node.ClassName);
    const TClassInfo* cls = GetClass(className);
    if (cls == nullptr && skipped != nullptr && LenientRootClass() != nullptr) {
        cls = LenientRootClass();
        skipped->push_back({node.Line, "unknown class '" + className + "'; read as " + cls->Name});
    }
    if (cls == nullptr) Fail(node.Line, "unknown class '" + className + "'");
    if (!cls->Create) Fail(node.Line, "class '" + cls->Name + "' cannot be created by a form file");
    TComponent* root = cls->Create(owner);
    try {
        TFormReader(root, skipped).Read(node);
    } catch (...) {
        delete root;
        throw;
    }
    return root;
}

} // namespace fw
