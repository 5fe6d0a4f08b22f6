#pragma once

namespace ui {
class MainWindow;
}

namespace analyzer_ui {

// `KsenMenu`: the interactive start of the analysis program. The analysis
// information is built when it is missing or older than the code master
// (with nothing to analyse the user is told and the program ends), then the
// menu and the six screens are set up in the main window, put back from the
// saved settings, placed and shown with the stock analysis in front.
void KsenMenu(ui::MainWindow& window);

}  // namespace analyzer_ui
