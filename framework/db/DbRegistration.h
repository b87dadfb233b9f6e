#pragma once
// Registers the data classes with the class registry, so form files can
// name them. Safe to call more than once.

namespace fw {

void RegisterDataClasses();

} // namespace fw
