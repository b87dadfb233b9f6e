#pragma once
// TStrings and TStringList: a list of strings a component publishes (a
// memo's Lines, a list box's Items). In form files its one property,
// Strings, is a list:
//
//     Lines.Strings = (
//       'first line'
//       'second line')

#include <framework/classes/Object.h>
#include <vector>

namespace fw {

class TStrings : public TPersistent {
    FW_CLASS(TStrings, TPersistent)

public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0 .. Count - 1.
    const String& Strings(int index) const;
    void Add(const String& s);
    void Clear();
    const std::vector<String>& List() const { return FItems; }
    void SetList(std::vector<String> items);
    // The lines joined with CR LF after each; setting splits at CR, LF or CR LF.
    String Text() const;
    void SetText(const String& text);
    void Assign(const TPersistent* Source) override;

    // Fires after every change.
    TNotifyEvent OnChange;

private:
    void Changed();
    std::vector<String> FItems;
};

class TStringList : public TStrings {
    FW_CLASS(TStringList, TStrings)
};

} // namespace fw
