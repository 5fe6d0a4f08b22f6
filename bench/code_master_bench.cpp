// Writes and loads a code master of 4,000 companies with Japanese names and,
// for comparison, merely reads its bytes and converts them from CP932.
// Run by hand: bench_code_master [companies] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "common/files/data_file.h"
#include "common/startup/run_env.h"
#include "marketdata/code_master.h"
#include "platform/cp932.h"
#include "bench/bench_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

marketdata::CdmTbl Companies(long count) {
    marketdata::CdmTbl tbl(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        marketdata::CdmRec& rec = tbl[static_cast<std::size_t>(i)];
        marketdata::InitCdmRec(rec, static_cast<std::int32_t>(i + 1));
        marketdata::InitKey("JPN", "", "1000", "0050", rec.Key);
        rec.Key.CorpCode = std::to_string(1300 + i);
        const std::string name = "株式会社サンプル電機工業" + std::to_string(i);
        rec.InfoText[38] = name;
        rec.InfoText[41] = name;
        for (std::size_t n = 44; n <= 54; ++n) rec.InfoText[n] = "電気機器・精密機器";
        rec.InfoText[59] = "東京都千代田区丸の内一丁目１番１号";
        for (std::size_t n = 7; n <= 22; ++n) rec.RptText[n] = std::to_string(1000 + i + n);
        rec.Amount[1] = platform::Currency(i * 1000);
        rec.Amount[3] = platform::Currency::FromRaw(123456);
    }
    return tbl;
}

}  // namespace

int main(int argc, char** argv) {
    const long companies = argc > 1 ? std::stol(argv[1]) : 4000;
    const long rounds = argc > 2 ? std::stol(argv[2]) : 5;

    testsupport::ProgramFolder folder;
    common::EnvRec env = bench::FreshEnvironment();
    marketdata::CdmTbl tbl = Companies(companies);
    const std::string path =
        common::BuildDataFilePath(marketdata::kCodeMasterFileNumber, 0, 0, "", "", env);

    const double write = bench::BestMilliseconds(rounds, [&] {
        marketdata::WriteCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", "", companies, env, tbl);
    });
    marketdata::CdmTbl loaded;
    const double load = bench::BestMilliseconds(rounds, [&] {
        marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, 0, 0, "", "", "", "", env, {}, loaded);
    });
    std::size_t chars = 0;
    const double raw = bench::ReadAndConvertMilliseconds(rounds, path, chars);

    std::printf("%ld companies, %zu bytes on disk, best of %ld rounds\n", companies,
                testsupport::ReadBytes(path).size(), rounds);
    std::printf("  WriteCodeMaster       %8.1f ms\n", write);
    std::printf("  CFCDM10M (load)       %8.1f ms (%zu records)\n", load, loaded.size());
    std::printf("  read + CP932 convert  %8.1f ms (%zu bytes of UTF-8)\n", raw, chars);
    return loaded.size() == static_cast<std::size_t>(companies) ? 0 : 1;
}
