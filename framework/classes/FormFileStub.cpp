#include <framework/classes/FormFile.h>
#include <framework/classes/TypInfo.h>

namespace fw {

TComponent* ReadComponentFromText(const String&, TComponent*) { throw EReadError("form reader not yet built"); }
void ReadRootFromText(TComponent*, const String&) { throw EReadError("form reader not yet built"); }
String WriteComponentToText(TComponent*) { throw EReadError("form writer not yet built"); }

} // namespace fw
