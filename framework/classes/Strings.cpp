#include <framework/classes/Published.h>
#include <framework/classes/Strings.h>
#include <framework/rtl/ListError.h>

namespace fw {

// The lines are written by the form writer as `Strings = ( ... )`, not as a
// published property.
FW_PUBLISH(TStrings) {}
FW_PUBLISH(TStringList) {}

const String& TStrings::Strings(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("list index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<std::size_t>(index)];
}

void TStrings::Add(const String& s) {
    FItems.push_back(s);
    Changed();
}

void TStrings::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

void TStrings::SetList(std::vector<String> items) {
    if (items == FItems) return;
    FItems = std::move(items);
    Changed();
}

String TStrings::Text() const {
    String out;
    for (const String& s : FItems)
        out += s + "\r\n";
    return out;
}

void TStrings::SetText(const String& text) {
    std::vector<String> items;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == String::npos) end = text.size();
        items.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    SetList(items);
}

void TStrings::Assign(const TPersistent* Source) {
    if (const auto* other = dynamic_cast<const TStrings*>(Source)) {
        SetList(other->FItems);
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace fw
