#pragma once
// The framework's exception classes. Every error the framework raises derives
// from fw::Exception, which is a std::exception with a readable message.

#include <framework/rtl/Types.h>

#include <exception>

namespace fw {

class Exception : public std::exception {
public:
    explicit Exception(String message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const String& Message() const { return FMessage; }

private:
    String FMessage;
};

// Bad text conversion: StrToInt, EncodeDate, StrToDateEx.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Database failures and misuse of data links.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

// A form file or other stream that cannot be read.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

// A resource, file or image that cannot be loaded.
class EResourceError : public Exception {
public:
    using Exception::Exception;
};

// Invalid use of a graphics object (bad bitmap data, bad handle).
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

} // namespace fw
