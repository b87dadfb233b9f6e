#include "EventLog.h"

#include <algorithm>
#include <framework/classes/Component.h>

namespace qzdemo {

void TEventLog::Add(TEventEntry Entry) {
    ++FCount;
    if (!FLines.empty() && FLines.back().Sender == Entry.Sender && FLines.back().Event == Entry.Event) {
        ++FLines.back().Repeats;
        FLines.back().Detail = Entry.Detail;
    } else {
        FLines.push_back({Entry.Sender, Entry.Event, Entry.Detail});
        if (FLines.size() > FKeptLines) FLines.pop_front();
    }
    FEntries.push_back(std::move(Entry));
    if (FEntries.size() > FKeptEntries) FEntries.pop_front();
}

void TEventLog::Add(fw::TObject* Sender, const fw::String& Event, const fw::String& Detail) {
    auto* Component = dynamic_cast<fw::TComponent*>(Sender);
    Add({Component != nullptr ? Component->Name() : fw::String("?"), Event, Detail});
}

fw::String TextDetail(const fw::String& Text) {
    return "text \"" + Text + "\"";
}

const TEventEntry* TEventLog::Entry(std::size_t Index) const {
    const std::size_t First = FCount - FEntries.size();
    if (Index < First || Index >= FCount) return nullptr;
    return &FEntries[Index - First];
}

fw::String TEventLog::Text(const fw::String& Sender, const fw::String& Event, std::size_t Repeats,
                           const fw::String& Detail) {
    fw::String Line = Sender + "." + Event;
    if (Repeats > 1) Line += " x" + std::to_string(Repeats);
    if (!Detail.empty()) Line += ": " + Detail;
    return Line;
}

std::vector<fw::String> TEventLog::Lines(std::size_t From, std::size_t To) const {
    std::vector<fw::String> Result;
    const std::size_t First = FCount - FEntries.size();
    From = std::max(From, First) - First;
    To = std::min(To, FCount) - First;
    std::size_t I = From;
    while (I < To) {
        const TEventEntry& Head = FEntries[I];
        std::size_t End = I + 1;
        while (End < To && FEntries[End].Sender == Head.Sender && FEntries[End].Event == Head.Event)
            ++End;
        Result.push_back(Text(Head.Sender, Head.Event, End - I, FEntries[End - 1].Detail));
        I = End;
    }
    return Result;
}

std::vector<fw::String> TEventLog::LastLines(std::size_t Count) const {
    std::vector<fw::String> Result;
    const std::size_t N = std::min(Count, FLines.size());
    for (std::size_t I = FLines.size() - N; I < FLines.size(); ++I)
        Result.push_back(Text(FLines[I].Sender, FLines[I].Event, FLines[I].Repeats, FLines[I].Detail));
    return Result;
}

} // namespace qzdemo
