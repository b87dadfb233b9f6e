#pragma once
// What property and component editors ask of the designer that made them: the form being
// designed and a notice that something changed. Editors work without a designer too (tests).

#include <framework/classes/Component.h>

namespace fw {

class IDesigner {
public:
    virtual ~IDesigner() = default;
    // The component being designed (the form); editors look references up among its components.
    virtual TComponent* Root() const = 0;
    // Called after an editor changed a property or ran a verb that changed something.
    virtual void Modified() = 0;
};

} // namespace fw
