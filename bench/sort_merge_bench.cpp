// Times the tab-line sort and the master recovery against a plain read and
// write of the same code-master-sized file, so that a slow step stands out.
//
// bench_sort_merge [lines]   (default 200000; files go to a temporary folder)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/files/key_layout.h"
#include "common/files/master_merge.h"
#include "common/files/tab_line_sort.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "platform/number_format.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr std::size_t kFieldsPerLine = 188;
constexpr int kNameFields = 8;

const char* const kMarkets[] = {"JPN", "JPN", "JPN", "CHN", "USA"};
const char* const kCategories[] = {"0010", "0020", "0030", "1000", "2000"};
const char* const kNameHeads[] = {"日本", "東京", "大阪", "北海道", "中部", "三菱", "住友", "ヤマト", "さくら", "アジア"};
const char* const kNameTails[] = {"電気工業", "化学", "銀行", "商事", "製作所", "不動産", "ホールディングス", "精機", "食品",
                                  "建設"};

std::string Digits(long value, const char* format) { return platform::FormatNumber(static_cast<double>(value), format); }

// A code-master line: market at column 1, category at 10, industry codes at
// 15 to 50, company code at 55 (20 characters), then names and figures, all
// joined by TAB into kFieldsPerLine fields.
std::string MakeLine(std::mt19937_64& random, long code) {
    const auto pick = [&](auto& table) { return table[random() % std::size(table)]; };
    std::string codeText = Digits(code, "000000");
    codeText.resize(20, ' ');
    std::vector<std::string> fields = {pick(kMarkets), Digits(static_cast<long>(random() % 10000), "0000"),
                                       pick(kCategories)};
    for (int level = 0; level < 8; ++level) fields.push_back(Digits(static_cast<long>(random() % 100) * 10, "0000"));
    fields.push_back(codeText);
    for (int i = 0; i < kNameFields; ++i) fields.push_back(std::string(pick(kNameHeads)).append(pick(kNameTails)));
    while (fields.size() < kFieldsPerLine) {
        const auto kind = random() % 4;
        fields.push_back(kind == 0 ? "" : std::to_string(random() % (kind == 3 ? 100000000 : 1000)));
    }
    std::string line = fields.front();
    for (std::size_t i = 1; i < fields.size(); ++i) line.append("\t").append(fields[i]);
    return line;
}

double TimeMs(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 200000;
    const fs::path folder = fs::temp_directory_path() / ("sort_merge_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string path = (folder / "Cdm.txt").string();

    std::mt19937_64 random(20240601);
    std::vector<long> codes(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) codes[static_cast<std::size_t>(i)] = 2 * i + 1000;
    std::shuffle(codes.begin(), codes.end(), random);
    Lines lines;
    lines.reserve(codes.size());
    for (long code : codes) lines.push_back(MakeLine(random, code));
    std::size_t chars = 0;
    for (const std::string& line : lines) chars += line.size();
    std::printf("%ld lines, %.0f bytes a line in memory\n", count, static_cast<double>(chars) / count);

    Lines reread;
    const double writeMs = TimeMs([&] { common::CFFIL30M(lines, path); });
    const double readMs = TimeMs([&] { common::CFFIL20M(path, reread); });
    std::printf("write (CFFIL30M)           %8.1f ms\n", writeMs);
    std::printf("read (CFFIL20M)            %8.1f ms\n", readMs);
    std::printf("read + write               %8.1f ms\n", readMs + writeMs);

    common::SortKeyRec keys;
    common::SetKeyLayout3(keys);
    const double sortMs = TimeMs([&] { common::SortLinesByKeys(reread, keys); });
    std::printf("SortLinesByKeys            %8.1f ms\n", sortMs);

    // Recovery: the sorted master, a tenth as many transactions, half of them
    // changed master lines and half new ones (odd codes are not in the master).
    common::CFFIL30M(reread, path);
    const std::string base = (folder / "Cdm").string();
    Lines transactions;
    for (long i = 0; i < count / 10; ++i) {
        if (i % 2 == 0) {
            transactions.push_back(reread[static_cast<std::size_t>(random() % reread.size())] + "1");
        } else {
            transactions.push_back(MakeLine(random, 2 * i + 1001));
        }
    }
    common::CFFIL30M(transactions, base + ".tmp");
    common::MergeKeyRec merge;
    common::CopyKeyLayout(keys, merge);
    common::MSGRec msg;
    common::MergeCounterRec counter;
    Lines result;
    const double recoveryMs =
        TimeMs([&] { common::CFRCV21M(base, ".tmp", ".txt", msg, merge, counter, result); });
    std::printf("CFRCV21M (read, sort, merge, write) %8.1f ms, %ld lines\n", recoveryMs, counter.ResultCount);

    Lines master = reread;
    common::SortLinesByKeys(transactions, keys);
    const double mergeMs = TimeMs([&] { common::CUMRG20M(master, transactions, msg, merge); });
    std::printf("CUMRG20M in memory         %8.1f ms\n", mergeMs);

    fs::remove_all(folder);
    return 0;
}
