#include "runtime/store/data_file_check.h"

#include <map>
#include <memory>
#include <set>

#include "runtime/store/data_file_impl.h"
#include "runtime/store/page_codec.h"

namespace carelog::store {
namespace {

class Checker {
 public:
  Checker(DataFileImpl& file, std::vector<CheckFault>* faults, CheckSummary* summary)
      : file_(file), faults_(faults), summary_(summary) {}

  void Run() {
    const FileHeader& header = file_.header_;
    std::string why;
    if (header.log_pending()) Fault(-1, "a redo log is pending");
    if (!header.regions.Check(true, &why)) Fault(-1, why);
    ReadAllPages();
    if (header.root == kEmptyRoot) {
      if (!pages_.empty()) Fault(-1, "pages in a file with an empty tree");
      return;
    }
    WalkTree();
    for (const auto& [number, page] : pages_) {
      if (!reached_.count(number)) Fault(number, "page not reached from the root");
    }
  }

 private:
  void Fault(int32_t page, std::string text) { faults_->push_back({page, std::move(text)}); }

  void ReadAllPages() {
    const Regions& regions = file_.header_.regions;
    for (int c = 1; c <= kLargestClass; ++c) {
      for (int32_t number = regions.start[c]; number < regions.end[c]; number += c) {
        ++summary_->pages;
        ++summary_->pages_per_class[c];
        std::string bytes(static_cast<size_t>(c) * kUnitSize, '\0');
        size_t got = 0;
        int error = file_.file_->Read(PageOffset(number), bytes.data(), bytes.size(), &got);
        std::unique_ptr<Page> page;
        if (error != 0 || got != bytes.size()) {
          Fault(number, "page cannot be read in full");
        } else if (!DecodePage(bytes, number, &page)) {
          Fault(number,
                "page does not decode to its lengths (size class " + std::to_string(c) + ")");
        } else {
          pages_[number] = std::move(page);
        }
      }
    }
  }

  struct Visit {
    int32_t number;
    int level;  // expected level, -1 for the root
    std::string first_key;
  };

  void WalkTree() {
    std::vector<Visit> todo{{file_.header_.root, -1, ""}};
    bool first_leaf = true;
    std::string last_key;
    while (!todo.empty()) {
      Visit visit = todo.back();
      todo.pop_back();
      auto it = pages_.find(visit.number);
      if (it == pages_.end()) {
        Fault(visit.number, "tree refers to a page that is missing or damaged");
        continue;
      }
      if (!reached_.insert(visit.number).second) {
        Fault(visit.number, "page reached twice from the root");
        continue;
      }
      const Page& page = *it->second;
      if (visit.level < 0) summary_->depth = page.level + 1;
      if (visit.level >= 0 && page.level != visit.level) {
        Fault(visit.number, "level " + std::to_string(page.level) + " where " +
                                std::to_string(visit.level) + " was expected");
        continue;
      }
      if (visit.level >= 0 && page.entries.front().key() != visit.first_key) {
        Fault(visit.number, "first entry differs from its inner entry in the parent");
      }
      if (page.is_leaf()) {
        for (size_t i = 0; i < page.size(); ++i) {
          std::string_view key = page.entries[i].key();
          if (first_leaf && i == 0) {
            if (!page.entries[0].bytes.empty()) Fault(visit.number, "the sentinel is missing");
          } else {
            if (key <= last_key) Fault(visit.number, "entries out of order across pages");
            ++summary_->leaf_entries;
          }
          last_key = std::string(key);
        }
        first_leaf = false;
        continue;
      }
      // Children in reverse so that the leaves are visited in key order.
      for (size_t i = page.size(); i-- > 0;) {
        todo.push_back({page.children[i], page.level - 1, std::string(page.entries[i].key())});
      }
    }
  }

  DataFileImpl& file_;
  std::vector<CheckFault>* faults_;
  CheckSummary* summary_;
  std::map<int32_t, std::unique_ptr<Page>> pages_;
  std::set<int32_t> reached_;
};

}  // namespace

int CheckDataFile(DataFile& file, std::vector<CheckFault>* faults, CheckSummary* summary) {
  CheckSummary unused;
  if (summary == nullptr) summary = &unused;
  *summary = CheckSummary();
  faults->clear();
  if (int error = file.EndAccess()) return error;
  DataFileImpl& impl = file.impl();
  int error = impl.Guard([&] {
    impl.Begin(Access::kRead);
    Checker(impl, faults, summary).Run();
  });
  if (error == 0) error = file.EndAccess();
  return error;
}

}  // namespace carelog::store
