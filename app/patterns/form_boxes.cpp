#include "app/patterns/form_boxes.h"

#include "app/patterns/browse_box.h"
#include "app/patterns/browse_services.h"
#include "app/patterns/browse_window_ui.h"
#include "app/patterns/form_record.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app::forms {
namespace {

namespace ev = window::event;

constexpr int kScrollEvents[] = {ev::kScrollUp,  ev::kScrollDown,   ev::kPageUp,    ev::kPageDown,
                                 ev::kScrollTop, ev::kScrollBottom, ev::kScrollDrag};

int ButtonFor(const BrowseTable& table, ButtonRole role) {
  for (const ButtonRow& button : table.buttons) {
    if (button.role == role) return button.control;
  }
  return 0;
}

}  // namespace

struct FormBoxes::Box {
  Box(const BrowseTable& browse, int number)
      : table(browse),
        ui(browse.list, ButtonFor(browse, ButtonRole::kChange),
           ButtonFor(browse, ButtonRole::kDelete)),
        box(browse, number, ui) {}
  const BrowseTable& table;
  WindowListUi ui;
  BrowseBox box;
  bool resolved = false;
};

FormBoxes::FormBoxes(std::span<const BrowseTable* const> tables, appdata::FileId own) : own_(own) {
  int number = 2;
  for (const BrowseTable* browse : tables) {
    auto box = std::make_unique<Box>(*browse, number);
    number += 2;
    std::string problem;
    box->resolved = UseFiles(browse->files);
    if (box->resolved && !box->box.Resolve(&problem)) {
      ReleaseFiles(browse->files);
      box->resolved = false;
    }
    boxes_.push_back(std::move(box));
  }
}

FormBoxes::~FormBoxes() {
  for (auto it = boxes_.rbegin(); it != boxes_.rend(); ++it) {
    if (!(*it)->resolved) continue;
    (*it)->box.CloseView();
    ReleaseFiles((*it)->table.files);
  }
}

void FormBoxes::Fill(Box& box) {
  box.box.Bind();
  box.box.set_reset_value(box.box.RangeSourceValue());
  box.box.ClearPage();
  box.box.ResetView();
  box.box.RefreshPage(RefreshMode::kReset);
  box.box.MarkFilled();
}

void FormBoxes::Start() {
  for (auto& box : boxes_) {
    if (!box->resolved) continue;
    box->ui.Attach();
    Fill(*box);
  }
}

void FormBoxes::FollowRange() {
  for (auto& box : boxes_) {
    if (box->resolved && box->box.RangeSourceValue() != box->box.reset_value()) Fill(*box);
  }
}

bool FormBoxes::Handle(int event, int control) {
  for (auto& box : boxes_) {
    if (!box->resolved) continue;
    if (control == box->table.list) {
      box->box.Bind();
      if (event == ev::kNewSelection) {
        box->ui.TakeNewSelection();
        box->box.TakeListRow();
        box->box.LoadCurrent();
        box->box.ShowSelection();
        return true;
      }
      for (int scroll : kScrollEvents) {
        if (event == scroll) {
          box->box.Scroll(event);
          return true;
        }
      }
      return false;
    }
    if (event == ev::kAccepted) {
      for (const ButtonRow& button : box->table.buttons) {
        if (button.control != control) continue;
        Press(*box, control);
        return true;
      }
    }
  }
  return false;
}

// Calls the box's form for `request` with the view closed around it, keeping the form's own
// record as the user left it; the local response the called form leaves. A form that completed
// leaves the box's file on the record it wrote: *written gets its number.
static int32_t CallBoxForm(appdata::FileId file, BrowseBox& box, int32_t request,
                           uint32_t* written = nullptr) {
  SavedRecord own;
  own.Take(file);
  box.CloseView();
  int32_t response = CallProcedureByName(box.table().form, request);
  if (written != nullptr) {
    *written = response == kRespCompleted ? store::Pointer(box.primary()) : 0;
  }
  own.Restore(file);
  box.Bind();
  box.ResetView();
  return response;
}

void FormBoxes::Press(Box& box, int control) {
  BrowseBox& b = box.box;
  b.Bind();
  const bool insert = control == ButtonFor(box.table, ButtonRole::kInsert);
  if (insert || control == ButtonFor(box.table, ButtonRole::kChange)) {
    if (insert) {
      b.PrimeNewRecord();
    } else if (!b.RereadCurrent()) {
      return;
    }
    // A completed form highlights its record (by its number too, among the records of one
    // key value); otherwise the page stays where it was.
    uint32_t written = 0;
    if (CallBoxForm(own_, b, insert ? kReqInsert : kReqChange, &written) == kRespCompleted) {
      b.Locate(LocateMode::kAtBuffer, written);
    } else {
      b.RefreshPage(RefreshMode::kAnchored);
    }
  } else if (control == ButtonFor(box.table, ButtonRole::kDelete)) {
    if (!b.RereadCurrent()) return;
    if (CallBoxForm(own_, b, kReqDelete) == kRespCompleted) b.DropCurrent();
    b.RefreshPage(RefreshMode::kAnchored);
  }
  b.BuildKeyDistribution();
  box.ui.PostNewSelection();
  window::Select(box.table.list);
}

}  // namespace carelog::app::forms
