// The box's names, bindings, orders and record buffer; the paging steps are in
// browse_paging.cpp, the scroll events and the thumb in browse_scroll.cpp.
#include "app/patterns/browse_box.h"

#include <cstring>

#include "runtime/eval/name_table.h"
#include "runtime/eval/record_binding.h"
#include "runtime/store/file_statements.h"

namespace carelog::app {
namespace {

constexpr std::string_view kBoxOnePrefix = "BRW1::";

// The expression written for box 1, renumbered for box `number`.
std::string Renumbered(std::string_view expression, int number) {
  std::string out;
  std::string prefix = "BRW" + std::to_string(number) + "::";
  size_t from = 0;
  for (size_t at; (at = expression.find(kBoxOnePrefix, from)) != std::string_view::npos;) {
    out.append(expression.substr(from, at - from)).append(prefix);
    from = at + kBoxOnePrefix.size();
  }
  return out.append(expression.substr(from));
}

}  // namespace

BrowseBox::BrowseBox(const BrowseTable& table, int number, BrowseUi& ui)
    : table_(table), number_(number), ui_(ui) {
  view_.driver = &view::ViewEngineEntry;
}

BrowseBox::~BrowseBox() {
  CloseView();
}

store::FileDeclaration& BrowseBox::primary() const {
  return appdata::Declaration(table_.primary);
}

const SortOrder& BrowseBox::Order() const {
  return table_.orders[static_cast<size_t>(order_ < 1 ? 0 : order_ - 1)];
}

store::KeyDeclaration& BrowseBox::Key() const {
  return *appdata::FindKey(table_.primary, Order().key);
}

bool BrowseBox::ranged() const {
  return Order().range_expression != nullptr;
}

std::string BrowseBox::ResetName() const {
  return "BRW" + std::to_string(number_) + "::" + Order().reset_name;
}

bool BrowseBox::Resolve(std::string* problem) {
  auto fail = [problem](std::string what) {
    *problem = std::move(what);
    return false;
  };
  for (const SortOrder& order : table_.orders) {
    if (!appdata::FindKey(table_.primary, order.key)) return fail(std::string("key ") + order.key);
    if (order.range_expression && order.source.field &&
        !FieldRef().Resolve(order.source.file, order.source.field)) {
      return fail(std::string("range source ") + order.source.field);
    }
  }
  if (const LookupRow* lookup = table_.lookup) {
    store::KeyDeclaration* key = appdata::FindKey(lookup->file, lookup->key);
    if (!key || !lookup_by_.Resolve(table_.primary, lookup->by_field)) {
      return fail(std::string("lookup ") + lookup->key);
    }
    const appdata::FileInfo& info = appdata::Info(lookup->file);
    lookup_key_field_.Resolve(lookup->file, ComponentField(info, key->components[0]).name);
  }
  columns_.clear();
  for (const ColumnRow& row : table_.columns) {
    Column column;
    column.shown_blank = row.shown_blank;
    if (!column.field.Resolve(table_.primary, row.field)) {
      if (!table_.lookup || !column.field.Resolve(table_.lookup->file, row.field)) {
        return fail(std::string("column ") + row.field);
      }
      column.from_lookup = true;
    }
    columns_.push_back(column);
  }
  SetOrder(order_ < 1 ? 1 : order_);
  return true;
}

void BrowseBox::Bind() {
  for (appdata::FileId file : table_.files) {
    store::FileDeclaration& declaration = appdata::Declaration(file);
    eval::BindRecord(declaration);
    const appdata::FileInfo& info = appdata::Info(file);
    for (size_t m = 0; m < info.memos.size(); ++m) {
      eval::BindMemo(info.memos[m].bound_name, *declaration.memos[m]);
    }
  }
  for (const SortOrder& order : table_.orders) {
    if (!order.reset_name) continue;
    eval::Bind("BRW" + std::to_string(number_) + "::" + order.reset_name, &reset_value_);
  }
  if (table_.local_date) eval::Bind(table_.local_date, &local_date_);
}

int BrowseBox::OrderForTab(const std::string& tab) const {
  for (size_t i = 0; i < table_.orders.size(); ++i) {
    if (table_.orders[i].tab && tab == table_.orders[i].tab) return static_cast<int>(i + 1);
  }
  return static_cast<int>(table_.orders.size());
}

void BrowseBox::SetOrder(int order) {
  order_ = order;
  const SortOrder& chosen = Order();
  source_ = FieldRef();
  if (chosen.range_expression && chosen.source.field) {
    source_.Resolve(chosen.source.file, chosen.source.field);
  }
  filter_ = chosen.range_expression ? Renumbered(chosen.range_expression, number_) : "";
  distribution_.clear();
}

int32_t BrowseBox::RangeSourceValue() const {
  if (!source_.valid()) return local_date_;
  return static_cast<int32_t>(source_.Read().number);
}

void BrowseBox::PutRangeSource(int32_t value) const {
  if (!ranged()) return;
  if (source_.valid()) {
    FieldValue number;
    number.number = value;
    source_.Write(number);
  }
}

const appdata::FieldRow& BrowseBox::FirstComponentRow() const {
  return ComponentField(appdata::Info(table_.primary), Key().components[0]);
}

FieldRef BrowseBox::FirstComponent() const {
  FieldRef field;
  field.Resolve(table_.primary, FirstComponentRow().name);
  return field;
}

void BrowseBox::ClearPage() {
  at_edge_.reset();
  page_.clear();
  current_row_ = 0;
}

void BrowseBox::LoadCurrent() {
  if (page_.empty() || current_row_ < 1) return;
  const std::vector<uint8_t>& record = page_[static_cast<size_t>(current_row_ - 1)].record;
  std::memcpy(primary().buffer, record.data(), record.size());
}

void BrowseBox::PrimeNewRecord() {
  const appdata::FileInfo& info = appdata::Info(table_.primary);
  for (const appdata::FieldRow& row : info.fields) {
    if (row.type.code == store::kTypeGroup) continue;
    const size_t elements = row.type.dim == 0 ? 1 : row.type.dim;
    const size_t size = row.type.code == store::kTypeString || row.type.code == store::kTypeDecimal
                            ? row.type.length
                        : row.type.code == store::kTypeByte ? 1
                        : row.type.code == store::kTypeShort || row.type.code == store::kTypeUShort
                            ? 2
                            : 4;
    const uint8_t fill = row.type.code == store::kTypeString ? ' ' : 0;
    std::memset(primary().buffer + row.offset, fill, size * elements);
  }
  // The memos too: a new record must not start with the notes of the record last read.
  appdata::BlankMemos(table_.primary);
  PrimeRange();
}

void BrowseBox::DropCurrent() {
  if (page_.empty() || current_row_ < 1) return;
  at_edge_.reset();
  page_.erase(page_.begin() + (current_row_ - 1));
}

bool BrowseBox::RereadCurrent() {
  TakeListRow();
  if (page_.empty()) return false;
  const PageEntry& entry = page_[static_cast<size_t>(current_row_ - 1)];
  at_edge_.reset();
  store::Watch(primary());
  return view::RegetView(view_, entry.position) == 0;
}

void BrowseBox::TakeListRow() {
  if (page_.empty()) {
    current_row_ = 0;
    return;
  }
  int row = ui_.SelectedRow();
  current_row_ = row < 1                                ? 1
                 : row > static_cast<int>(page_.size()) ? static_cast<int>(page_.size())
                                                        : row;
}

void BrowseBox::CloseView() {
  at_edge_.reset();
  if (view_open_) view::CloseView(view_);
  view_open_ = false;
}

void BrowseBox::QuickScan(bool on) {
  if (table_.quick_scan) store::Send(primary(), on ? "QUICKSCAN=on" : "QUICKSCAN=off");
}

}  // namespace carelog::app
