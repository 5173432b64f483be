// Encodes a drawing as a placeable metafile (layout in metafile.h). Objects (pens, brushes,
// fonts) take the lowest free slot of the object table, as every player of the format
// assigns them; the one selected before is deleted after its successor is selected, so the
// table never holds more than one object of a kind plus the one being replaced.
#include <algorithm>
#include <cstring>

#include "runtime/host/temp_files.h"
#include "runtime/report/metafile.h"
#include "runtime/report/metafile_records.h"

namespace carelog::report {

using namespace wmf;

namespace {

class Writer {
 public:
  explicit Writer(std::vector<uint8_t>* out) : out_(*out) {}

  // Starts a record; parameters follow through U16/I16/U32/Bytes; Finish closes it.
  void Begin(uint16_t function) {
    start_ = out_.size();
    U32(0);
    U16(function);
  }
  void U16(uint16_t v) {
    out_.push_back(static_cast<uint8_t>(v));
    out_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void I16(int v) {
    U16(static_cast<uint16_t>(static_cast<int16_t>(std::clamp(v, -32768, 32767))));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void Color(host::Color c) { U32(c.r | (c.g << 8) | (c.b << 16)); }
  void Bytes(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    out_.insert(out_.end(), p, p + n);
    if (n % 2) out_.push_back(0);
  }
  // False when the record is over the engine's limit.
  bool Finish() {
    size_t bytes = out_.size() - start_;
    if (bytes > kMaxRecordBytes) return false;
    uint32_t words = static_cast<uint32_t>(bytes / 2);
    for (int i = 0; i < 4; ++i) out_[start_ + i] = static_cast<uint8_t>(words >> (8 * i));
    largest_ = std::max(largest_, words);
    return true;
  }
  uint32_t largest() const { return largest_; }

  // Object slots.
  int Allocate() {
    auto free = std::find(slots_.begin(), slots_.end(), false);
    int index = static_cast<int>(free - slots_.begin());
    if (free == slots_.end()) {
      slots_.push_back(true);
    } else {
      *free = true;
    }
    return index;
  }
  void Release(int index) { slots_[index] = false; }
  size_t object_count() const { return slots_.size(); }
  int selected[3] = {-1, -1, -1};  // pen, brush, font

 private:
  std::vector<uint8_t>& out_;
  size_t start_ = 0;
  uint32_t largest_ = 0;
  std::vector<bool> slots_;
};

bool Simple(Writer& w, uint16_t function, std::initializer_list<int> words) {
  w.Begin(function);
  for (int v : words) w.I16(v);
  return w.Finish();
}

// Selects the object just created in its kind's slot and deletes the one it replaces.
bool SelectNew(Writer& w, int kind, int index) {
  if (!Simple(w, kSelectObject, {index})) return false;
  int old = w.selected[kind];
  w.selected[kind] = index;
  if (old < 0) return true;
  w.Release(old);
  return Simple(w, kDeleteObject, {old});
}

bool CreatePen(Writer& w, uint16_t style, int width, host::Color color) {
  int index = w.Allocate();
  w.Begin(kCreatePenIndirect);
  w.U16(style);
  w.I16(width);
  w.I16(0);
  w.Color(color);
  return w.Finish() && SelectNew(w, 0, index);
}

bool CreateBrush(Writer& w, uint16_t style, host::Color color) {
  int index = w.Allocate();
  w.Begin(kCreateBrushIndirect);
  w.U16(style);
  w.Color(color);
  w.U16(0);
  return w.Finish() && SelectNew(w, 1, index);
}

bool WritePen(Writer& w, const DrawOp& op) {
  static constexpr uint16_t kStyles[] = {kPsSolid, kPsDash, kPsDot, kPsNull};
  return CreatePen(w, kStyles[std::clamp(op.b, 0, 3)], op.a, op.color);
}
bool WriteBrush(Writer& w, const DrawOp& op) {
  return CreateBrush(w, kBsSolid, op.color);
}
bool WriteNoBrush(Writer& w, const DrawOp&) {
  return CreateBrush(w, kBsNull, host::Color{});
}

bool WriteFont(Writer& w, const DrawOp& op) {
  int index = w.Allocate();
  const PageFont& f = op.font;
  w.Begin(kCreateFontIndirect);
  w.I16(-std::abs(f.height));  // negative: the character height, not the cell height
  w.I16(0);                    // width: the face's own
  w.I16(0);                    // escapement
  w.I16(0);                    // orientation
  w.I16(f.weight);
  uint8_t flags[8] = {f.italic, f.underline, f.strikeout, 0 /* ANSI */, 0, 0, 0, 0};
  w.Bytes(flags, sizeof flags);
  char face[kFaceNameBytes] = {};
  std::memcpy(face, f.face.data(), std::min(f.face.size(), kFaceNameBytes - 1));
  w.Bytes(face, sizeof face);
  return w.Finish() && SelectNew(w, 2, index);
}

bool WriteTextColor(Writer& w, const DrawOp& op) {
  w.Begin(kSetTextColor);
  w.Color(op.color);
  return w.Finish();
}

bool WriteText(Writer& w, const DrawOp& op) {
  size_t length = std::min<size_t>(op.text.size(), 32767);
  w.Begin(kTextOut);
  w.U16(static_cast<uint16_t>(length));
  w.Bytes(op.text.data(), length);
  w.I16(op.b);
  w.I16(op.a);
  return w.Finish();
}

bool WriteLine(Writer& w, const DrawOp& op) {
  return Simple(w, kMoveTo, {op.b, op.a}) && Simple(w, kLineTo, {op.d, op.c});
}
bool WriteRectangle(Writer& w, const DrawOp& op) {
  return Simple(w, kRectangle, {op.d, op.c, op.b, op.a});
}
bool WriteEllipse(Writer& w, const DrawOp& op) {
  return Simple(w, kEllipse, {op.d, op.c, op.b, op.a});
}

bool WritePolygon(Writer& w, const DrawOp& op) {
  size_t count = std::min<size_t>(op.points.size(), 32767);
  w.Begin(kPolygon);
  w.U16(static_cast<uint16_t>(count));
  for (size_t i = 0; i < count; ++i) {
    w.I16(op.points[i].x);
    w.I16(op.points[i].y);
  }
  return w.Finish();
}

// A 24-bit bottom-up device-independent bitmap: header, then rows padded to four bytes.
void WriteDib(Writer& w, const host::Surface& bitmap) {
  int width = bitmap.Width(), height = bitmap.Height();
  uint32_t row = static_cast<uint32_t>((width * 3 + 3) & ~3);
  w.U32(40);
  w.U32(static_cast<uint32_t>(width));
  w.U32(static_cast<uint32_t>(height));
  w.U16(1);
  w.U16(24);
  w.U32(0);
  w.U32(row * static_cast<uint32_t>(height));
  w.U32(0), w.U32(0), w.U32(0), w.U32(0);
  std::vector<uint8_t> line(row, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      uint32_t argb = bitmap.Pixel(x, y);
      // Transparent pixels print as paper.
      uint32_t alpha = argb >> 24;
      auto blend = [alpha](uint32_t c) {
        return static_cast<uint8_t>((c * alpha + 255 * (255 - alpha)) / 255);
      };
      line[x * 3] = blend(argb & 0xFF);
      line[x * 3 + 1] = blend((argb >> 8) & 0xFF);
      line[x * 3 + 2] = blend((argb >> 16) & 0xFF);
    }
    w.Bytes(line.data(), line.size());
  }
}

bool WriteBitmap(Writer& w, const DrawOp& op) {
  if (!op.bitmap) return true;
  uint64_t bytes = 40 + static_cast<uint64_t>((op.bitmap->Width() * 3 + 3) & ~3) *
                            static_cast<uint64_t>(op.bitmap->Height());
  if (bytes > kMaxRecordBytes) return false;
  w.Begin(kStretchDib);
  w.U32(kSrcCopy);
  w.U16(0);  // colours are RGB values
  w.I16(op.bitmap->Height());
  w.I16(op.bitmap->Width());
  w.I16(0);
  w.I16(0);
  w.I16(op.d - op.b);
  w.I16(op.c - op.a);
  w.I16(op.b);
  w.I16(op.a);
  WriteDib(w, *op.bitmap);
  return w.Finish();
}

using WriteFn = bool (*)(Writer&, const DrawOp&);
constexpr WriteFn kWriters[] = {WritePen,       WriteBrush,   WriteNoBrush, WriteFont,
                                WriteTextColor, WriteText,    WriteLine,    WriteRectangle,
                                WriteEllipse,   WritePolygon, WriteBitmap};
static_assert(std::size(kWriters) == static_cast<size_t>(DrawCode::kBitmap) + 1);

void WritePlaceableHeader(std::vector<uint8_t>* out, const PageFrame& frame) {
  Writer w(out);
  w.U32(kPlaceableKey);
  w.U16(0);
  w.I16(0), w.I16(0), w.I16(frame.width), w.I16(frame.height);
  w.U16(static_cast<uint16_t>(frame.units_per_inch));
  w.U32(0);
  w.U16(PlaceableChecksum(out->data()));
}

// The state every page starts from: one unit per printer pixel, transparent text from the
// top left, a black pen, no brush.
bool WritePreamble(Writer& w, const PageFrame& frame) {
  return Simple(w, kSetMapMode, {kMapAnisotropic}) && Simple(w, kSetWindowOrg, {0, 0}) &&
         Simple(w, kSetWindowExt, {frame.height, frame.width}) &&
         Simple(w, kSetBkMode, {kTransparent}) && Simple(w, kSetTextAlign, {0, 0}) &&
         CreatePen(w, kPsSolid, 1, host::Color{0, 0, 0}) && CreateBrush(w, kBsNull, host::Color{});
}

}  // namespace

uint16_t PlaceableChecksum(const uint8_t* header) {
  uint16_t sum = 0;
  for (int i = 0; i < 10; ++i)
    sum ^= static_cast<uint16_t>(header[2 * i] | (header[2 * i + 1] << 8));
  return sum;
}

MetafileError EncodeMetafile(const DrawList& page, const PageFrame& frame,
                             std::vector<uint8_t>* out) {
  out->clear();
  WritePlaceableHeader(out, frame);
  out->resize(kPlaceableHeaderSize + kMetafileHeaderSize);
  Writer w(out);
  if (!WritePreamble(w, frame)) return MetafileError::kRecordTooLarge;
  for (const DrawOp& op : page.ops()) {
    if (!kWriters[static_cast<size_t>(op.code)](w, op)) return MetafileError::kRecordTooLarge;
  }
  w.Begin(kEndOfFile);
  w.Finish();
  // The metafile header, now that the sizes are known.
  std::vector<uint8_t> header;
  Writer h(&header);
  h.U16(1);
  h.U16(9);
  h.U16(0x0300);
  h.U32(static_cast<uint32_t>((out->size() - kPlaceableHeaderSize) / 2));
  h.U16(static_cast<uint16_t>(w.object_count()));
  h.U32(w.largest());
  h.U16(0);
  std::copy(header.begin(), header.end(), out->begin() + kPlaceableHeaderSize);
  return MetafileError::kOk;
}

std::string WritePageFile(const DrawList& page, const PageFrame& frame, MetafileError* error,
                          std::string* io_error) {
  std::vector<uint8_t> bytes;
  *error = EncodeMetafile(page, frame, &bytes);
  if (*error != MetafileError::kOk) return "";
  std::string path;
  if (!host::WriteTemporaryFile("TAM", bytes, &path)) {
    *io_error =
        path.empty() ? "no temporary file for a page" : "cannot write the page file " + path;
    return "";
  }
  return path;
}

}  // namespace carelog::report
