#include "app/patterns/browse_window_ui.h"

#include <cstdlib>

#include "app/patterns/browse_services.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

int IntProperty(int control, int property) {
  return std::atoi(window::GetProperty(control, property).c_str());
}

window::ListRecord RecordOf(const PageEntry& entry) {
  window::ListRecord record;
  record.fields.reserve(entry.values.size() + 1);
  for (const FieldValue& value : entry.values) {
    record.fields.push_back({value.is_text, value.number, value.text});
  }
  record.fields.push_back(window::ListField::Text(entry.position));
  return record;
}

}  // namespace

WindowListUi::WindowListUi(int list, int change, int remove)
    : list_(list), change_(change), remove_(remove) {}

WindowListUi::~WindowListUi() {
  if (attached_) window::SetListQueue(list_, nullptr);
}

void WindowListUi::Attach() {
  attached_ = window::SetListQueue(list_, &queue_);
}

int WindowListUi::VisibleRows() {
  int rows = IntProperty(list_, window::prop::kItems);
  return rows < 1 ? 1 : rows;
}

int WindowListUi::SelectedRow() {
  return IntProperty(list_, window::prop::kSelected);
}

void WindowListUi::ShowPage(const Page& page, int selected) {
  queue_.clear();
  queue_.reserve(page.size());
  for (const PageEntry& entry : page) queue_.push_back(RecordOf(entry));
  window::ListQueueChanged(list_);
  window::SetProperty(list_, window::prop::kSelected, std::to_string(selected));
}

void WindowListUi::SetScrollBar(bool on) {
  window::SetProperty(list_, window::prop::kVScroll, on ? "1" : "0");
}

int WindowListUi::Thumb() {
  return IntProperty(list_, window::prop::kVScrollPos);
}

void WindowListUi::SetThumb(int thumb) {
  window::SetProperty(list_, window::prop::kVScrollPos, std::to_string(thumb));
}

void WindowListUi::EnableChangeDelete(bool enabled) {
  for (int button : {change_, remove_}) {
    if (button != 0) window::SetProperty(button, window::prop::kDisable, enabled ? "0" : "1");
  }
}

void WindowListUi::PostNewSelection() {
  if (pending_) return;
  pending_ = true;
  window::Post(window::event::kNewSelection, list_);
}

void WindowListUi::PostClose() {
  window::Post(window::event::kCloseWindow);
}

void WindowListUi::ReadError(const appdata::FileInfo& file) {
  ShowRetrievalWarning(file);
}

void WindowListUi::Busy(bool busy) {
  SetBusyCursor(busy);
}

}  // namespace carelog::app
