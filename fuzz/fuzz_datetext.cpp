// Date texts by layout: splitting, the raising and the non-raising conversion,
// the date edit's validation and its check when the user leaves it.

#include "FuzzSupport.h"

#include <QzComponents5/QzRegister.h>
#include <Qzde/QzDateControls.h>
#include <Qzde/QzDateLayouts.h>
#include <Qzde/QzDateRoutines.h>
#include <framework/controls/Edit.h>
#include <framework/forms/Application.h>
#include <framework/forms/Form.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/Exceptions.h>

namespace {

bool InRange(fw::TDateTime d) {
    fw::Word y = 0, m = 0, dd = 0;
    fw::DecodeDate(d, y, m, dd);
    return y >= 1 && y <= 9999;
}

struct THost {
    fw::TForm* Form;
    qz::TQzDateEdit* Edit;
    fw::TEdit* Other;
    THost() {
        qz::RegisterPackageClasses();
        Form = new fw::TForm(nullptr);
        Edit = new qz::TQzDateEdit(Form);
        Edit->SetParent(Form);
        Edit->SetErrorMessageType(qz::mtSilent);
        Other = new fw::TEdit(Form);
        Other->SetParent(Form);
        Other->SetTop(40);
        Form->Show();
    }
};

THost& Host() {
    static THost host;
    return host;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fw::TScopedClock clock(fw::EncodeDate(2026, 3, 14));
    fuzz::TInput in(data, size);
    const std::string_view layout = qz::DateFormatPatterns[in.Pick(qz::DateFormatPatterns.size())];
    const bool twoDigitYears = in.Byte() & 1;
    const std::string text = in.Rest();
    const fw::String pattern(layout);

    fw::String y, m, d;
    qz::DecodeDateString(text, pattern, y, m, d);

    // The non-raising conversion agrees with the raising one on every text the
    // raising one accepts.
    fw::TDateTime quiet = 0;
    const bool quietOk = qz::TryTextToDate(text, layout, quiet);
    try {
        const fw::TDateTime loud = qz::StrToDateEx(text, pattern);
        FUZZ_CHECK(quietOk && quiet == loud, text);
    } catch (const fw::EConvertError&) {
    }

    THost& host = Host();
    qz::TQzDateEdit* edit = host.Edit;
    edit->SetDateFormat(pattern);
    edit->SetUseCentury(twoDigitYears);
    fw::String checked = text;
    if (edit->IsValidDate(checked)) {
        fw::TDateTime v = 0;
        if (qz::TryTextToDate(checked, layout, v)) FUZZ_CHECK(InRange(v), checked);
    }

    // The exit check: the edit either takes a date whose text it shows, keeps
    // an empty text, or keeps the focus.
    if (!edit->Focused()) edit->SetFocus();
    edit->SetText(text.substr(0, 64));
    host.Other->SetFocus();
    if (!edit->Focused()) {
        if (edit->Text().empty()) return 0;
        FUZZ_CHECK(InRange(edit->Date()), edit->Text());
        FUZZ_CHECK(edit->Text() == qz::FormatDateByPattern(edit->Date(), layout), edit->Text());
    }
    fw::Application->Reset();
    return 0;
}
