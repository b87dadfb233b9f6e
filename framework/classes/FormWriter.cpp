#include <framework/classes/Collection.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/FormValues.h>
#include <framework/classes/Strings.h>
#include <memory>

namespace fw {

namespace {

// Nested persistents deeper than this are not followed (a cycle of objects).
constexpr int MaxObjectDepth = 16;
// Hex digits per line of a binary value.
constexpr std::size_t BinaryLineDigits = 64;

class TFormWriter {
public:
    explicit TFormWriter(TComponent* root) : FRoot(root) {}

    String Write() {
        WriteObject(FRoot, 0, nullptr);
        return FOut;
    }

private:
    // Writes c. Like is what reading c's text back starts from, where that is
    // not the classes' defaults: a fresh instance of a class with a resource of
    // its own, or the child of the same name in one.
    void WriteObject(TComponent* c, int level, const TComponent* like) {
        std::unique_ptr<TComponent> made;
        const TComponent* outerLikeRoot = FLikeRoot;
        if (like == nullptr) {
            made = MakeLike(c);
            like = made.get();
            if (made) FLikeRoot = made.get();
        }
        const String indent(static_cast<std::size_t>(level) * 2, ' ');
        FOut += indent + "object ";
        if (!c->Name().empty()) FOut += c->Name() + ": ";
        FOut += c->ClassName() + "\n";
        WriteProps(c, like, String(), level + 1, 0, false, false);
        WriteProps(c, like, String(), level + 1, 0, true, false);
        std::vector<TComponent*> children;
        c->GetChildren([&](TComponent* child) { children.push_back(child); }, FRoot);
        for (TComponent* child : children) {
            // The components a form's resource makes are owned by the form.
            const TComponent* likeChild = like != nullptr && FLikeRoot != nullptr && !child->Name().empty()
                                              ? FLikeRoot->FindComponent(child->Name())
                                              : nullptr;
            if (likeChild != nullptr && likeChild->ClassInfo() != child->ClassInfo()) likeChild = nullptr;
            WriteObject(child, level + 1, likeChild);
        }
        FOut += indent + "end\n";
        FLikeRoot = outerLikeRoot;
    }

    // A fresh instance of c's class when the class has a resource of its own,
    // which its constructor reads; null otherwise or when making one fails.
    static std::unique_ptr<TComponent> MakeLike(const TComponent* c) {
        const TClassInfo* cls = c->ClassInfo();
        if (!cls->Create || FindClassResource(cls) == nullptr) return nullptr;
        try {
            return std::unique_ptr<TComponent>(cls->Create(nullptr));
        } catch (const std::exception&) {
            return nullptr;
        }
    }

    // One pass over obj's properties: the ordinary ones, or those written last.
    // With whole, defaults are written too; with like, every value that
    // differs from like's.
    void WriteProps(const TObject* obj, const TObject* like, const String& prefix, int level, int depth,
                    bool lastPass, bool whole) {
        const String indent(static_cast<std::size_t>(level) * 2, ' ');
        for (const TPropInfo* p : obj->ClassInfo()->AllProps()) {
            if (p->WrittenLast != lastPass) continue;
            if (p->Kind == TTypeKind::Class) {
                if (!p->IsStored(obj, whole)) continue;
                const TPersistent* inner = p->GetObject(obj);
                if (const auto* strings = dynamic_cast<const TStrings*>(inner)) {
                    if (strings->Count() > 0)
                        FOut += indent + prefix + p->Name +
                                ".Strings = " + FormatFormStrings(strings->List(), indent) + "\n";
                    continue;
                }
                if (const auto* collection = dynamic_cast<const TCollection*>(inner)) {
                    if (collection->Count() > 0 && depth < MaxObjectDepth)
                        WriteCollection(indent + prefix + p->Name, *collection, level, depth);
                    continue;
                }
                if (inner != nullptr && depth < MaxObjectDepth) {
                    const bool all = p->WholeIf && p->WholeIf(obj);
                    const TPersistent* likeInner = like != nullptr ? p->GetObject(like) : nullptr;
                    WriteProps(inner, likeInner, prefix + p->Name + ".", level, depth + 1, false, all);
                    WriteProps(inner, likeInner, prefix + p->Name + ".", level, depth + 1, true, all);
                }
                continue;
            }
            if (!p->IsStored(obj, whole) && !DiffersFrom(like, obj, *p)) continue;
            if (p->Kind == TTypeKind::Binary) {
                WriteBinary(indent + prefix + p->Name, p->GetStr(obj), indent);
                continue;
            }
            if (auto text = FormatPropValue(obj, *p, FRoot))
                FOut += indent + prefix + p->Name + " = " + *text + "\n";
        }
    }

    // Whether obj's value of p differs from like's (false without like), for
    // a property that is stored at all (not one derived from another, such as
    // a font's size from its height).
    bool DiffersFrom(const TObject* like, const TObject* obj, const TPropInfo& p) const {
        if (like == nullptr || like->ClassInfo() != obj->ClassInfo() || !p.Writable() ||
            !p.IsStored(obj, true))
            return false;
        return FormatPropValue(obj, p, FRoot) != FormatPropValue(like, p, FLikeRoot);
    }

    // Columns = <
    //   item
    //     Width = 64
    //   end>
    void WriteCollection(const String& head, const TCollection& collection, int level, int depth) {
        const String indent(static_cast<std::size_t>(level + 1) * 2, ' ');
        FOut += head + " = <";
        for (int i = 0; i < collection.Count(); ++i) {
            FOut += "\n" + indent + "item\n";
            WriteProps(collection.Items(i), nullptr, String(), level + 2, depth + 1, false, false);
            WriteProps(collection.Items(i), nullptr, String(), level + 2, depth + 1, true, false);
            FOut += indent + "end";
        }
        FOut += ">\n";
    }

    void WriteBinary(const String& head, const String& bytes, const String& indent) {
        static const char digits[] = "0123456789ABCDEF";
        FOut += head + " = {";
        String line;
        for (char ch : bytes) {
            if (line.size() == BinaryLineDigits) {
                FOut += "\n" + indent + "  " + line;
                line.clear();
            }
            const auto c = static_cast<unsigned char>(ch);
            line += digits[c >> 4];
            line += digits[c & 15];
        }
        if (!line.empty()) FOut += "\n" + indent + "  " + line;
        FOut += "}\n";
    }

    TComponent* FRoot;
    // The fresh instance the component being written is compared with, if any.
    const TComponent* FLikeRoot = nullptr;
    String FOut;
};

} // namespace

String WriteComponentToText(TComponent* root) {
    return TFormWriter(root).Write();
}

} // namespace fw
