// Every browse table against its window definition and the data dictionary: the window loads
// under the catalogue's module and label with the catalogue's title, every control the table
// names is there with the kind its role needs, the sheet has a tab for every order, and every
// key, field and lookup belongs to its file.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/patterns/browse_box.h"
#include "app/procedure_catalogue.h"
#include "app/procedures/browse_procedures.h"
#include "runtime/window/definition_loader.h"
#include "runtime/window/definition_model.h"
#include "runtime/window/list_control.h"

namespace carelog::app {
namespace {

using window::Entry;

class NoUi : public BrowseUi {
 public:
  int VisibleRows() override { return 1; }
  int SelectedRow() override { return 0; }
  void ShowPage(const Page&, int) override {}
  void SetScrollBar(bool) override {}
  int Thumb() override { return 0; }
  void SetThumb(int) override {}
  void EnableChangeDelete(bool) override {}
  void PostNewSelection() override {}
  void PostClose() override {}
  void ReadError(const appdata::FileInfo&) override {}
  void Busy(bool) override {}
};

// Controls by field equate, tabs included.
void Collect(const Entry& entry, std::map<int, const Entry*>* controls) {
  for (const Entry& child : entry.children) {
    if (child.id != 0) (*controls)[child.id] = &child;
    Collect(child, controls);
  }
}

const Entry* Sheet(const std::map<int, const Entry*>& controls, int id) {
  auto it = controls.find(id);
  return it == controls.end() ? nullptr : it->second;
}

TEST(BrowseTables, EveryBrowseWindowLoadsAndHasTheControlsItsTableUses) {
  ASSERT_EQ(BrowseTables().size(), 24u);
  for (const BrowseTable* table : BrowseTables()) {
    SCOPED_TRACE(table->name);
    const CatalogueRow* row = FindProcedure(table->name);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(ModuleIdentifierOf(*row), table->module);
    EXPECT_EQ(WindowLabelsOf(*row).front(), table->window);
    EXPECT_NE(EntryPointOf(table->name), nullptr);

    window::DefinitionLoader loader;
    ASSERT_EQ(loader.Open(table->module, table->window), window::DefinitionError::kOk);
    const Entry& window = loader.structure();
    ASSERT_NE(window.String(window::Field::kTitle), nullptr);
    EXPECT_EQ(*window.String(window::Field::kTitle), row->title);
    EXPECT_EQ(window.Number(window::Field::kFrame), 0x3004);
    EXPECT_NE(window.String(window::Field::kHelp), nullptr);

    std::map<int, const Entry*> controls;
    Collect(window, &controls);
    const Entry* list = Sheet(controls, table->list);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->kind, window::kKindList);
    EXPECT_EQ(list->attr, 0x803u);
    EXPECT_EQ(*list->String(window::Field::kMessage), "Browsing Records");
    for (const ButtonRow& button : table->buttons) {
      const Entry* control = Sheet(controls, button.control);
      ASSERT_NE(control, nullptr) << "button " << button.control;
      EXPECT_EQ(control->kind, window::kKindButton) << "button " << button.control;
      if (button.procedure) {
        EXPECT_NE(FindProcedure(button.procedure), nullptr) << button.procedure;
      }
    }
    for (const MenuRow& item : table->menu) EXPECT_NE(FindProcedure(item.procedure), nullptr);

    const Entry* sheet = Sheet(controls, table->sheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->kind, window::kKindSheet);
    std::set<std::string> tabs;
    for (const Entry& tab : sheet->children) tabs.insert(*tab.String(window::Field::kText));
    for (const SortOrder& order : table->orders) {
      if (order.tab) {
        EXPECT_TRUE(tabs.count(order.tab)) << order.tab;
      }
    }

    NoUi ui;
    BrowseBox box(*table, 1, ui);
    std::string problem;
    EXPECT_TRUE(box.Resolve(&problem)) << problem;
    if (table->form) {
      EXPECT_NE(FindProcedure(table->form), nullptr) << table->form;
    }
  }
}

}  // namespace
}  // namespace carelog::app
