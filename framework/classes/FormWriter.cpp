#include <framework/classes/Collection.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/FormValues.h>
#include <framework/classes/Strings.h>

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
        WriteObject(FRoot, 0);
        return FOut;
    }

private:
    void WriteObject(TComponent* c, int level) {
        const String indent(static_cast<std::size_t>(level) * 2, ' ');
        FOut += indent + "object ";
        if (!c->Name().empty()) FOut += c->Name() + ": ";
        FOut += c->ClassName() + "\n";
        WriteProps(c, String(), level + 1, 0, false, false);
        WriteProps(c, String(), level + 1, 0, true, false);
        std::vector<TComponent*> children;
        c->GetChildren([&](TComponent* child) { children.push_back(child); }, FRoot);
        for (TComponent* child : children)
            WriteObject(child, level + 1);
        FOut += indent + "end\n";
    }

    // One pass over obj's properties: the ordinary ones, or those written last.
    // With whole, defaults are written too.
    void WriteProps(const TObject* obj, const String& prefix, int level, int depth, bool lastPass,
                    bool whole) {
        const String indent(static_cast<std::size_t>(level) * 2, ' ');
        for (const TPropInfo* p : obj->ClassInfo()->AllProps()) {
            if (p->WrittenLast != lastPass || !p->IsStored(obj, whole)) continue;
            if (p->Kind == TTypeKind::Class) {
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
                    WriteProps(inner, prefix + p->Name + ".", level, depth + 1, false, all);
                    WriteProps(inner, prefix + p->Name + ".", level, depth + 1, true, all);
                }
                continue;
            }
            if (p->Kind == TTypeKind::Binary) {
                WriteBinary(indent + prefix + p->Name, p->GetStr(obj), indent);
                continue;
            }
            if (auto text = FormatPropValue(obj, *p, FRoot))
                FOut += indent + prefix + p->Name + " = " + *text + "\n";
        }
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
            WriteProps(collection.Items(i), String(), level + 2, depth + 1, false, false);
            WriteProps(collection.Items(i), String(), level + 2, depth + 1, true, false);
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
    String FOut;
};

} // namespace

String WriteComponentToText(TComponent* root) {
    return TFormWriter(root).Write();
}

} // namespace fw
