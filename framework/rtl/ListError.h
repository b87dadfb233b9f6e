#pragma once
// The error of an index outside a list (strings, collection items).

#include <framework/rtl/Exceptions.h>

namespace fw {

class EListError : public Exception {
public:
    using Exception::Exception;
};

} // namespace fw
