#pragma once
#include <initializer_list>

class QWidget;

namespace ui {

// A button of a menu form; a hidden one is also disabled.
struct MenuEntry {
    const char* name;
    const char* caption;
    bool shown = true;
};

// The narrow menu form at the left of the main window: its buttons from the
// top in `Frame1`, the program's end at the bottom.
void BuildMenuForm(QWidget& form, std::initializer_list<MenuEntry> entries, MenuEntry end);

}  // namespace ui
