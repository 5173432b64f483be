// The browse boxes of one form call: one BrowseBox and WindowListUi per box of the form's
// table, numbered 2, 4, 6 ... so that each binds its own reset value ("BRW2::..."), each ranged
// on a field of the form's own record (the patient's number) and each with its own Insert,
// Change and Delete calling the box's update form through the catalogue.
//
// Invariants: a box's view is closed while its update form runs; the form's own record buffer
// (and its memos) is the same after a box's button as before it, so a child form that reads
// the parent file leaves the user's unsaved edits alone.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "app/data/dictionary.h"

namespace carelog::app {
struct BrowseTable;
}

namespace carelog::app::forms {

class FormBoxes {
 public:
  // `own` is the form's file, whose record buffer a box's form leaves unchanged.
  FormBoxes(std::span<const BrowseTable* const> tables, appdata::FileId own);
  ~FormBoxes();
  FormBoxes(const FormBoxes&) = delete;
  FormBoxes& operator=(const FormBoxes&) = delete;

  // Hands each list its queue and fills its first page; after the window opened.
  void Start();
  // A list's scroll or selection event or one of a box's buttons; true when a box took it.
  bool Handle(int event, int control);
  // Ranges again every box whose range source changed since it was filled.
  void FollowRange();

 private:
  struct Box;
  void Press(Box& box, int control);
  void Fill(Box& box);

  appdata::FileId own_;
  std::vector<std::unique_ptr<Box>> boxes_;
};

}  // namespace carelog::app::forms
