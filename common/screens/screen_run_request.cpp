#include "common/screens/screen_run_request.h"

namespace common {

namespace {

constexpr int kPriceGroup = 5;

void CopyGroup(const SystemStateRec& rec, int group, BatchRequestTable& table) {
    for (int item = 1; item <= 5; ++item) table.cell(item, group) = rec.Checks.cell(item, group);
}

void CopyBasicGroups(const SystemStateRec& rec, BatchRequestTable& table) {
    for (int group = 0; group <= 4; ++group) CopyGroup(rec, group, table);
}

void SetPriceGroup(const SystemStateRec& rec, BatchRequestTable& table) {
    for (int item = 1; item <= 3; ++item) {
        const bool wanted = rec.Method == "1" || (rec.Method == "2" && rec.PriceCountryFlags[item] == 1);
        table.cell(item, kPriceGroup) = wanted ? 1 : 0;
    }
}

}  // namespace

bool NeedsPriceCheck(RunButton button) {
    return button == RunButton::PriceHistories || button == RunButton::Everything;
}

BatchRequestTable BuildRunRequest(RunButton button, const SystemStateRec& rec) {
    BatchRequestTable table;
    ClearBatchRequest(table);
    switch (button) {
        case RunButton::Exchange: CopyGroup(rec, 0, table); break;
        case RunButton::CompanyLists: CopyGroup(rec, 1, table); break;
        case RunButton::Profiles: CopyGroup(rec, 2, table); break;
        case RunButton::Reports: CopyGroup(rec, 3, table); break;
        case RunButton::Industries: CopyGroup(rec, 4, table); break;
        case RunButton::AllBasic: CopyBasicGroups(rec, table); break;
        case RunButton::PriceHistories: SetPriceGroup(rec, table); break;
        case RunButton::Everything:
            CopyBasicGroups(rec, table);
            SetPriceGroup(rec, table);
            CopyGroup(rec, 6, table);
            break;
    }
    return table;
}

}  // namespace common
