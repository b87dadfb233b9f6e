#pragma once
// Registration of the package's component classes with the framework's class registry, so that
// form files can make them by class name.

namespace qz {

// Registers every component class of the package, and the framework classes its forms use
// (idempotent). Programs and form constructors
// call it before reading form files that name the package's classes.
void RegisterPackageClasses();

} // namespace qz
