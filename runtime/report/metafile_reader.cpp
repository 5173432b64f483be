// Decodes a placeable metafile into a drawing (layout in metafile.h). Every size and count
// comes from the file, so each is checked against the bytes that are really there: a bad
// file gives an error, never a read past the end, and the loop advances by at least one
// record header each turn.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "runtime/report/metafile.h"
#include "runtime/report/metafile_records.h"

namespace carelog::report {

using namespace wmf;

namespace {

// The parameters of one record.
class Params {
 public:
  Params(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Has(size_t bytes) const { return pos_ + bytes <= size_; }
  uint16_t U16() {
    if (!Has(2)) return ok_ = false, 0;
    uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  int I16() { return static_cast<int16_t>(U16()); }
  uint32_t U32() {
    uint32_t low = U16();
    return low | (static_cast<uint32_t>(U16()) << 16);
  }
  host::Color Color() {
    uint32_t v = U32();
    return host::Color{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                       static_cast<uint8_t>(v >> 16)};
  }
  const uint8_t* Take(size_t bytes) {
    if (!Has(bytes)) return ok_ = false, nullptr;
    const uint8_t* p = data_ + pos_;
    pos_ += bytes + (bytes % 2);
    return p;
  }
  const uint8_t* Rest(size_t* bytes) const {
    *bytes = size_ - std::min(pos_, size_);
    return data_ + std::min(pos_, size_);
  }
  bool ok() const { return ok_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

struct Reader {
  DrawList& page;
  PageFrame& frame;
  std::vector<std::optional<DrawOp>> objects;
  host::Point position;  // where the next LineTo starts

  void Create(DrawOp op) {
    auto free = std::find_if(objects.begin(), objects.end(), [](const auto& o) { return !o; });
    if (free != objects.end()) {
      *free = std::move(op);
    } else if (objects.size() < 65535) {
      objects.push_back(std::move(op));
    }
  }
};

using ReadFn = bool (*)(Reader&, Params&);

bool ReadWindowOrg(Reader& r, Params& p) {
  r.frame.window_y = p.I16();
  r.frame.window_x = p.I16();
  return p.ok();
}
bool ReadWindowExt(Reader& r, Params& p) {
  r.frame.window_height = p.I16();
  r.frame.window_width = p.I16();
  return p.ok();
}

bool ReadPen(Reader& r, Params& p) {
  uint16_t style = p.U16();
  int width = p.I16();
  p.I16();
  DrawOp op = MakeOp(DrawCode::kPen, p.Color(), std::max(width, 0));
  host::PenStyle pen = (style & 0xF) == kPsNull   ? host::PenStyle::kNone
                       : (style & 0xF) == kPsDash ? host::PenStyle::kDash
                       : (style & 0xF) == kPsDot  ? host::PenStyle::kDot
                                                  : host::PenStyle::kSolid;
  op.b = static_cast<int>(pen);
  if (!p.ok()) return false;
  r.Create(std::move(op));
  return true;
}

bool ReadBrush(Reader& r, Params& p) {
  uint16_t style = p.U16();
  host::Color color = p.Color();
  if (!p.ok()) return false;
  r.Create(MakeOp(style == kBsNull ? DrawCode::kNoBrush : DrawCode::kBrush, color));
  return true;
}

bool ReadFont(Reader& r, Params& p) {
  DrawOp op = MakeOp(DrawCode::kFont);
  op.font.height = p.I16();
  p.I16(), p.I16(), p.I16();
  op.font.weight = std::clamp(p.I16(), 0, 1000);
  const uint8_t* flags = p.Take(8);
  if (!p.ok()) return false;
  op.font.italic = flags[0] != 0;
  op.font.underline = flags[1] != 0;
  op.font.strikeout = flags[2] != 0;
  size_t rest = 0;
  const uint8_t* face = p.Rest(&rest);
  rest = std::min(rest, kFaceNameBytes);
  op.font.face.assign(reinterpret_cast<const char*>(face), std::find(face, face + rest, 0) - face);
  r.Create(std::move(op));
  return true;
}

bool ReadSelect(Reader& r, Params& p) {
  uint16_t index = p.U16();
  if (!p.ok()) return false;
  if (index < r.objects.size() && r.objects[index]) r.page.Add(*r.objects[index]);
  return true;
}
bool ReadDelete(Reader& r, Params& p) {
  uint16_t index = p.U16();
  if (!p.ok()) return false;
  if (index < r.objects.size()) r.objects[index].reset();
  return true;
}

bool ReadTextColor(Reader& r, Params& p) {
  host::Color color = p.Color();
  if (p.ok()) r.page.SetTextColor(color);
  return p.ok();
}

bool ReadTextOut(Reader& r, Params& p) {
  uint16_t length = p.U16();
  const uint8_t* text = p.Take(length);
  int y = p.I16();
  int x = p.I16();
  if (!p.ok()) return false;
  r.page.Text(host::Point{x, y}, std::string(reinterpret_cast<const char*>(text), length));
  return true;
}

bool ReadExtTextOut(Reader& r, Params& p) {
  int y = p.I16();
  int x = p.I16();
  int length = p.I16();
  uint16_t options = p.U16();
  if (options & (kEtoOpaque | kEtoClipped)) p.Take(8);
  if (length < 0) return false;
  const uint8_t* text = p.Take(static_cast<size_t>(length));
  if (!p.ok()) return false;
  r.page.Text(host::Point{x, y},
              std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(length)));
  return true;
}

bool ReadMoveTo(Reader& r, Params& p) {
  int y = p.I16();
  int x = p.I16();
  r.position = host::Point{x, y};
  return p.ok();
}
bool ReadLineTo(Reader& r, Params& p) {
  int y = p.I16();
  int x = p.I16();
  if (!p.ok()) return false;
  r.page.Line(r.position, host::Point{x, y});
  r.position = host::Point{x, y};
  return true;
}

bool ReadBox(Reader& r, Params& p, DrawCode code) {
  int bottom = p.I16(), right = p.I16(), top = p.I16(), left = p.I16();
  if (!p.ok()) return false;
  r.page.Add(MakeOp(code, host::Color{}, left, top, right, bottom));
  return true;
}
bool ReadRectangle(Reader& r, Params& p) {
  return ReadBox(r, p, DrawCode::kRectangle);
}
bool ReadEllipse(Reader& r, Params& p) {
  return ReadBox(r, p, DrawCode::kEllipse);
}

bool ReadPoints(Params& p, std::vector<host::Point>* points) {
  uint16_t count = p.U16();
  if (!p.ok() || !p.Has(static_cast<size_t>(count) * 4)) return false;
  for (uint16_t i = 0; i < count; ++i) {
    int x = p.I16();
    points->push_back(host::Point{x, p.I16()});
  }
  return true;
}
bool ReadPolygon(Reader& r, Params& p) {
  std::vector<host::Point> points;
  if (!ReadPoints(p, &points)) return false;
  r.page.Polygon(std::move(points));
  return true;
}
bool ReadPolyline(Reader& r, Params& p) {
  std::vector<host::Point> points;
  if (!ReadPoints(p, &points)) return false;
  for (size_t i = 1; i < points.size(); ++i) r.page.Line(points[i - 1], points[i]);
  return true;
}

}  // namespace

// In metafile_dib.cpp: a device-independent bitmap to a surface, nullptr when malformed.
std::shared_ptr<host::Surface> DecodeDib(const uint8_t* data, size_t size);

namespace {

bool ReadStretched(Reader& r, Params& p, bool has_usage) {
  p.U32();
  if (has_usage) p.U16();
  p.I16(), p.I16(), p.I16(), p.I16();  // source rectangle: the whole bitmap is drawn
  int height = p.I16(), width = p.I16(), y = p.I16(), x = p.I16();
  if (!p.ok()) return false;
  size_t size = 0;
  const uint8_t* dib = p.Rest(&size);
  std::shared_ptr<host::Surface> bitmap = DecodeDib(dib, size);
  if (!bitmap) return true;  // a bitmap this reader cannot show is left out, the page goes on
  host::Rect dest{std::min(x, x + width), std::min(y, y + height), std::max(x, x + width),
                  std::max(y, y + height)};
  r.page.Bitmap(std::move(bitmap), dest);
  return true;
}
bool ReadStretchDib(Reader& r, Params& p) {
  return ReadStretched(r, p, true);
}
bool ReadDibStretchBlt(Reader& r, Params& p) {
  return ReadStretched(r, p, false);
}

struct RecordReader {
  uint16_t function;
  ReadFn read;
};
constexpr RecordReader kReaders[] = {
    {kSetWindowOrg, ReadWindowOrg},  {kSetWindowExt, ReadWindowExt},
    {kCreatePenIndirect, ReadPen},   {kCreateBrushIndirect, ReadBrush},
    {kCreateFontIndirect, ReadFont}, {kSelectObject, ReadSelect},
    {kDeleteObject, ReadDelete},     {kSetTextColor, ReadTextColor},
    {kTextOut, ReadTextOut},         {kExtTextOut, ReadExtTextOut},
    {kMoveTo, ReadMoveTo},           {kLineTo, ReadLineTo},
    {kRectangle, ReadRectangle},     {kEllipse, ReadEllipse},
    {kPolygon, ReadPolygon},         {kPolyline, ReadPolyline},
    {kStretchDib, ReadStretchDib},   {kDibStretchBlt, ReadDibStretchBlt},
};

uint32_t U32At(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t U16At(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

MetafileError ReadPlaceable(const uint8_t* data, size_t size, PageFrame* frame) {
  if (size < kPlaceableHeaderSize + kMetafileHeaderSize) return MetafileError::kTooShort;
  if (U32At(data) != kPlaceableKey) return MetafileError::kBadKey;
  if (U16At(data + 20) != PlaceableChecksum(data)) return MetafileError::kBadChecksum;
  int left = static_cast<int16_t>(U16At(data + 6)), top = static_cast<int16_t>(U16At(data + 8));
  int right = static_cast<int16_t>(U16At(data + 10));
  int bottom = static_cast<int16_t>(U16At(data + 12));
  *frame = PageFrame{};
  frame->width = right - left;
  frame->height = bottom - top;
  frame->units_per_inch = U16At(data + 14);
  if (frame->width <= 0 || frame->height <= 0) return MetafileError::kBadHeader;
  frame->window_x = left, frame->window_y = top;
  frame->window_width = frame->width, frame->window_height = frame->height;
  const uint8_t* h = data + kPlaceableHeaderSize;
  uint16_t type = U16At(h), words = U16At(h + 2), version = U16At(h + 4);
  if ((type != 1 && type != 2) || words != 9 || (version != 0x0100 && version != 0x0300)) {
    return MetafileError::kBadHeader;
  }
  return MetafileError::kOk;
}

}  // namespace

MetafileError DecodeMetafile(const uint8_t* data, size_t size, DrawList* page, PageFrame* frame) {
  page->Clear();
  MetafileError error = ReadPlaceable(data, size, frame);
  if (error != MetafileError::kOk) return error;
  Reader reader{*page, *frame, {}, {}};
  size_t pos = kPlaceableHeaderSize + kMetafileHeaderSize;
  while (pos + 6 <= size) {
    uint64_t bytes = static_cast<uint64_t>(U32At(data + pos)) * 2;
    uint16_t function = U16At(data + pos + 4);
    if (bytes < 6 || bytes > size - pos || bytes > kMaxRecordBytes) {
      page->Clear();
      return MetafileError::kBadRecord;
    }
    if (function == kEndOfFile) return MetafileError::kOk;
    Params params(data + pos + 6, static_cast<size_t>(bytes) - 6);
    for (const RecordReader& r : kReaders) {
      if (r.function == function && !r.read(reader, params)) {
        page->Clear();
        return MetafileError::kBadRecord;
      }
    }
    pos += static_cast<size_t>(bytes);
  }
  page->Clear();
  return MetafileError::kNoEnd;
}

const char* MetafileErrorText(MetafileError error) {
  static constexpr const char* kTexts[] = {
      "no error",
      "a metafile record is too large",
      "the file is too short for a placeable metafile",
      "the file does not start with the placeable metafile key",
      "the placeable header's checksum is wrong",
      "the metafile header is not valid",
      "a metafile record is malformed",
      "the metafile has no end-of-file record",
  };
  return kTexts[static_cast<size_t>(error)];
}

PlayTransform TransformInto(const PageFrame& frame, const host::Rect& target) {
  PlayTransform t;
  int ext_x = frame.window_width != 0 ? frame.window_width : frame.width;
  int ext_y = frame.window_height != 0 ? frame.window_height : frame.height;
  t.scale_x = ext_x != 0 ? static_cast<double>(target.Width()) / ext_x : 1;
  t.scale_y = ext_y != 0 ? static_cast<double>(target.Height()) / ext_y : 1;
  t.origin_x = target.left - frame.window_x * t.scale_x;
  t.origin_y = target.top - frame.window_y * t.scale_y;
  return t;
}

bool ReadPageFile(const std::string& path, DrawList* page, PageFrame* frame, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = "cannot open the page file " + path;
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  MetafileError result = DecodeMetafile(bytes.data(), bytes.size(), page, frame);
  if (result != MetafileError::kOk) {
    *error = path + ": " + MetafileErrorText(result);
    return false;
  }
  return true;
}

bool PlayPageFile(const std::string& path, host::DeviceContext& dc, const host::Rect& target,
                  std::string* error) {
  DrawList page;
  PageFrame frame;
  std::string ignored;
  if (!ReadPageFile(path, &page, &frame, error ? error : &ignored)) return false;
  page.Play(dc, TransformInto(frame, target));
  return true;
}

}  // namespace carelog::report
