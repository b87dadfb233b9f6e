#pragma once

#include <string>

namespace arttest {

inline std::string BitmapPath(const std::string& name) {
    return std::string(QZ_SOURCE_DIR) + "/resources/bitmaps/" + name + ".bmp";
}

} // namespace arttest
