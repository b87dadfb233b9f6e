#include <framework/rtl/FormatSettings.h>

namespace fw {

TFormatSettings FormatSettings;

} // namespace fw
