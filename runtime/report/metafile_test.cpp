// Page files: the bytes checked by a reader of the published record format written here from
// scratch, pages played back against the same page drawn directly, and damaged files refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "runtime/report/metafile.h"

namespace carelog::report {
namespace {

// A reader of the format that shares nothing with the engine's own.
struct RecordSummary {
  uint32_t words;
  uint16_t function;
};
struct FileSummary {
  bool key_ok = false, checksum_ok = false;
  int right = 0, bottom = 0, inch = 0;
  uint32_t declared_words = 0, declared_largest = 0;
  std::vector<RecordSummary> records;
  bool ends_cleanly = false;
};

FileSummary Summarise(const std::vector<uint8_t>& b) {
  auto w16 = [&](size_t at) { return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8)); };
  auto w32 = [&](size_t at) { return w16(at) | (static_cast<uint32_t>(w16(at + 2)) << 16); };
  FileSummary s;
  s.key_ok = w32(0) == 0x9AC6CDD7;
  uint16_t sum = 0;
  for (size_t i = 0; i < 20; i += 2) sum ^= w16(i);
  s.checksum_ok = sum == w16(20);
  s.right = static_cast<int16_t>(w16(10));
  s.bottom = static_cast<int16_t>(w16(12));
  s.inch = w16(14);
  s.declared_words = w32(22 + 6);
  s.declared_largest = w32(22 + 12);
  size_t at = 22 + 18;
  while (at + 6 <= b.size()) {
    RecordSummary r{w32(at), w16(at + 4)};
    s.records.push_back(r);
    if (r.words < 3) break;
    at += r.words * 2;
    if (r.function == 0) {
      s.ends_cleanly = at == b.size();
      break;
    }
  }
  return s;
}

// The functions a page file may use: standard records every reader of the format knows.
const std::set<uint16_t> kStandard = {0x0000, 0x0103, 0x020B, 0x020C, 0x0102, 0x012E, 0x02FA,
                                      0x02FC, 0x02FB, 0x012D, 0x01F0, 0x0209, 0x0521, 0x0214,
                                      0x0213, 0x041B, 0x0418, 0x0324, 0x0F43};

std::shared_ptr<host::Surface> Checker(int side) {
  std::vector<uint32_t> pixels(side * side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x)
      pixels[y * side + x] = ((x / 4 + y / 4) % 2) ? 0xFF2040C0 : 0xFFFFE000;
  }
  return host::Surface::FromPixels(side, side, pixels.data(), side);
}

// A page of 850 x 1100 units (letter at 100 per inch) with every kind of drawing.
DrawList SamplePage() {
  DrawList page;
  page.SetFont(PageFont{"Arial", 16, 700, false, false, false});
  page.SetTextColor(host::Color{0, 0, 0});
  page.Text(host::Point{50, 40}, "DAILY VISIT LOG");
  page.SetFont(PageFont{"Times New Roman", 12, 400, true, false, false});
  page.Text(host::Point{50, 80}, "Patient: Jane Doe");
  page.SetPen(host::Color{0, 0, 0}, 2);
  page.Line(host::Point{50, 100}, host::Point{800, 100});
  page.SetBrush(host::Color{220, 220, 220});
  page.Rectangle(host::Rect{50, 120, 400, 200});
  page.SetNoBrush();
  page.SetPen(host::Color{200, 0, 0}, 1, host::PenStyle::kDash);
  page.Rectangle(host::Rect{450, 120, 800, 200});
  page.Bitmap(Checker(32), host::Rect{60, 220, 124, 284});
  return page;
}

constexpr PageFrame kFrame{850, 1100, 100, 0, 0, 850, 1100};

std::vector<uint8_t> Encode(const DrawList& page, const PageFrame& frame = kFrame) {
  std::vector<uint8_t> bytes;
  EXPECT_EQ(EncodeMetafile(page, frame, &bytes), MetafileError::kOk);
  return bytes;
}

std::shared_ptr<host::Surface> Render(const DrawList& page, const PlayTransform& t, int w, int h) {
  auto surface = host::Surface::Create(w, h);
  host::DeviceContext dc(surface, 100);
  page.Play(dc, t);
  return surface;
}

// Pixels whose channels differ by more than 48 anywhere.
int DifferentPixels(const host::Surface& a, const host::Surface& b) {
  int different = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      uint32_t p = a.Pixel(x, y), q = b.Pixel(x, y);
      for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((p >> shift) & 0xFF) -
                     static_cast<int>((q >> shift) & 0xFF)) > 48) {
          ++different;
          break;
        }
      }
    }
  }
  return different;
}

