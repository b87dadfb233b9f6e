#pragma once
// The package's information record: its name, description, design-time-only mark, the framework
// packages it requires and the units it contains. The loadable module exports it; programs that
// compile the package in can read it here.

#include <framework/designer/Packages.h>

namespace qz {

const fw::TPackageInfo& PackageInfo();

// The module entry: registers the package's resource module and its classes for form files.
void InitializePackage();

} // namespace qz
