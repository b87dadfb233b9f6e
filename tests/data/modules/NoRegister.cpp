// A package record without a Register procedure.
#include <framework/designer/Packages.h>

extern "C" {
__attribute__((visibility("default"))) extern const fw::TPackageInfo PackageInfo;
const fw::TPackageInfo PackageInfo{"NoRegister", "No Register", fw::pfDesignOnly, nullptr, 0, nullptr, 0,
                                   nullptr};
}