TEST(PageFileFormat, AnIndependentReaderFindsTheHeaderAndEveryRecord) {
  std::vector<uint8_t> bytes = Encode(SamplePage());
  FileSummary s = Summarise(bytes);
  EXPECT_TRUE(s.key_ok);
  EXPECT_TRUE(s.checksum_ok);
  EXPECT_EQ(s.right, 850);
  EXPECT_EQ(s.bottom, 1100);
  EXPECT_EQ(s.inch, 100);
  EXPECT_TRUE(s.ends_cleanly);
  EXPECT_EQ(s.declared_words, (bytes.size() - 22) / 2);
  uint32_t largest = 0;
  std::multiset<uint16_t> functions;
  for (const RecordSummary& r : s.records) {
    EXPECT_TRUE(kStandard.count(r.function)) << std::hex << r.function;
    largest = std::max(largest, r.words);
    functions.insert(r.function);
  }
  EXPECT_EQ(s.declared_largest, largest);
  EXPECT_EQ(functions.count(0x0521), 2u);  // the two texts
  EXPECT_EQ(functions.count(0x0F43), 1u);  // the bitmap
  EXPECT_EQ(functions.count(0x041B), 2u);  // the two rectangles
  // Window origin 0,0 and extent the page's size in units.
  ASSERT_GE(s.records.size(), 3u);
  EXPECT_EQ(s.records[1].function, 0x020B);
  EXPECT_EQ(s.records[2].function, 0x020C);
}

TEST(PageFileFormat, ObjectsAreDeletedSoTheTableStaysSmall) {
  DrawList page;
  for (int i = 0; i < 200; ++i) {
    page.SetPen(host::Color{static_cast<uint8_t>(i), 0, 0}, 1);
    page.SetFont(PageFont{"Arial", 10 + i % 5});
    page.SetBrush(host::Color{0, static_cast<uint8_t>(i), 0});
  }
  std::vector<uint8_t> bytes = Encode(page);
  uint16_t objects = static_cast<uint16_t>(bytes[22 + 10] | (bytes[22 + 11] << 8));
  EXPECT_LE(objects, 6);
}

TEST(PageFilePlayer, APlayedPageMatchesThePageDrawnDirectly) {
  DrawList page = SamplePage();
  auto direct = Render(page, PlayTransform{}, 850, 1100);
  std::vector<uint8_t> bytes = Encode(page);
  DrawList decoded;
  PageFrame frame;
  ASSERT_EQ(DecodeMetafile(bytes.data(), bytes.size(), &decoded, &frame), MetafileError::kOk);
  auto played = Render(decoded, TransformInto(frame, host::Rect{0, 0, 850, 1100}), 850, 1100);
  EXPECT_LE(DifferentPixels(*direct, *played), 850 * 1100 / 1000);
  // The bitmap's colours survive the 24-bit encoding.
  EXPECT_EQ(played->Pixel(61, 221) & 0xFFFFFF, 0xFFE000u);
  EXPECT_EQ(played->Pixel(61 + 9, 221) & 0xFFFFFF, 0x2040C0u);
}

TEST(PageFilePlayer, APageScaledIntoATargetKeepsItsProportions) {
  DrawList page;
  page.SetBrush(host::Color{0, 0, 0});
  page.Rectangle(host::Rect{425, 550, 850, 1100});  // the bottom right quarter
  std::vector<uint8_t> bytes = Encode(page);
  DrawList decoded;
  PageFrame frame;
  ASSERT_EQ(DecodeMetafile(bytes.data(), bytes.size(), &decoded, &frame), MetafileError::kOk);
  auto small = Render(decoded, TransformInto(frame, host::Rect{10, 20, 180, 240}), 200, 260);
  EXPECT_EQ(small->Pixel(100, 135) & 0xFFFFFF, 0u);         // inside the quarter
  EXPECT_EQ(small->Pixel(90, 125) & 0xFFFFFF, 0xFFFFFFu);   // just outside
  EXPECT_EQ(small->Pixel(185, 235) & 0xFFFFFF, 0xFFFFFFu);  // beyond the target
}

