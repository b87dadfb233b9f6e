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

struct TFormObject;

// Lenient reading, for bringing in other applications' forms: with a list
// given, the reader keeps what it knows and records the rest here, each with
// its line, instead of failing the read:
// - an unknown property, or an object of an unknown class (with everything
//   inside it), is skipped;
// - a root of an unknown class is read into the lenient root class (the
//   framework's form class) under the file's name;
// - an event whose method the root does not have (or has with another
//   signature) is left unbound;
// - an identifier a property does not know leaves the property as it was
//   (a set takes the members it knows);
// - a reference to a component the read skipped, or to none of the root's,
//   is left empty;
// - an `inherited` form without an ancestor resource, an `inherited` object
//   its ancestor did not make, and an `inline` frame without a resource of
//   its own are read as the file has them.
// Broken syntax and values of the wrong kind still fail. Without a list (the
// default) the read is strict.
struct TFormSkipped {
    int Line = 0;
    String What; // "unknown property 'Foo' of TEdit"
};
using TFormSkipList = std::vector<TFormSkipped>;

// Where the reader finds the resource of a class: an ancestor form's file
// for `inherited`, a frame's file for `inline`. The forms layer installs one
// that searches the resource modules; returns null when there is none.
using TFormResourceLookup = std::function<const String*(const TClassInfo* cls)>;
void SetFormResourceLookup(TFormResourceLookup lookup);
// The resource the installed lookup finds for cls, or null.
const String* FindClassResource(const TClassInfo* cls);

// The class a lenient read makes the root of when the file's class is
// unknown; the forms layer installs its form class. None by default.
void SetLenientRootClass(const TClassInfo* cls);

// Makes the root named by the file's class (from the registry) with `owner`
// as its owner and reads the file into it. The caller owns the result when
// owner is null.
TComponent* ReadComponentFromText(const String& text, TComponent* owner = nullptr,
                                  TFormSkipList* skipped = nullptr);

// Reads the file into an existing root: how a form constructor loads its own
// resource. The file's class must be root's class or one of its ancestors.
// Root's name is taken from the file; when another component of root's owner
// has that name already, "_1", "_2"... is appended.
// A file whose root is `inherited` first reads the nearest ancestor class's
// resource into root, then changes and adds to what it made.
void ReadRootFromText(TComponent* root, const String& text, TFormSkipList* skipped = nullptr);
// The same for a file parsed already (ParseFormText), for a caller that reads
// one text many times.
void ReadRootFromTree(TComponent* root, const TFormObject& node, TFormSkipList* skipped = nullptr);

// Writes root, its published properties that are stored, and the children
// that GetChildren lists, nested. A component whose class has a resource of its
// own (a form that loads its file when made) also writes each property that
// differs from a freshly made one, so that reading the text back, over that
// resource, gives the same component.
String WriteComponentToText(TComponent* root);

} // namespace fw
