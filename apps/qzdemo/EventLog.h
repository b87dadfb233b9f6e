#pragma once
// The demo's record of the events its handlers saw: who fired what, with a short
// detail (the text at that moment, the date picked).
//
// The log is bounded: it keeps the latest entries (enough for any step of the
// tour) and the latest merged lines (enough for the event panel), and counts
// every event. Adding an event costs the same however long the demo runs.

#include <cstddef>
#include <deque>
#include <framework/rtl/Types.h>
#include <vector>

namespace fw {
class TObject;
}

namespace qzdemo {

struct TEventEntry {
    fw::String Sender; // the component's name
    fw::String Event;  // "OnChange", "OnExit"...
    fw::String Detail; // e.g. text "14/03/2026"
};

class TEventLog {
public:
    explicit TEventLog(std::size_t KeptEntries = 1024, std::size_t KeptLines = 64)
        : FKeptEntries(KeptEntries), FKeptLines(KeptLines) {}

    void Add(TEventEntry Entry);
    // What a form's handler logs: the sender by its component name ("?" for
    // anything else), the event and its detail.
    void Add(fw::TObject* Sender, const fw::String& Event, const fw::String& Detail);
    // Every event added so far, kept or not.
    std::size_t Count() const { return FCount; }
    // The entry with that number (0 is the first ever added), or nullptr when
    // it is no longer kept or not there yet.
    const TEventEntry* Entry(std::size_t Index) const;

    // The kept entries among [From, To) as readable lines, "edtDayFirst.OnChange:
    // text "14/3/26"". A run of the same event of the same sender (one OnChange
    // per typed key) is one line with its count and the last detail:
    // "edtDayFirst.OnChange x7: ...".
    std::vector<fw::String> Lines(std::size_t From, std::size_t To) const;
    // The last `Count` lines of the whole log, counted after merging runs (at
    // most the lines kept).
    std::vector<fw::String> LastLines(std::size_t Count) const;

private:
    struct TLine {
        fw::String Sender;
        fw::String Event;
        fw::String Detail;
        std::size_t Repeats = 1;
    };
    static fw::String Text(const fw::String& Sender, const fw::String& Event, std::size_t Repeats,
                           const fw::String& Detail);

    std::size_t FKeptEntries;
    std::size_t FKeptLines;
    std::size_t FCount = 0;
    std::deque<TEventEntry> FEntries; // the latest entries; the first is number FCount - size
    std::deque<TLine> FLines;         // the latest merged lines
};

// A handler's detail for the text it saw: text "14/03/2026".
fw::String TextDetail(const fw::String& Text);

} // namespace qzdemo
