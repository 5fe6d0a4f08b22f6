#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "marketdata/key.h"

namespace marketdata {

// Where a stock's chart-line files live in the data tree: the single-stock
// judgement writes them, the Kagi chart reads them, and a price collection
// from nothing clears them.
inline constexpr long kChartLineFileNumber = 11;  // Keisen folder, ".dat"
inline constexpr const char* kChartLineTempSuffix = "-Temp";

// Path of the stock's file of `fileNumber`: `suffix` as the name part, then
// "-" market "-" category "-" company code (each trimmed) and `extension`.
std::string CFKSN54M(common::EnvRec& env, const Key& key, long fileNumber, const std::string& suffix,
                     const std::string& extension);

// Deletes the stock's "-Temp" and unsuffixed binary files; the text exports stay.
void DeleteChartLineFiles(common::EnvRec& env, const Key& key);

}  // namespace marketdata
