#pragma once

#include "fieldchange.h"
#include "helddatafile.h"

#include <string>
#include <vector>

namespace kt63 {

class DataImage;

// Every reason not to apply `changes` to the file that `image` was read from: a new value that
// does not fit the field's width, an old value the file does not hold (a conflict), a field
// changed twice. Each problem names where the change came from and the field.
std::vector<std::string> CheckChanges(const std::vector<FieldChange>& changes,
                                      const DataImage& image);

// Keeps the changes that alter a stored value; those whose new value is the old one write
// nothing.
void KeepEffective(std::vector<FieldChange>& changes);

// One change per field: a field that several changes set to the same value is kept once; set to
// different values, it is a problem naming both places (two dumps given as the base that
// disagree must not be settled by whichever came last).
std::vector<FieldChange> MergeAgreeing(std::vector<FieldChange> changes,
                                       std::vector<std::string>& problems);

// The image with each change's new value in its field's bytes.
DataImage WithChanges(const DataImage& image, const std::vector<FieldChange>& changes);

// Writes each change's new value into its field's bytes and nothing else, through the held
// file's rules: the old bytes of the tables are read just before, the writes are synced and the
// file is looked at once more, then every field is read back. A failure on the way puts every
// field written back and throws (see HeldDataFile). A field that does not hold its new value is
// a problem, and then too every field is put back; the last problem says whether that worked.
// `safeguards` as for HeldDataFile::WriteAndReadBack.
std::vector<std::string> WriteChanges(HeldDataFile& file, const std::vector<FieldChange>& changes,
                                      const ChangeSafeguards& safeguards = {});

} // namespace kt63
