#pragma once
// A fresh installation of Mirelda whose Japanese market is served by a
// loopback price site, with the real Mirelda beside it as the child copies,
// for whole price-history runs.
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "collect/collection_parts.h"
#include "common/batch_chain.h"
#include "common/batch_request.h"
#include "common/ctr_file.h"
#include "common/data_file.h"
#include "common/default_settings.h"
#include "common/logs.h"
#include "common/process_context.h"
#include "common/program_parts.h"
#include "common/run_env.h"
#include "common/run_state.h"
#include "common/settings.h"
#include "common/system_state_file.h"
#include "common/ui_seam.h"
#include "marketdata/code_master.h"
#include "marketdata/key.h"
#include "platform/cp932.h"
#include "platform/date.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/price_site.h"
#include "tests/support/program_folder.h"
#include "tests/support/scoped_env.h"

namespace price_e2e {

namespace fs = std::filesystem;

inline constexpr long kProcess = 11;  // price histories of Japan
inline constexpr platform::Date kToDate{2026, 12, 4};

inline std::string StockCode(long n) { return std::to_string(1300 + n); }

struct Stock {
    std::string country;
    std::string code;
    std::string suffix;  // the exchange of a Chinese stock
};

// `count` Japanese stocks.
inline std::vector<Stock> JapaneseStocks(long count) {
    std::vector<Stock> stocks;
    for (long n = 0; n < count; ++n) stocks.push_back({"JPN", StockCode(n), ""});
    return stocks;
}

class PriceInstallation {
public:
    // The stocks with daily rows from `first` on, the price histories of
    // their countries requested and collected `parallelism` at a time.
    PriceInstallation(const std::vector<Stock>& stocks, platform::Date first, long parallelism) {
        fs::copy_file(MIRELDA_EXE, folder.program() / "Mirelda");
        common::RunState& state = common::State();
        state.ExeName = "Mirelda";
        common::CCENV00M(env);
        common::SetTaskWorkPaths(0, 0, env);
        common::LoadLogSwitches(env);
        common::InstallProgramParts(collect::CollectionProgramParts());
        common::WriteAllDefaults();
        site.UseAsPriceSites();
        common::WriteSetting("MirControl\\Common\\MultiTask", std::to_string(parallelism));

        common::BatchRequestTable table;
        marketdata::CdmTbl master;
        for (const Stock& stock : stocks) {
            marketdata::CdmRec rec;
            marketdata::InitCdmRec(rec, 1);
            marketdata::InitKey(stock.country, "", "1000", "", rec.Key);
            rec.Key.CorpCode = marketdata::FitField(stock.code, 20, "CorpCode");
            rec.InfoText[171 - 133] = "銘柄" + stock.code;
            master.push_back(rec);
            site.AddStock(stock.country, stock.code, first, kToDate, stock.suffix);
            // The chain's price-history steps: Japan, the United States, China.
            table.cell(stock.country == "JPN" ? 1 : stock.country == "USA" ? 2 : 3, 5) = 1;
        }
        marketdata::WriteCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", "", static_cast<long>(master.size()),
                                    env, master);
        common::WriteSetting("MirControl\\Common\\Batch", common::EncodeBatchRequest(table));

        common::SystemStateRec settings;
        common::ReadSystemStateFile(env, settings);
        settings.Candle = "D";
        settings.PeriodMode = "1";
        settings.ToDate = platform::DateText(kToDate);
        settings.BackupFlag = "0";
        common::WriteSystemStateFile(env, settings);
    }
    ~PriceInstallation() { common::InstallProgramParts({}); }
    PriceInstallation(const PriceInstallation&) = delete;
    PriceInstallation& operator=(const PriceInstallation&) = delete;

    void Run() { common::RunCollectionBatch(); }

    // The run's control record.
    std::string CtrStatus() {
        common::CtrRec rec;
        common::ReadCtrRec(kProcess, env, rec);
        return rec.Status + "/" + rec.Step;
    }

    static std::string ReadLog(const std::string& path) {
        return fs::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }
    std::string RunLog() const { return ReadLog(common::State().runLogPath); }
    std::string ErrorLog() const { return ReadLog(common::State().errorLogPath); }

    // The files a price-history run writes, by their paths below the data
    // root: the series and split files, the code master with the stamps of
    // its writing blanked (two runs of the same market share everything else),
    // the name index, and anything a run should not leave behind (part lists
    // and logs of process 11).
    std::map<std::string, std::string> DataFiles() const {
        std::map<std::string, std::string> files;
        const fs::path root = folder.root();
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string name = fs::relative(entry.path(), root).string();
            const bool wanted = name.find("/Chart/") != std::string::npos ||
                                name.find("/Split/") != std::string::npos ||
                                name.find("/CdmTrial") != std::string::npos || name.find("/Nm") != std::string::npos;
            if (!entry.is_regular_file() || !wanted) continue;
            std::string bytes = testsupport::ReadBytes(entry.path());
            files[name] = name.find("/CdmTrial") != std::string::npos ? WithoutStamps(bytes) : bytes;
        }
        return files;
    }

    testsupport::ProgramFolder folder;
    testsupport::PriceSite site;
    testsupport::FakeUi ui;
    common::EnvRec env;

private:
    static std::string WithoutStamps(const std::string& bytes) {
        // 1-based line fields: the key's update stamp, the price-history
        // stamp, and when the market values were taken from the series.
        constexpr std::size_t kStampFields[] = {15, 16, 25, 26, 61, 62};
        std::istringstream in(bytes);
        std::string out;
        for (std::string line; std::getline(in, line);) {
            std::vector<std::string> fields;
            std::istringstream fieldsIn(line);
            for (std::string field; std::getline(fieldsIn, field, '\t');) fields.push_back(field);
            for (const std::size_t f : kStampFields) {
                if (f <= fields.size()) fields[f - 1] = "#";
            }
            for (std::size_t f = 0; f < fields.size(); ++f) out += (f == 0 ? "" : "\t") + fields[f];
            out += "\n";
        }
        return out;
    }

    testsupport::ScopedEnv offscreen_{"QT_QPA_PLATFORM", "offscreen"};
};

}  // namespace price_e2e
