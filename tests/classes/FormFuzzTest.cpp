// Mutated form files: the reader either reads them or raises EReadError, and
// never crashes, leaks or leaves anything half made. Whatever it reads, also
// leniently, it writes back in a form that reads to the same text again.

#include "TestClasses.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using namespace test;

const char* const Tokens[] = {"object",   "end",
                              "=",        "'",
                              "''",       "#",
                              "#13",      "[",
                              "]",        ",",
                              "{",        "}",
                              "$",        "$FF",
                              ".",        "-",
                              "+",        ":",
                              "nil",      "True",
                              "\n",       "  ",
                              "0.5",      "1e308",
                              "-0",       "9999999999999999999",
                              "Font.",    "TWidget",
                              "btnOk",    "edt",
                              "Buddy = ", "OnClick = ",
                              "FormKey",  "object x: TWidget\n",
                              "\n  end\n"};

String Mutate(String text, std::mt19937& rng) {
    auto pick = [&rng](std::size_t n) {
        return n == 0 ? std::size_t{0} : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    const int edits = 1 + static_cast<int>(pick(2));
    for (int i = 0; i < edits; ++i) {
        const std::size_t pos = pick(text.size() + 1);
        switch (pick(8)) {
        case 0: // flip a byte
            if (!text.empty()) text[pick(text.size())] = static_cast<char>(pick(256));
            break;
        case 1: // delete a run
            text.erase(pos, pick(40));
            break;
        case 2: // duplicate a run
            if (pos < text.size()) text.insert(pick(text.size()), text.substr(pos, pick(60)));
            break;
        case 3: // truncate
            text.resize(pos);
            break;
        default: // insert a token
            text.insert(pos, Tokens[pick(std::size(Tokens))]);
            break;
        }
    }
    return text;
}

TEST(FormFuzz, MutatedFilesReadOrFailCleanly) {
    RegisterTestClasses();
    std::mt19937 rng(20240611);
    const String seeds[] = {RichForm, TResourceForm::Resource};
    fw::SetLenientRootClass(TTestForm::StaticClass());
    int read = 0, refused = 0, lenient = 0;
    for (int i = 0; i < 8000; ++i) {
        const String text = Mutate(seeds[i % 2], rng);
        try {
            RoundTrip(text);
            if (::testing::Test::HasFailure()) return;
            ++read;
        } catch (const fw::EReadError& e) {
            ASSERT_EQ(String(e.what()).rfind("line ", 0), 0u) << e.what();
            ++refused;
            // What a lenient read keeps writes a text that reads back strictly.
            fw::TFormSkipList skipped;
            std::unique_ptr<fw::TComponent> kept;
            try {
                kept.reset(fw::ReadComponentFromText(text, nullptr, &skipped));
            } catch (const fw::EReadError&) {
            }
            if (kept) {
                ++lenient;
                const String written = fw::WriteComponentToText(kept.get());
                kept.reset();
                RoundTrip(written);
                if (::testing::Test::HasFailure()) return;
            }
        }
        ASSERT_EQ(TWidget::Live, 0) << "input:\n" << text;
    }
    // Both outcomes must occur for the mutations to be worth anything.
    EXPECT_GT(read, 200) << read;
    EXPECT_GT(refused, 200);
    EXPECT_GT(lenient, 100) << lenient;
    fw::SetLenientRootClass(nullptr);
}

TEST(FormFuzz, DeepNestingIsRefusedNotRecursedInto) {
    RegisterTestClasses();
    String text;
    for (int i = 0; i < 100000; ++i)
        text += "object TWidget\n";
    EXPECT_THROW(delete fw::ReadComponentFromText(text), fw::EReadError);
}

} // namespace
