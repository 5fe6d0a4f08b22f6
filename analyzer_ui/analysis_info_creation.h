#pragma once

namespace ui {
class OtherFunctionsScreen;
}

namespace analyzer_ui {

// "分析情報の作成" of the other-functions screen: once no run stands in the
// way, the analysis information is built and loaded under a progress
// dialog, and its completion told only when it was written.
void ConnectAnalysisInfoCreation(ui::OtherFunctionsScreen& screen);

}  // namespace analyzer_ui
