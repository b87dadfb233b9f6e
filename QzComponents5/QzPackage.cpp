#include <QzComponents5/QzModule.h>
#include <QzComponents5/QzPackage.h>
#include <QzComponents5/QzRegister.h>
#include <iterator>

namespace qz {

namespace {

constexpr const char* Requires[] = {"Vcldb50", "Vclbde50", "vcl50"};
constexpr const char* Contains[] = {"QzComponents5", "Qzde", "SysInit", "Qzled", "RegQz"};

} // namespace

void InitializePackage() {
    HInstance();
    RegisterPackageClasses();
}

const fw::TPackageInfo& PackageInfo() {
    static constexpr fw::TPackageInfo info{
        "QzComponents5",     "Qz Components", fw::pfDesignOnly,    Requires,
        std::size(Requires), Contains,        std::size(Contains), &InitializePackage,
    };
    return info;
}

} // namespace qz
