#include "common/startup/process_context.h"

#include <array>

#include "common/run_state.h"
#include "common/settings/settings.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

struct Country {
    const char* name;
    const char* code;
    const char* currencyName;
    const char* currencyCode;
};

constexpr std::array<Country, 8> kCountries{{
    {"全国", "ALL", "全国", "ALL"},
    {"国内", "JPN", "日本円", "JPY"},
    {"中国", "CHN", "人民元", "CNY"},
    {"米国", "USA", "米ドル", "USD"},
    {"香港", "HKG", "香港ドル", "HKD"},
    {"台湾", "TWN", "台湾ドル", "TWD"},
    {"英国", "GBR", "英ポンド", "GBP"},
    {"欧州", "XEU", "欧州通貨", "XEU"},
}};

// Sites whose pages the collectors read; their hosts are configuration.
constexpr const char* kPortal = "Portal";
constexpr const char* kChinaStock = "ChinaStock";
constexpr const char* kUsQuote = "UsQuote";
constexpr const char* kUsPortal = "UsPortal";
constexpr const char* kReport = "Report";

struct Target {
    long fileNumber;
    const char* site1;
    const char* path1;
    const char* site2;
    const char* path2;
};

struct Row {
    long countryIndex;  // 0: any country
    Target target;
};

struct Process {
    const char* text;
    const char* id;
    bool withCountry;
    std::initializer_list<Row> rows;  // empty: the result file and addresses stay as they were
};

std::string ProfilePath() {
    return State().isKorvane ? "/biz/fundamental/@Code@.html" : "/fundamental/?s=@Code@";
}

const Process* FindProcess(long processIndex) {
    static const Process kProcesses[] = {
        {"株価時系列データ", "AHPRI000", true, {}},
        {"罫線・鉤足", "AKAGI000", true, {{0, {40001, nullptr, nullptr, nullptr, nullptr}}}},
        {"棒足データ", "ABOAS000", true, {}},
        {"企業一覧",
         "ALIST000",
         true,
         {{1, {1003, kPortal, "", nullptr, nullptr}},
          {2, {1004, kChinaStock, "/data/info.cgi?code=@Code@", nullptr, nullptr}},
          {3, {1006, kUsQuote, "/MnQuote/", nullptr, nullptr}}}},
        {"企業情報",
         "ACORP000",
         true,
         {{1, {1007, kPortal, "", nullptr, nullptr}},
          {2, {1008, kChinaStock, "/data/info.cgi?code=@Code@", nullptr, nullptr}}}},
        {"マーケット速報",
         "AREPT000",
         true,
         {{1, {1011, kPortal, "/q?s=@Code@&d=t", nullptr, nullptr}},
          {2,
           {1012, kChinaStock, "/data/code.cgi?market=&code=@Code@", kChinaStock,
            "/data/zaimu.cgi?market=&code=@Code@"}},
          {3, {1013, kUsPortal, "/q?s=@Code@", nullptr, nullptr}}}},
        {"ロイター業種",
         "AMLTX000",
         false,
         {{0, {1002, kReport, "/report/sector33/brand_report/@Code@.html", nullptr, nullptr}}}},
        {"制御情報", "ACRCM000", true, {}},
        {"分析データ", "AMNIG000", true, {}},
        {"銘柄登録", "AUSCM000", true, {}},
        {"為替情報",
         "AEXCG000",
         false,
         {{0,
           {1017, kChinaStock, "/exchange/index.cgi?mode=table&type=@Country@&next=@Next@", nullptr, nullptr}}}},
    };
    if (processIndex < 1 || processIndex > static_cast<long>(std::size(kProcesses))) return nullptr;
    return &kProcesses[processIndex - 1];
}

// The profile page path is the one the two programs do not share.
std::string Address(const char* site, const char* path) {
    if (site == nullptr) return "";
    return SiteBase(site) + (*path == '\0' ? ProfilePath() : std::string(path));
}

}  // namespace

std::string CountryCurrencyCode(std::string_view countryCode) {
    for (const Country& country : kCountries) {
        if (countryCode == country.code) return country.currencyCode;
    }
    return "";
}

std::string SiteBase(const std::string& site) {
    const std::string host = platform::TrimBlanks(ReadSetting("MirControl\\HpGet\\Site" + site));
    return "http://" + (host.empty() ? site + ".invalid" : host);
}

void SetProcessContext(long processIndex, long countryIndex) {
    ProcessContext& context = State().context;
    const Country& country =
        kCountries[countryIndex >= 1 && countryIndex <= 7 ? static_cast<std::size_t>(countryIndex) : 0];
    context.processIndexText = std::to_string(processIndex);
    context.countryIndex = countryIndex;
    context.countryName = country.name;
    context.countryCode = country.code;
    context.currencyName = country.currencyName;
    context.currencyCode = country.currencyCode;
    context.processNumber = processIndex * 10 + countryIndex;
    if (const Process* process = FindProcess(processIndex)) {
        context.processName =
            process->withCountry ? std::string(process->text) + "（" + country.name + "）" : process->text;
        context.processId = process->id;
        for (const Row& row : process->rows) {
            if (row.countryIndex == 0 || row.countryIndex == countryIndex) {
                context.resultFileNumber = row.target.fileNumber;
                context.urlTemplate1 = Address(row.target.site1, row.target.path1);
                context.urlTemplate2 = Address(row.target.site2, row.target.path2);
                break;
            }
        }
    }
    RunState& state = State();
    state.processNumber = context.processNumber;
    WriteSetting("MirControl\\Common\\ProcName", context.processName);
    WriteSetting("MirControl\\Common\\ProcFile", std::to_string(context.processNumber));
    WriteSetting("MirControl\\Common\\ProcId", context.processId);
}

}  // namespace common
