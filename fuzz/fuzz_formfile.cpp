// The form-file reader: a file either reads or raises EReadError; one that
// does not read strictly is read leniently. What it reads is shown and
// painted, written, read back strictly and written again; the two writings
// are the same text.

#include "FuzzSupport.h"

#include <QzComponents5/QzRegister.h>
#include <framework/classes/FormFile.h>
#include <framework/controls/Control.h>
#include <framework/forms/Application.h>
#include <framework/forms/Form.h>
#include <framework/rtl/Exceptions.h>
#include <memory>

namespace {

// Larger forms are read and written but not shown: their pixels cost the
// fuzzer time and memory without reaching new code.
constexpr long long MaxShownArea = 1 << 20;

fw::TForm& Host() {
    static fw::TForm* host = [] {
        qz::RegisterPackageClasses();
        fw::Application->OnException = [](fw::TObject*, const std::exception&) {};
        auto* f = new fw::TForm(nullptr);
        f->SetBounds(0, 0, 400, 300);
        return f;
    }();
    return *host;
}

// Runs what is pending, a bounded number of messages.
void Pump() {
    for (int i = 0; i < 200 && fw::Application->ProcessMessage(); ++i) {
    }
}

void ShowAndPaint(fw::TComponent* root) {
    fw::TForm* form = dynamic_cast<fw::TForm*>(root);
    auto* control = dynamic_cast<fw::TControl*>(root);
    if (!form && control && !control->Parent()) {
        control->SetParent(&Host());
        form = &Host();
    }
    if (!form || static_cast<long long>(form->Width()) * form->Height() > MaxShownArea) return;
    try {
        if (!form->Visible()) form->Show();
        Pump();
        form->Hide();
    } catch (const fw::Exception&) {
    }
    Pump();
    if (control && control->Parent() == &Host()) control->SetParent(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Host();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<fw::TComponent> root;
    try {
        root.reset(fw::ReadComponentFromText(text));
    } catch (const fw::EReadError&) {
        // What a lenient read keeps must read back strictly all the same.
        fw::TFormSkipList skipped;
        try {
            root.reset(fw::ReadComponentFromText(text, nullptr, &skipped));
        } catch (const fw::EReadError&) {
            fw::Application->Reset();
            return 0;
        }
    }
    ShowAndPaint(root.get());
    const fw::String first = fw::WriteComponentToText(root.get());
    root.reset();
    std::unique_ptr<fw::TComponent> again;
    try {
        again.reset(fw::ReadComponentFromText(first));
    } catch (const fw::EReadError& e) {
        fuzz::Fail("the writer's text does not read back", e.what());
    }
    FUZZ_CHECK(fw::WriteComponentToText(again.get()) == first, first);
    again.reset();
    fw::Application->Reset();
    return 0;
}
