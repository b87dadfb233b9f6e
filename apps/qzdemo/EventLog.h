#pragma once
// The demo's record of the events its handlers saw: who fired what, with a short
// detail (the text at that moment, the date picked).

#include <cstddef>
#include <framework/rtl/Types.h>
#include <vector>

namespace qzdemo {

struct TEventEntry {
    fw::String Sender; // the component's name
    fw::String Event;  // "OnChange", "OnExit"...
    fw::String Detail; // e.g. text "14/03/2026"
};

class TEventLog {
public:
    void Add(TEventEntry Entry) { FEntries.push_back(std::move(Entry)); }
    std::size_t Count() const { return FEntries.size(); }
    const std::vector<TEventEntry>& Entries() const { return FEntries; }

    // The entries [From, To) as readable lines, "edtDayFirst.OnChange: text "14/3/26"".
    // A run of the same event of the same sender (one OnChange per typed key) is one
    // line with its count and the last detail: "edtDayFirst.OnChange x7: ...".
    std::vector<fw::String> Lines(std::size_t From, std::size_t To) const;
    // The last `Count` lines of the whole log, counted after merging runs.
    std::vector<fw::String> LastLines(std::size_t Count) const;

private:
    std::vector<TEventEntry> FEntries;
};

} // namespace qzdemo
