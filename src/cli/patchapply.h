#pragma once

#include "fieldchange.h"

#include <string>
#include <vector>

namespace kt63 {

class DataImage;
class TStream;

// Every reason not to apply `changes` to the file that `image` was read from: a new value that
// does not fit the field's width, an old value the file does not hold (a conflict), a field
// changed twice. Each problem names where the change came from and the field.
std::vector<std::string> CheckChanges(const std::vector<FieldChange>& changes,
                                      const DataImage& image);

// The changes that alter a stored value; those whose new value is the old one write nothing.
std::vector<FieldChange> EffectiveChanges(const std::vector<FieldChange>& changes);

// Writes each change's new value into its field's bytes and nothing else, then reads every
// field back; gives one problem for each field that does not hold its new value afterwards.
std::vector<std::string> WriteChanges(TStream& file, const std::vector<FieldChange>& changes);

} // namespace kt63
