#pragma once
// The framework's exception classes. Every error the framework raises derives
// from fw::Exception, which is a std::exception with a readable message.

#include <exception>
#include <framework/rtl/Types.h>
#include <utility>

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

// Steps that must all run even when one of them raises (the clean-up after a
// modal loop, the hiding of a form): each step's exception is caught; the
// first goes on from Rethrow once every step has run, later ones are dropped.
class TAllSteps {
public:
    template <class F>
    void Run(F&& step) {
        try {
            step();
        } catch (...) {
            if (!FFirst) FFirst = std::current_exception();
        }
    }
    bool Failed() const { return static_cast<bool>(FFirst); }
    void Rethrow() {
        if (FFirst) std::rethrow_exception(std::exchange(FFirst, nullptr));
    }

private:
    std::exception_ptr FFirst;
};

} // namespace fw
