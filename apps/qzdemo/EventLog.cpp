#include "EventLog.h"

#include <algorithm>

namespace qzdemo {

std::vector<fw::String> TEventLog::Lines(std::size_t From, std::size_t To) const {
    std::vector<fw::String> Result;
    To = std::min(To, FEntries.size());
    std::size_t I = From;
    while (I < To) {
        const TEventEntry& First = FEntries[I];
        std::size_t End = I + 1;
        while (End < To && FEntries[End].Sender == First.Sender && FEntries[End].Event == First.Event)
            ++End;
        fw::String Line = First.Sender + "." + First.Event;
        if (End - I > 1) Line += " x" + std::to_string(End - I);
        const fw::String& Detail = FEntries[End - 1].Detail;
        if (!Detail.empty()) Line += ": " + Detail;
        Result.push_back(std::move(Line));
        I = End;
    }
    return Result;
}

std::vector<fw::String> TEventLog::LastLines(std::size_t Count) const {
    std::vector<fw::String> All = Lines(0, FEntries.size());
    if (All.size() > Count) All.erase(All.begin(), All.end() - static_cast<std::ptrdiff_t>(Count));
    return All;
}

} // namespace qzdemo
