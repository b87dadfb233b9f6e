// Format and FormatDateTime layouts: any layout either formats or raises
// EConvertError, with any mix of arguments, any date value and any settings
// layouts that name each other.

#include "FuzzSupport.h"

#include <bit>
#include <cstring>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/Exceptions.h>
#include <framework/rtl/Format.h>
#include <framework/rtl/FormatSettings.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput in(data, size);
    const unsigned mode = in.Pick(2);
    if (mode == 0) {
        // Up to six arguments of kinds the bytes choose, then the layout.
        std::vector<std::string> texts;
        texts.reserve(6);
        std::vector<fw::TVarRec> args;
        for (unsigned n = in.Pick(7); n > 0; --n) {
            switch (in.Pick(4)) {
            case 0:
                args.emplace_back(static_cast<int>(in.Byte()) - 128);
                break;
            case 1: {
                std::uint64_t bits = 0;
                for (int i = 0; i < 8; ++i)
                    bits = bits << 8 | in.Byte();
                args.emplace_back(std::bit_cast<double>(bits));
                break;
            }
            case 2:
                texts.push_back(in.Text(16));
                args.emplace_back(std::string_view(texts.back()));
                break;
            default:
                args.emplace_back(static_cast<char>(in.Byte()));
                break;
            }
        }
        const std::string layout = in.Rest();
        try {
            (void)fw::Format(layout, std::span<const fw::TVarRec>(args));
        } catch (const fw::EConvertError&) {
        }
        return 0;
    }
    // A date value (any bits, NaN and infinities too), settings layouts, a layout.
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = bits << 8 | in.Byte();
    double value = std::bit_cast<double>(bits);
    if (in.Byte() & 1) value = static_cast<double>(static_cast<std::int32_t>(bits)) / 1000.0;
    fw::TFormatSettings settings;
    settings.ShortDateFormat = in.Text(12);
    settings.LongDateFormat = in.Text(12);
    settings.ShortTimeFormat = in.Text(8);
    settings.LongTimeFormat = in.Text(8);
    settings.DateSeparator = static_cast<char>(in.Byte());
    settings.TimeSeparator = static_cast<char>(in.Byte());
    const std::string layout = in.Rest();
    try {
        (void)fw::FormatDateTime(layout, value, settings);
    } catch (const fw::EConvertError&) {
    }
    return 0;
}
