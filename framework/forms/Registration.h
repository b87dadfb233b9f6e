#pragma once
// Registers the framework's control and form classes with the class
// registry, so form files can name them. Safe to call more than once.

namespace fw {

void RegisterControlClasses();

} // namespace fw