TEST(PageFileReader, DamagedFilesAreRefusedWithTheirReason) {
  std::vector<uint8_t> good = Encode(SamplePage());
  DrawList page;
  PageFrame frame;
  auto decode = [&](const std::vector<uint8_t>& b) {
    return DecodeMetafile(b.data(), b.size(), &page, &frame);
  };
  EXPECT_EQ(decode({}), MetafileError::kTooShort);
  std::vector<uint8_t> b = good;
  b[0] ^= 1;
  EXPECT_EQ(decode(b), MetafileError::kBadKey);
  b = good;
  b[8] ^= 1;  // the bounding box changed, the checksum not
  EXPECT_EQ(decode(b), MetafileError::kBadChecksum);
  b = good;
  b[22] = 7;  // metafile type
  EXPECT_EQ(decode(b), MetafileError::kBadHeader);
  b = good;
  b[40] = 0xFF, b[41] = 0xFF, b[42] = 0xFF;  // the first record claims more than the file
  EXPECT_EQ(decode(b), MetafileError::kBadRecord);
  // Every truncation is refused and leaves no drawing behind.
  for (size_t n = 0; n < good.size(); n += 97) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
    EXPECT_NE(decode(cut), MetafileError::kOk) << n;
    EXPECT_TRUE(page.empty());
  }
  EXPECT_EQ(decode(good), MetafileError::kOk);
}

TEST(PageFileReader, RecordsOfOtherWritersAreReadOrSkipped) {
  // ExtTextOut with a clipping rectangle, Polyline, and an unknown record in between.
  std::vector<uint8_t> b = Encode(DrawList{});
  b.resize(b.size() - 6);  // drop the end-of-file record
  auto put16 = [&](int v) {
    b.push_back(static_cast<uint8_t>(v)), b.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto put32 = [&](uint32_t v) {
    put16(static_cast<int>(v & 0xFFFF)), put16(static_cast<int>(v >> 16));
  };
  put32(3 + 4 + 4 + 1);  // ExtTextOut: y, x, length, options, rect, "Hi"
  put16(0x0A32);
  put16(30), put16(20), put16(2), put16(0x0004);
  put16(0), put16(0), put16(100), put16(100);
  b.push_back('H'), b.push_back('i');
  put32(5);  // an unknown record
  put16(0x0626);
  put16(1), put16(2);
  put32(3 + 1 + 6);  // Polyline of three points
  put16(0x0325);
  put16(3), put16(0), put16(0), put16(10), put16(0), put16(10), put16(10);
  put32(3), put16(0);
  DrawList page;
  PageFrame frame;
  ASSERT_EQ(DecodeMetafile(b.data(), b.size(), &page, &frame), MetafileError::kOk);
  std::vector<DrawCode> codes;
  for (const DrawOp& op : page.ops()) {
    if (op.code == DrawCode::kText || op.code == DrawCode::kLine) codes.push_back(op.code);
  }
  EXPECT_EQ(codes, (std::vector<DrawCode>{DrawCode::kText, DrawCode::kLine, DrawCode::kLine}));
  EXPECT_EQ(page.ops()[page.ops().size() - 3].text, "Hi");
}

TEST(PageFileReader, ReadsAPageWrittenByAnotherWriter) {
  // The fuzz corpus's seed, put together record by record by a script, not by this engine.
  DrawList page;
  PageFrame frame;
  std::string error;
  ASSERT_TRUE(ReadPageFile(std::string(CARELOG_TEST_SOURCE_DIR) + "/fuzz/metafile_fuzz/page.wmf",
                           &page, &frame, &error))
      << error;
  EXPECT_EQ(frame.width, 850);
  EXPECT_EQ(frame.units_per_inch, 100);
  auto surface = host::Surface::Create(850, 1100);
  host::DeviceContext dc(surface, 100);
  page.Play(dc, TransformInto(frame, host::Rect{0, 0, 850, 1100}));
  EXPECT_EQ(surface->Pixel(50, 150) & 0xFFFFFF, 0u);  // the rectangle's left edge
  // The 2 x 2 bitmap, stored bottom row first: blue and yellow above red and green.
  EXPECT_EQ(surface->Pixel(70, 240) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(surface->Pixel(100, 240) & 0xFFFFFF, 0xFFFF00u);
  EXPECT_EQ(surface->Pixel(70, 270) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(surface->Pixel(100, 270) & 0xFFFFFF, 0x00FF00u);
}

TEST(PageFiles, AreWrittenWithTheTamPrefixAndPlayedFromDisk) {
  MetafileError error = MetafileError::kOk;
  std::string io_error;
  std::string path = WritePageFile(SamplePage(), kFrame, &error, &io_error);
  ASSERT_FALSE(path.empty()) << io_error;
  EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("TAM", 0), 0u);
  auto surface = host::Surface::Create(85, 110);
  host::DeviceContext dc(surface, 10);
  EXPECT_TRUE(PlayPageFile(path, dc, host::Rect{0, 0, 85, 110}));
  EXPECT_NE(surface->Pixel(10, 13) & 0xFFFFFF, 0xFFFFFFu);  // the grey box, scaled down
  std::filesystem::remove(path);
  std::string why;
  EXPECT_FALSE(PlayPageFile(path, dc, host::Rect{0, 0, 85, 110}, &why));
  EXPECT_NE(why.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace carelog::report
