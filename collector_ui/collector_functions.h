#pragma once

namespace ui {
class OtherFunctionsScreen;
}

namespace collector_ui {

// Connects the collection program's own work to the "その他の機能" screen:
// the code master from the collected company lists (`HelpCommand1`), the
// industry price series (`HelpCommand5`).
void ConnectCollectorFunctions(ui::OtherFunctionsScreen& screen);

// The markets of the analysis information go to their group file at every
// change, so that the analysis program's next start keeps them.
void ExportMarketChoices();

}  // namespace collector_ui
