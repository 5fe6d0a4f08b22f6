#pragma once
#include <string>

class QAbstractItemView;

namespace ui {

// A test seam for the real programs: when MIR_UI_SCRIPT names a file, its
// actions run one a line once the screens are up (nothing happens when it is
// not set):
//   click <form>/<control>          a real click of the button
//   text <form>/<control> <value>   types the value into the box and leaves it
//   choose <form>/<combo> <entry>   chooses the entry with that text
//   dblclick <form>/<list> <row>    double-clicks row <row> (from 0) of the list
//   screenshot <form> <png>         saves a picture of the form
// A click runs its whole handler, a collection run included, before the next
// line. A line that names nothing known is written to stderr and skipped.
void RunUiScriptFromEnvironment();

// The same for a given script file.
void RunUiScript(const std::string& path);

// A user's double click on row `row` of the list, as the mouse gives it.
void DoubleClickRow(QAbstractItemView& view, int row);

}  // namespace ui
