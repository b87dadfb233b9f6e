#pragma once
// The scripted tour: drives the demo form like a person would (keys and mouse
// through the automation calls, so every message takes the real input path) and,
// after each step, saves the screen as a numbered PNG and appends to a readable
// transcript what was done, what was seen and which events fired.

#include <filesystem>
#include <framework/forms/Form.h>
#include <iosfwd>

namespace qzdemo {

class TfrmQzDemo;

// A step did not have its expected effect. A loop error, so that it leaves any
// modal loop it happens in instead of being shown in an error box.
class ETourFailed : public fw::ELoopError {
public:
    using ELoopError::ELoopError;
};

// Runs the tour on a shown form. Writes NN-name.png and transcript.txt into Dir
// (which must exist) and one line per step to Progress. Raises ETourFailed (the
// transcript then ends with the failure) when a step misses its expected effect.
// With a Server connection string the Records form shows the table "events" of
// that PostgreSQL server instead of an SQLite file beside the pictures.
void RunTour(TfrmQzDemo* Form, const std::filesystem::path& Dir, const fw::String& FormFile,
             std::ostream& Progress, const fw::String& Server = "");

} // namespace qzdemo
