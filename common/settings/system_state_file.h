#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "common/files/env_rec.h"
#include "common/startup/batch_request.h"

namespace common {

inline constexpr long kSystemStateFileNumber = 20002;

// The system state record: the collection settings screen's snapshot and the
// settings of a price-history run, handed to the child copies through the
// system state file. Defaults are the member initialisers. Fixed-width texts
// hold exactly their width in memory too, blank-padded.
//
// On disk (file number 20002) the record is its fields one after another in
// the order below, with no header, padding or separator; anything after the
// last field is ignored. Field forms:
//   Long     4-byte signed integer, little-endian
//   Flag     2-byte signed integer, little-endian: -1 true, 0 false (any
//            other value reads as true)
//   Fixed n  exactly n bytes of code page 932 text, blank-padded
//   Text     2-byte unsigned byte count, little-endian, then that many bytes
//            of code page 932 text
// Arrays are stored element 0 first. Dates are texts "yyyy/mm/dd".
struct SystemStateRec {
    // 54 Long, element item + 6 x group (item 0-5, group 0-8): the screen's
    // check boxes by request group, as BatchRequestTable lays them out.
    BatchRequestTable Checks;
    std::string Method = " ";                           // Fixed 1: "1" all, "2" country choice, "Z" portfolio
    std::array<std::string, 11> ReservedCodes;          // 11 x Fixed 3, blank
    std::array<std::int32_t, 11> OptionIndexes{};       // 11 Long: [1] method, [2] candle, [3] period; -1 none
    std::string ReservedText1 = "    ";                 // Fixed 4
    std::string Candle = " ";                           // Fixed 1: "D", "W", "M", "A"
    std::string PeriodMode = " ";                       // Fixed 1: "1" to "4"
    std::string FromDate;                               // Text
    std::string ToDate;                                 // Text
    std::string BackupFlag = " ";                       // Fixed 1: "1" keep a backup of the series
    std::string MultiCountText;                         // Text: the parallelism as typed
    std::string ReservedText2 = "    ";                 // Fixed 4
    std::string DateFromInput;                          // Text: the period's From box as typed
    std::string DateToInput;                            // Text: its To box
    std::array<std::int32_t, 11> CountryChecks{};       // 11 Long: [1] 国内, [2] 米国, [3] 中国 as ticked
    std::array<bool, 3> ReservedFlags{true, true, true};  // 3 Flag
    std::int32_t ReservedLong1 = 0;                     // Long
    std::array<std::int32_t, 11> ReservedBlock{};       // 11 Long
    std::string ReservedText3 = "4";                    // Text
    std::array<std::int32_t, 11> ReservedLongs1{};      // 11 Long
    std::array<std::int32_t, 21> ReservedLongs2{};      // 21 Long
    std::array<std::int32_t, 6> PriceCountryFlags{};    // 6 Long: [1] 国内, [2] 米国, [3] 中国 to collect
    std::array<std::int32_t, 51> ReservedLongs3{};      // 51 Long
    std::int32_t BackupCheck = 0;                       // Long: the backup box as ticked
    std::int32_t ReservedLong2 = 0;                     // Long
    std::string ReservedText4 = "1";                    // Text

    SystemStateRec() { ReservedCodes.fill("   "); }
};

// Reads the record whole. A missing file, or one too short to hold a whole
// record (logged), gives the defaults, which are written; the result is then
// false. True when the record was read.
bool ReadSystemStateFile(EnvRec& env, SystemStateRec& rec);

// Replaces the file with the record in one step. A failing write raises a
// TrappedError and leaves the old file.
void WriteSystemStateFile(EnvRec& env, const SystemStateRec& rec);

// Reads the file (creating it with the defaults), writes the record back and
// gives it.
void RefreshSystemStateFile(SystemStateRec& rec);

}  // namespace common
