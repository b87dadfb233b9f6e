#include <charconv>
#include <framework/db/pg/PgValues.h>

namespace fw {

TFieldType PgFieldType(unsigned Oid, int Modifier, int& Size) {
    Size = 0;
    switch (Oid) {
    case pgtype::Bool:
        return ftBoolean;
    case pgtype::Int2:
    case pgtype::Int4:
        return ftInteger;
    case pgtype::Int8:
    case pgtype::Oid:
        return ftLargeint;
    case pgtype::Float4:
    case pgtype::Float8:
    case pgtype::Numeric:
        return ftFloat;
    case pgtype::Date:
        return ftDate;
    case pgtype::Timestamp:
    case pgtype::TimestampTz:
        return ftDateTime;
    case pgtype::BpChar:
    case pgtype::VarChar:
        // The modifier of char(n) and varchar(n) is n plus the 4-byte header.
        Size = Modifier > 4 ? Modifier - 4 : 0;
        return ftString;
    default:
        return ftString;
    }
}

namespace {

// Drops a "+01", "-05:30" or "+00:53:28" offset after the time of a timestamptz.
std::string_view WithoutOffset(std::string_view Text) {
    const auto Time = Text.find(' ');
    if (Time == std::string_view::npos) return Text;
    const auto Sign = Text.find_first_of("+-", Time);
    return Sign == std::string_view::npos ? Text : Text.substr(0, Sign);
}

} // namespace

TStoredValue PgToStored(unsigned Oid, std::string_view Text) {
    const char* End = Text.data() + Text.size();
    switch (Oid) {
    case pgtype::Int2:
    case pgtype::Int4:
    case pgtype::Int8:
    case pgtype::Oid: {
        std::int64_t Value = 0;
        auto [Ptr, Error] = std::from_chars(Text.data(), End, Value);
        if (Error == std::errc() && Ptr == End) return Value;
        break;
    }
    case pgtype::Float4:
    case pgtype::Float8:
    case pgtype::Numeric: {
        double Value = 0;
        auto [Ptr, Error] = std::from_chars(Text.data(), End, Value);
        if (Error == std::errc() && Ptr == End) return Value;
        break;
    }
    case pgtype::Bool:
        if (Text == "t") return std::int64_t{1};
        if (Text == "f") return std::int64_t{0};
        break;
    case pgtype::TimestampTz:
        return String(WithoutOffset(Text));
    default:
        break;
    }
    return String(Text);
}

TPgParam StoredToPg(const TStoredValue& Value) {
    if (IsNullValue(Value)) return std::nullopt;
    if (const auto* Int = std::get_if<std::int64_t>(&Value)) return std::to_string(*Int);
    if (const auto* Real = std::get_if<double>(&Value)) {
        char Buffer[32];
        auto [Ptr, Error] = std::to_chars(Buffer, Buffer + sizeof Buffer, *Real);
        return String(Buffer, Error == std::errc() ? Ptr : Buffer);
    }
    return std::get<String>(Value);
}

} // namespace fw
