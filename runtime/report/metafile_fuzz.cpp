// Feeds arbitrary bytes to the page-file reader and plays whatever it accepts onto a small
// surface: it must refuse or draw, never crash, hang or read outside the input.
#include <cstddef>
#include <cstdint>

#include "runtime/report/metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace carelog;
  report::DrawList page;
  report::PageFrame frame;
  if (report::DecodeMetafile(data, size, &page, &frame) != report::MetafileError::kOk) return 0;
  auto surface = host::Surface::Create(64, 80);
  host::DeviceContext dc(surface, 24);
  page.Play(dc, report::TransformInto(frame, host::Rect{0, 0, 64, 80}));
  return 0;
}
