// A loadable module that is no package: it exports neither a package record nor Register.
extern "C" __attribute__((visibility("default"))) int NotAPackageAnswer() {
    return 42;
}
