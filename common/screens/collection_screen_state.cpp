#include "common/screens/collection_screen_state.h"

namespace common {

namespace {

void CopyGroup(const std::array<int, 3>& boxes, int group, SystemStateRec& rec) {
    for (int item = 1; item <= 3; ++item) rec.Checks.cell(item, group) = boxes[static_cast<std::size_t>(item - 1)];
}

std::int32_t OptionIndex(int choice) { return choice >= 1 ? choice : -1; }

}  // namespace

void CopyScreenState(const CollectionScreenState& screen, SystemStateRec& rec) {
    rec.Checks.cell(1, 0) = screen.exchange;
    CopyGroup(screen.lists, 1, rec);
    CopyGroup(screen.profiles, 2, rec);
    CopyGroup(screen.reports, 3, rec);
    rec.Checks.cell(1, 4) = screen.industries;
    rec.OptionIndexes[1] = OptionIndex(screen.method);
    rec.OptionIndexes[2] = OptionIndex(screen.candle);
    rec.OptionIndexes[3] = OptionIndex(screen.period);
    rec.DateFromInput = screen.dateFrom;
    rec.DateToInput = screen.dateTo;
    for (std::size_t i = 0; i < 3; ++i) rec.CountryChecks[i + 1] = screen.countries[i];
    rec.BackupCheck = screen.backup;
    rec.MultiCountText = screen.multiCount;
}

}  // namespace common
