#include "common/screens/screen_control_tables.h"

namespace common {

namespace {

using enum ControlKind;

constexpr ControlSetting kCollectionSettings[] = {
    {"CKBox0100_1", CheckBox, "MirControl\\HpGet\\BscExcg", 0, "1"},
    {"CKBox0101_1", CheckBox, "MirControl\\HpGet\\BscList", 1, "0"},
    {"CKBox0101_2", CheckBox, "MirControl\\HpGet\\BscList", 2, "0"},
    {"CKBox0101_3", CheckBox, "MirControl\\HpGet\\BscList", 3, "0"},
    {"CKBox0102_1", CheckBox, "MirControl\\HpGet\\BscCorp", 1, "1"},
    {"CKBox0102_2", CheckBox, "MirControl\\HpGet\\BscCorp", 2, "1"},
    {"CKBox0102_3", CheckBox, "MirControl\\HpGet\\BscCorp", 3, "1"},
    {"CKBox0103_1", CheckBox, "MirControl\\HpGet\\BscMark", 1, "1"},
    {"CKBox0103_2", CheckBox, "MirControl\\HpGet\\BscMark", 2, "1"},
    {"CKBox0103_3", CheckBox, "MirControl\\HpGet\\BscMark", 3, "1"},
    {"CKBox0104_1", CheckBox, "MirControl\\HpGet\\BscOthe", 0, "1"},
    {"BscCkBox0210", CheckBox, "MirControl\\HpGet\\HpRepToHp", 0, "1"},
    {"CKBox0201_1", CheckBox, "MirControl\\HpGet\\HpCntry", 1, "1"},
    {"CKBox0201_2", CheckBox, "MirControl\\HpGet\\HpCntry", 2, "1"},
    {"CKBox0201_3", CheckBox, "MirControl\\HpGet\\HpCntry", 3, "1"},
    {"DateFrom02", TextOnLeave, "MirControl\\HpGet\\HpPrFrom", 0, ""},
    {"DateTo02", TextOnChange, "MirControl\\HpGet\\HpPrTo", 0, ""},
    {"CKBox0204", CheckBox, "MirControl\\HpGet\\HpBackUp", 0, "1"},
    // The options last: choosing them sets which of the controls above are enabled.
    {"OBtn0201", OptionGroup, "MirControl\\HpGet\\HpSelect", 0, "2"},
    {"OBtn0202", OptionGroup, "MirControl\\HpGet\\HpCandle", 0, "1"},
    {"OBtn0203", OptionGroup, "MirControl\\HpGet\\HpPr", 0, "1"},
};

constexpr ControlSetting kOtherFunctions[] = {
    {"CKBox0105_1", CheckBox, "MirControl\\Help\\MngCntry", 1, "1"},
    {"CKBox0105_2", CheckBox, "MirControl\\Help\\MngCntry", 2, "1"},
    {"CKBox0105_3", CheckBox, "MirControl\\Help\\MngCntry", 3, "1"},
    {"CKBox0105_4", CheckBox, "MirControl\\Help\\MngCntry", 4, "1"},
};

constexpr ControlSetting kMireldaEnvironment[] = {
    {"MultiCount", CountText, "MirControl\\Common\\MultiTask", 0, "2"},
    {"TextListViewMax", CountText, "MirControl\\Common\\ListMax", 0, "1000"},
};

constexpr ControlSetting kKorvaneEnvironment[] = {
    {"MultiCount", CountText, "MirControl\\Common\\MultiTaskKsn", 0, "2"},
    {"TextListViewMax", CountText, "MirControl\\Common\\ListMax", 0, "1000"},
};

}  // namespace

std::span<const ControlSetting> CollectionSettingsControls() { return kCollectionSettings; }
std::span<const ControlSetting> OtherFunctionsControls() { return kOtherFunctions; }
std::span<const ControlSetting> EnvironmentControls(bool isKorvane) {
    return isKorvane ? std::span<const ControlSetting>(kKorvaneEnvironment) : kMireldaEnvironment;
}

}  // namespace common
