// Reads resource bodies (layout in definition_format.h) with every byte checked: a truncated
// or corrupt body, an offset out of range, an unterminated string, an unknown kind, a loop in
// a sibling list or record chain, or nesting deeper than kMaxDepth is a DefinitionError,
// never a crash or a hang. Each entry and chain record may be reached once per decode, which
// bounds the work by the size of the body.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window/definition_model.h"

namespace carelog::window {

enum class DefinitionError {
  kOk = 0,
  kTruncated,           // the body ends inside its identifier or first-structure word
  kOffsetOutOfRange,    // a reference points outside the body or into the prefix
  kUnterminatedString,  // a string runs to the end of the body
  kUnknownKind,         // an entry's kind code is not one of the layout table
  kMisplacedKind,       // an entry of a kind that cannot stand where it was found
  kLoop,                // an entry or chain record reached a second time
  kTooDeep,             // containers nested deeper than kMaxDepth
  kResourceNotFound,    // no resource of the module's name
  kModuleMismatch,      // the resource holds another module identifier
  kLabelNotFound,       // no structure of that label in the module
};

inline constexpr int kMaxDepth = 64;

const char* DefinitionErrorText(DefinitionError error);

// The loaded copy of a body: a two-byte prefix (first byte zero) followed by the body from
// its first-structure word on. Offsets in the body index this vector.
struct Image {
  std::string identifier;
  std::vector<uint8_t> bytes;
};

// Splits a body into its identifier and image. Fails with kTruncated when the identifier has
// no terminating zero or the first-structure word is cut off.
DefinitionError MakeImage(const uint8_t* body, size_t size, Image* image);

// Offsets of the top-level structures in list order, following the first-structure word and
// the next links. Checks each entry's header and that it is a window or report.
DefinitionError ListStructures(const Image& image, std::vector<uint32_t>* offsets,
                               uint32_t* error_offset = nullptr);

// Decodes the structure at `offset` with its whole tree.
DefinitionError DecodeStructure(const Image& image, uint32_t offset, Entry* entry,
                                uint32_t* error_offset = nullptr);

// Decodes a whole body.
DefinitionError DecodeModule(const uint8_t* body, size_t size, Module* module,
                             uint32_t* error_offset = nullptr);

// The label string of the top-level entry at `offset`; false when it has none or it is out
// of range. The entry header must have been checked (ListStructures).
bool StructureLabel(const Image& image, uint32_t offset, std::string_view* label);

}  // namespace carelog::window
