// The relations between the files: which parent number each child file holds, by which key the
// children are found, and what happens to the children when the parent's number changes or the
// parent is deleted. The integrity routines walk this table; its names are declared names and
// resolve to field numbers and key indexes through dictionary.h.
//
// POC:PATIENT_NUMBER and CAS:PATEINTNUMBER also hold patient numbers, but nothing maintains
// them: deleting a patient leaves its plans of care and case conferences in place, so they are
// not relations here.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "app/data/dictionary.h"

namespace carelog::appdata {

enum class OnParentChange : uint8_t {
  kCascade,        // the parent's new number is written into every child that held the old one
  kNotMaintained,  // children keep the old number
};

enum class OnParentDelete : uint8_t {
  kCascade,  // every child is deleted before the parent
  kClear,    // the child field is set to zero and the child kept
};

struct Relation {
  FileId parent;
  const char* parent_field;  // "PAT:PATIENT_NUMBER"
  FileId child;
  const char* child_field;  // "DIS:PATIENT_NUMBER" (a DECIMAL there, a LONG everywhere else)
  const char* child_key;    // the child key whose first component is child_field
  OnParentChange on_change;
  OnParentDelete on_delete;
};

// All relations, grouped by parent.
std::span<const Relation> Relations();

// The number a relation field holds in a record image of its file: a LONG, or (in
// DischargeSummary) a DECIMAL without places, converted so that parent and child numbers
// compare and assign by value. `field` is the declared name. Reading fails (false, *value
// unchanged) for a name that is not a LONG or DECIMAL field of the file, a DECIMAL with a bad
// digit, or a value outside 32 bits; writing fails only for a name that is not such a field.
bool ReadRelationNumber(const FileInfo& info, std::string_view field, const uint8_t* record,
                        int32_t* value);
bool WriteRelationNumber(const FileInfo& info, std::string_view field, uint8_t* record,
                         int32_t value);

}  // namespace carelog::appdata
