#pragma once
// Text form files:
//
//     object frmQzCal: TfrmQzCal
//       Left = 282
//       BorderIcons = [biSystemMenu]
//       Font.Name = 'MS Sans Serif'
//       OnKeyDown = FormKeyDown
//       object tmr: TTimer
//         Interval = 100
//       end
//     end
//
// Reading makes each child with the root as owner and calls
// SetParentComponent(enclosing object) on it, marks every component read
// csLoading, assigns properties in file order through their setters, fills
// the root's published fields, binds events to the root's published methods,
// resolves component references once the whole file is read, then calls
// Loaded on each component (root first, then in file order).
//
// A bad file raises one EReadError whose message starts with "line N: ".
// Whatever the reader made is freed again; a root passed in by the caller
// stays alive with the properties set so far.

#include <framework/classes/Component.h>

namespace fw {

// Makes the root named by the file's class (from the registry) with `owner`
// as its owner and reads the file into it. The caller owns the result when
// owner is null.
TComponent* ReadComponentFromText(const String& text, TComponent* owner = nullptr);

// Reads the file into an existing root: how a form constructor loads its own
// resource. The file's class must be root's class or one of its ancestors.
// Root's name is taken from the file; when another component of root's owner
// has that name already, "_1", "_2"... is appended.
void ReadRootFromText(TComponent* root, const String& text);

// Writes root, its published properties that are stored, and the children
// that GetChildren lists, nested.
String WriteComponentToText(TComponent* root);

} // namespace fw
