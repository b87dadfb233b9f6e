// The entry points of the loadable package module QzComponents5 (built only into the module).
// The designer finds them by name with the dynamic loader.

#include <QzComponents5/QzPackage.h>
#include <RegQz/RegQz.h>

extern "C" {

__attribute__((visibility("default"))) extern const fw::TPackageInfo PackageInfo;
const fw::TPackageInfo PackageInfo = qz::PackageInfo();

__attribute__((visibility("default"))) void Register() {
    qz::Register();
}

} // extern "C"
