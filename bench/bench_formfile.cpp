// Reading a form file of 500 components (string lists, collections, binary
// blocks, text beyond ASCII) against a plain scan of its bytes in the same
// run: the floor any reader has to touch every byte once.

#include <benchmark/benchmark.h>
#include <cstdint>
#include <framework/classes/ClassRegistry.h>
#include <framework/classes/Collection.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/Strings.h>
#include <memory>

namespace {

class TBenchColumn : public fw::TCollectionItem {
    FW_CLASS(TBenchColumn, fw::TCollectionItem)
public:
    int Width = 64;
    fw::String Title;
};

class TBenchPart : public fw::TComponent {
    FW_CLASS(TBenchPart, fw::TComponent)
public:
    using TComponent::TComponent;
    int Left = 0;
    int Top = 0;
    fw::String Caption;
    fw::String Data;
    fw::TStrings* Lines() const { return FLines.get(); }
    fw::TCollection* Columns() const { return FColumns.get(); }

private:
    std::unique_ptr<fw::TStringList> FLines = std::make_unique<fw::TStringList>();
    std::unique_ptr<fw::TCollection> FColumns = fw::TCollection::Of<TBenchColumn>();
};

FW_PUBLISH(TBenchColumn) {
    cls.Int("Width", &TBenchColumn::Width, &TBenchColumn::Width, 64);
    cls.Str("Title", &TBenchColumn::Title, &TBenchColumn::Title, "");
}

FW_PUBLISH(TBenchPart) {
    cls.Int("Left", &TBenchPart::Left, &TBenchPart::Left, 0);
    cls.Int("Top", &TBenchPart::Top, &TBenchPart::Top, 0);
    cls.Str("Caption", &TBenchPart::Caption, &TBenchPart::Caption, "");
    cls.Binary("Data", &TBenchPart::Data, &TBenchPart::Data);
    cls.Object("Columns", &TBenchPart::Columns);
    cls.Object("Lines", &TBenchPart::Lines);
}

constexpr int Parts = 500;

// A root with 500 parts, written by the writer.
const fw::String& FormText() {
    static const fw::String text = [] {
        fw::RegisterClass<TBenchPart>();
        TBenchPart root(nullptr);
        root.SetName("Root");
        for (int i = 0; i < Parts; ++i) {
            auto* part = new TBenchPart(&root);
            part->SetName("Part" + std::to_string(i));
            part->Left = i * 3;
            part->Top = -i;
            part->Caption = "Größe " + std::to_string(i) + " Привет";
            if (i % 5 == 0)
                for (int b = 0; b < 48; ++b)
                    part->Data += static_cast<char>((b * 37 + i) & 0xFF);
            part->Lines()->SetList({"first line", "second 'quoted' line", "третья"});
            for (int c = 0; c < 3; ++c) {
                auto* column = static_cast<TBenchColumn*>(part->Columns()->Add());
                column->Width = 40 + c;
                column->Title = "Col" + std::to_string(c);
            }
        }
        return fw::WriteComponentToText(&root);
    }();
    return text;
}

// The floor: every byte read once, counting lines and quotes.
void BM_Reference_ScanBytes(benchmark::State& State) {
    const fw::String& text = FormText();
    for (auto _ : State) {
        std::uint64_t lines = 0, quotes = 0;
        for (char c : text) {
            lines += c == '\n';
            quotes += c == '\'';
        }
        benchmark::DoNotOptimize(lines);
        benchmark::DoNotOptimize(quotes);
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * text.size()));
}
BENCHMARK(BM_Reference_ScanBytes);

void BM_ReadFormFile500(benchmark::State& State) {
    const fw::String& text = FormText();
    for (auto _ : State) {
        std::unique_ptr<fw::TComponent> root(fw::ReadComponentFromText(text));
        benchmark::DoNotOptimize(root.get());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * text.size()));
    State.SetLabel("ref=BM_Reference_ScanBytes");
}
BENCHMARK(BM_ReadFormFile500)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
