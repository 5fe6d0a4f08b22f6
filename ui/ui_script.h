#pragma once
#include <functional>
#include <string>

class QAbstractItemView;

namespace ui {

// A test seam for the real programs: when MIR_UI_SCRIPT names a file, its
// actions run one a line once the screens are up (nothing happens when it is
// not set):
//   click <form>/<control>          a real click of the button
//   text <form>/<control> <value>   types the value over the box's text and leaves
//                                   the box by Tab, as the keyboard does
//   choose <form>/<combo> <entry>   chooses the entry with that text
//   dblclick <form>/<list> <row>    double-clicks row <row> (from 0) of the list
//   answer <button> [<form>/<control>]
//                                   answers the next real message box, which
//                                   a later line opens, with <button>; with a
//                                   control, that button is clicked first once
//                                   it shows, e.g. a run's 中断 (AnswerNextBox)
//   screenshot <form> <png>         saves a picture of the form as shown
// The lines run from the event loop, one after another: a click runs its
// whole handler, a collection run included, before the next line, and a
// program that ended meanwhile runs no more. A line that names nothing known
// (or a form that is not on the screen) is written to stderr and skipped.
void RunUiScriptFromEnvironment();

// The same for a given script file; `finished` runs after its last line.
void RunUiScript(const std::string& path, std::function<void()> finished = {});

// A user's double click on row `row` of the list, as the mouse gives it.
void DoubleClickRow(QAbstractItemView& view, int row);

}  // namespace ui
