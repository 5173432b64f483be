#include "runtime/window/menu_model.h"

#include <algorithm>
#include <cctype>

#include "runtime/values/locale.h"

namespace carelog::window {
namespace {

void NoPaint(Control&, host::DeviceContext&, bool) {}

// Menus and items are drawn by the menu bar and the dropdowns, never as controls.
const ControlClass kMenuClass{"TamMenu", "menu", false, false, false, nullptr, &NoPaint, nullptr};
const ControlClass kMenuItemClass{"TamMenuItem", "menuitem", false,    false,
                                  false,         nullptr,    &NoPaint, nullptr};

Control* AddControl(Structure& s, const Entry& entry, Control* menu) {
  auto owned = std::make_unique<Control>();
  Control& c = *owned;
  c.equate = entry.id;
  c.kind = entry.kind;
  c.cls = entry.kind == kKindMenu ? &kMenuClass : &kMenuItemClass;
  c.window = &s;
  c.container = menu;
  c.attr = entry.attr;
  if (const std::string* text = entry.String(Field::kText)) c.text = *text;
  if (const std::string* message = entry.String(Field::kMessage)) c.message = *message;
  c.action = entry.Number(Field::kAction);
  c.key = static_cast<uint32_t>(entry.Number(Field::kKey));
  if (entry.attr & menu_attr::kDisabled) c.flags |= control_flag::kDisabled;
  if (entry.use) {
    c.use_type = *entry.use;
    c.use = s.UseOf(entry.id);
  }
  if (menu) menu->children.push_back(&c);
  s.controls.push_back(std::move(owned));
  return &c;
}

void BuildLevel(Structure& s, const std::vector<Entry>& entries, Control* menu,
                std::vector<MenuNode>* out) {
  for (const Entry& entry : entries) {
    if (entry.kind != kKindMenu && entry.kind != kKindItem) continue;
    MenuNode node;
    node.control = AddControl(s, entry, menu);
    if (entry.kind == kKindMenu) BuildLevel(s, entry.children, node.control, &node.children);
    out->push_back(std::move(node));
  }
}

bool SameText(const std::string& a, const std::string& b) {
  size_t an = std::min(a.size(), kMergeTextLength), bn = std::min(b.size(), kMergeTextLength);
  return values::CompareCollated(a.data(), an, b.data(), bn) == 0;
}

}  // namespace

bool IsSeparator(const Control& item) {
  return item.kind == kKindItem && (item.text.empty() || (item.attr & menu_attr::kSeparator));
}

bool IsMenuTitle(const Control& control) {
  return control.kind == kKindMenu;
}

std::vector<MenuNode> BuildMenuControls(Structure& s, const Entry& menubar) {
  std::vector<MenuNode> menus;
  BuildLevel(s, menubar.children, nullptr, &menus);
  return menus;
}

void MergeMenus(std::vector<MenuNode>* into, const std::vector<MenuNode>& from) {
  for (const MenuNode& add : from) {
    MenuNode* same = nullptr;
    if (!IsSeparator(*add.control)) {
      for (MenuNode& have : *into) {
        if (have.control->kind == add.control->kind && !IsSeparator(*have.control) &&
            SameText(have.control->text, add.control->text)) {
          same = &have;
          break;
        }
      }
    }
    if (!same) {
      into->push_back(add);
      continue;
    }
    same->control = add.control;
    if (IsMenuTitle(*add.control)) MergeMenus(&same->children, add.children);
  }
}

const MenuNode* FindMenuPath(const std::vector<MenuNode>& menus,
                             const std::vector<std::string>& path, std::string* offered) {
  const std::vector<MenuNode>* level = &menus;
  const MenuNode* found = nullptr;
  for (const std::string& text : path) {
    found = nullptr;
    for (const MenuNode& node : *level) {
      if (!IsSeparator(*node.control) && node.control->text == text) {
        found = &node;
        break;
      }
    }
    if (!found) {
      offered->clear();
      for (const MenuNode& node : *level) {
        if (IsSeparator(*node.control)) continue;
        *offered += (offered->empty() ? "\"" : ", \"") + node.control->text + "\"";
      }
      return nullptr;
    }
    level = &found->children;
  }
  return found;
}

}  // namespace carelog::window
