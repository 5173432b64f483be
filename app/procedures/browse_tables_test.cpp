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
#include "app/procedures/form_procedures.h"
#include "runtime/values/picture.h"
#include "runtime/window/definition_loader.h"
#include "runtime/window/definition_model.h"
#include "runtime/window/list_control.h"
#include "runtime/window/list_format.h"

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

// The pictures the forms show their numeric fields in, by field name ("PRO:TEMPERATURE").
std::map<std::string, std::string> FormPictures() {
  std::map<std::string, std::string> pictures;
  for (const FormTable* form : procedures::FormTables()) {
    window::DefinitionLoader loader;
    if (loader.Open(form->module, form->window) != window::DefinitionError::kOk) continue;
    std::map<int, const Entry*> controls;
    Collect(loader.structure(), &controls);
    for (const FieldBinding& binding : form->fields) {
      const Entry* control = Sheet(controls, ControlOf(*form, binding));
      const std::string* picture = control ? control->String(window::Field::kPicture) : nullptr;
      if (picture && !picture->empty()) pictures.emplace(binding.field, *picture);
    }
  }
  return pictures;
}

bool ShowsNumbers(const std::string& picture) {
  values::Picture compiled(picture);
  return compiled.valid() && (compiled.kind() == values::PictureKind::kNumber ||
                              compiled.kind() == values::PictureKind::kPattern);
}

std::string Shown(double value, const std::string& picture) {
  std::string text = values::Format(value, picture);
  text.erase(0, text.find_first_not_of(' '));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// Every browse and every browse box on a form: a column showing a number that a form edits shows
// it as the form does (a temperature kept in tenths reads 98.6 in both, not 986 in the list).
TEST(BrowseTables, ColumnsShowNumbersAsTheFormsShowThem) {
  std::map<std::string, std::string> form_pictures = FormPictures();
  std::vector<const BrowseTable*> browses(BrowseTables().begin(), BrowseTables().end());
  for (const FormTable* form : procedures::FormTables()) {
    browses.insert(browses.end(), form->boxes.begin(), form->boxes.end());
  }
  int compared = 0;
  for (const BrowseTable* table : browses) {
    SCOPED_TRACE(table->name);
    window::DefinitionLoader loader;
    ASSERT_EQ(loader.Open(table->module, table->window), window::DefinitionError::kOk);
    std::map<int, const Entry*> controls;
    Collect(loader.structure(), &controls);
    const Entry* list = Sheet(controls, table->list);
    ASSERT_NE(list, nullptr);
    window::ListFormat format;
    ASSERT_TRUE(window::ParseListFormat(*list->String(window::Field::kFormat), {}, 1, &format));
    for (const window::ListColumn& column : format.columns) {
      size_t index = static_cast<size_t>(column.field - 1);
      if (index >= table->columns.size() || !ShowsNumbers(column.picture)) continue;
      auto form = form_pictures.find(table->columns[index].field);
      if (form == form_pictures.end() || !ShowsNumbers(form->second)) continue;
      ++compared;
      for (double value : {7.0, 986.0, 1402.0}) {
        std::string in_list = Shown(value, column.picture);
        std::string in_form = Shown(value, form->second);
        // A value too wide for one of them says nothing of how the other shows it.
        if (in_list.find('#') != std::string::npos || in_form.find('#') != std::string::npos) {
          continue;
        }
        EXPECT_EQ(in_list, in_form)
            << form->first << " of " << value << ": column " << column.picture << ", form "
            << form->second;
      }
    }
  }
  EXPECT_GT(compared, 10);
}

}  // namespace
}  // namespace carelog::app
