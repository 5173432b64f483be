// Page files: a drawing (draw_list.h) as a placeable Windows metafile, and back.
//
// Layout (all integers little-endian; "words" are 16-bit):
//
//   placeable header, 22 bytes
//     0  u32  key 0x9AC6CDD7
//     4  u16  handle, 0
//     6  i16  bounding box left, top, right, bottom (8 bytes)
//     14 u16  units per inch
//     16 u32  reserved, 0
//     20 u16  checksum: exclusive-or of the ten words before it
//   metafile header, 9 words
//     0  u16  type 1 (in memory)      2 u16 header size 9      4 u16 version 0x0300
//     6  u32  size of the metafile in words (header and records)
//     10 u16  number of objects       12 u32 largest record in words    16 u16 0
//   records, each: u32 size in words (the record's own 6 bytes included), u16 function,
//     parameters (coordinates as i16, y before x where the format puts it so)
//   end-of-file record: size 3, function 0
//
// Written records: SetMapMode, SetWindowOrg, SetWindowExt, SetBkMode, SetTextAlign,
// CreatePenIndirect, CreateBrushIndirect, CreateFontIndirect, SelectObject, DeleteObject,
// SetTextColor, TextOut, MoveTo, LineTo, Rectangle, Ellipse, Polygon and StretchDIB (24-bit
// bottom-up device-independent bitmaps). The reader takes those and also ExtTextOut, Polyline
// and DIBStretchBlt from other writers, skips other records whole, and refuses a file whose
// header, checksum or record sizes are wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/report/draw_list.h"

namespace carelog::report {

inline constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr size_t kPlaceableHeaderSize = 22;
inline constexpr size_t kMetafileHeaderSize = 18;
// The largest record the engine writes or reads (a bitmap of about 4000 x 2800 pixels).
inline constexpr size_t kMaxRecordBytes = 32u << 20;

// The page a metafile draws: its bounding box in units (the printer's resolution), units per
// inch, and the window (logical) origin and extent that map onto the bounding box.
struct PageFrame {
  int width = 0;
  int height = 0;
  int units_per_inch = 0;
  int window_x = 0, window_y = 0;
  int window_width = 0, window_height = 0;
};

enum class MetafileError : uint8_t {
  kOk,
  kRecordTooLarge,  // writing: a record over kMaxRecordBytes (runtime error 523)
  kTooShort,
  kBadKey,
  kBadChecksum,
  kBadHeader,
  kBadRecord,  // a record size that runs past the end or is under 3 words
  kNoEnd,      // the records end without the end-of-file record
};
const char* MetafileErrorText(MetafileError error);

// The checksum of a placeable header: exclusive-or of its first ten words.
uint16_t PlaceableChecksum(const uint8_t* header);

// Encodes a page of `frame.width` x `frame.height` units whose window is its own size.
MetafileError EncodeMetafile(const DrawList& page, const PageFrame& frame,
                             std::vector<uint8_t>* out);

// Decodes a page file's bytes. On failure *page holds nothing.
MetafileError DecodeMetafile(const uint8_t* data, size_t size, DrawList* page, PageFrame* frame);

// The transform that draws a decoded page into `target`, scaled to fill it.
PlayTransform TransformInto(const PageFrame& frame, const host::Rect& target);

// Writes a page as a new page file (prefix "TAM", the temporary directory). Returns its path,
// or "" with *error set (kRecordTooLarge, or kOk with *io_error when writing failed).
std::string WritePageFile(const DrawList& page, const PageFrame& frame, MetafileError* error,
                          std::string* io_error);

// Reads a page file. False when it cannot be read or decoded (*error says why).
bool ReadPageFile(const std::string& path, DrawList* page, PageFrame* frame, std::string* error);

// The metafile player: draws the page file into `target` on `dc`, scaled to fill it. False
// (nothing drawn) when the file cannot be read.
bool PlayPageFile(const std::string& path, host::DeviceContext& dc, const host::Rect& target,
                  std::string* error = nullptr);

}  // namespace carelog::report
