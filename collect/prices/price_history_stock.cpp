#include "collect/prices/price_history_stock.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "collect/child/process_stamp.h"
#include "collect/child/repeated_page.h"
#include "collect/prices/event_rows.h"
#include "collect/prices/market_suffix.h"
#include "collect/prices/moving_averages.h"
#include "collect/prices/price_merge.h"
#include "collect/prices/price_page_fold.h"
#include "collect/prices/price_request.h"
#include "collect/prices/price_row_files.h"
#include "collect/prices/price_table.h"
#include "collect/prices/price_url.h"
#include "collect/web/page_fetch.h"
#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/tasks/task_files.h"
#include "marketdata/chart_line_files.h"
#include "marketdata/market_report.h"
#include "marketdata/price_series.h"
#include "platform/date.h"
#include "platform/date_parse.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "AHPJP41M";
constexpr long kSeriesFile = 1014;
constexpr long kSplitFile = 1015;
constexpr long kEndReport = 114;
constexpr long kPriceKind = 1;
constexpr int kMaxRecoveries = 10;
constexpr const char* kNoDate = "1900/01/01";
constexpr const char* kDaily = "D";  // the series the judgement reads
constexpr platform::Date kEarliest{1900, 1, 1};

using Rows = std::vector<marketdata::PriceRec>;

void RunLog(const std::string& tag, const std::string& code, const std::string& text) {
    common::WriteRunLog(common::LogSwitch(1), kOwnId, tag, code, text);
}

std::string Trim(const std::string& text) { return platform::TrimBlanks(text); }

platform::Date Today() { return platform::Now().date; }

platform::Date DateOr(const std::string& text, platform::Date fallback) {
    const std::optional<platform::Date> date = platform::ParseDate(Trim(text));
    return date ? *date : fallback;
}

// The stock's two files of one candle: the series (1014) and its dividend
// and split rows (1015), each as ".txt", with ".tmp" while written and ".bak"
// as the backup kept after a split.
class StockFiles {
public:
    StockFiles(common::EnvRec& env, const marketdata::Key& key, const std::string& candle)
        : env_(env), namePart_(marketdata::PriceFileNamePart(key, candle)) {}

    std::string Path(long fileNumber, const char* extension) const {
        return common::BuildDataFilePath(fileNumber, 0, 0, namePart_, extension, env_);
    }
    bool Load(long fileNumber, Rows& rows) const {
        return marketdata::LoadPriceSeriesByNumber(env_, fileNumber, namePart_, ".txt", rows);
    }
    // The rows written to ".tmp", which then takes the place of ".txt" in one
    // rename: a stock stopped at any point keeps a whole file.
    void Replace(long fileNumber, const Rows& rows) const {
        CFHPC50M(env_, fileNumber, rows, namePart_, ".tmp");
        Rename(fileNumber, ".tmp", ".txt");
    }
    void Rename(long fileNumber, const char* from, const char* to) const {
        common::CFFIL60M(Path(fileNumber, from), Path(fileNumber, to));
    }
    void Delete(long fileNumber, const char* extension) const { common::CFFIL70M(Path(fileNumber, extension)); }
    // The ".txt" as it stands, as the backup ".bak".
    void Backup(long fileNumber) const {
        Delete(fileNumber, ".bak");
        common::CopyFileIfAbsent(Path(fileNumber, ".txt"), Path(fileNumber, ".bak"));
    }

private:
    common::EnvRec& env_;
    std::string namePart_;
};

// The rows of a stock: the series held, the rows collected and the two
// merged. They take the room of the stock before: the first touch of a fresh
// page costs a fault, and a series of thousands of rows would spend more on
// those than on its rows.
struct StockRows {
    Rows held;
    Rows collected;
    Rows merged;
};

StockRows& RoomOfRows() {
    static StockRows rows;
    return rows;
}

std::string Identity(const marketdata::CdmRec& company) {
    return Trim(company.Key.CorpCode) + " : " + marketdata::CompanyName(company);
}

// One pass over a stock; a split found after the data held asks for another.
enum class Outcome { Done, Cancelled, Restart };

// How the paging of a stock ended.
enum class Paging { Complete, Cancelled, PageFailed };

// One pass over a stock. The pass after a new split recollects the whole
// history while the files held stay in place: they give way only to a
// recollection that ends with rows, so a failed one keeps them and the
// stock's dates (`heldTerm`, as before the first pass).
class StockCollection {
public:
    StockCollection(long processKind, common::EnvRec& env, common::MSGRec& msg, marketdata::CdmRec& company,
                    const common::SystemStateRec& settings, const std::string& candle, common::TSDRec& task,
                    bool recollecting, const marketdata::TermRec& heldTerm)
        : kind_(processKind),
          env_(env),
          msg_(msg),
          company_(company),
          settings_(settings),
          candle_(candle),
          task_(task),
          files_(env, company.Key, candle),
          held_(RoomOfRows().held),
          collected_(RoomOfRows().collected),
          merged_(RoomOfRows().merged),
          recollecting_(recollecting),
          heldTerm_(heldTerm) {}

    Outcome Run();

private:
    void BuildRequest();
    void ReadHeldSeries();
    void ChoosePeriod();
    void ProbeMarketSuffix();
    bool StopRequested() const;
    void ShowPageProgress(const std::string& extra);
    Paging CollectPages();
    std::optional<Paging> FoldPage();
    Paging EndPagingShort(const std::string& reason);
    bool HandleEventRows(Rows& splitRows);
    void StartAgainAfterSplit();
    void KeepHeldTerm();
    void MergeAndWrite(const Rows& splitRows);
    void PutInPlace(long fileNumber, const Rows& rows);
    void ForgetChartLines();

    long kind_;
    common::EnvRec& env_;
    common::MSGRec& msg_;
    marketdata::CdmRec& company_;
    const common::SystemStateRec& settings_;
    std::string candle_;
    common::TSDRec& task_;
    StockFiles files_;

    PriceUrlTemplate template_;
    PriceRequest request_;
    FetchRec fetch_;
    PriceColumnMap columns_;
    Rows& held_;
    Rows& collected_;
    Rows& merged_;
    Rows heldSplits_;
    bool recollecting_;
    marketdata::TermRec heldTerm_;
    bool fromNothing_ = false;
};

Outcome StockCollection::Run() {
    if (!GetPriceUrlTemplate(Trim(company_.Key.Market), Trim(company_.Key.Category), template_)) {
        return Outcome::Done;
    }
    BuildRequest();
    files_.Delete(kSeriesFile, ".tmp");
    files_.Delete(kSplitFile, ".tmp");
    // The rows of the stock before go; their room stays.
    held_.clear();
    collected_.clear();
    if (!recollecting_) files_.Load(kSplitFile, heldSplits_);
    ReadHeldSeries();
    ChoosePeriod();
    collected_.reserve(kPagedRowRoom);
    if (request_.Country == "CHN" && request_.MarketSuffix.empty()) ProbeMarketSuffix();

    switch (CollectPages()) {
        case Paging::Cancelled:
            common::SetTaskDetailStatus(kEndReport, "S", "S", env_, task_);
            return Outcome::Cancelled;
        case Paging::PageFailed:
            // The rows of the pages before would leave a gap between them and
            // the data held: the stock keeps its files and dates as they were.
            KeepHeldTerm();
            return Outcome::Done;
        case Paging::Complete:
            break;
    }
    Rows splitRows = heldSplits_;
    if (HandleEventRows(splitRows)) return Outcome::Restart;
    if (request_.PeriodMode == "4" && collected_.size() > 1) {
        common::WriteRunLog(true, "@@@@@@@@", common::log_tag::kInfo, "01",
                            "過去データの収集発生。　  " + platform::DateText(request_.ToDate) + "  " +
                                Identity(company_));
    }
    MergeAndWrite(splitRows);
    msg_.LabelText4.clear();
    return Outcome::Done;
}

void StockCollection::BuildRequest() {
    const marketdata::Key& key = company_.Key;
    request_.Country = Trim(key.Market);
    request_.SubCode = Trim(key.IndCode0020);
    request_.Category = Trim(key.Category);
    request_.Code = Trim(key.CorpCode);
    request_.PeriodMode = Trim(settings_.PeriodMode);
    request_.Candle = candle_;
    request_.MarketSuffix = Trim(marketdata::StoredMarketSuffix(company_));
    request_.BackupFlag = Trim(settings_.BackupFlag);
    request_.FromDate = kEarliest;
    request_.ToDate = DateOr(settings_.ToDate, Today());
    request_.PositionDate = request_.ToDate;
    request_.GetLine = std::stol(template_.LinesPerPage);
}

void StockCollection::ReadHeldSeries() {
    marketdata::TermRec& term = company_.Term[kPriceKind];
    fromNothing_ = recollecting_ || !files_.Load(kSeriesFile, held_);
    std::size_t definite = 0;
    while (definite < held_.size() && Trim(held_[definite].Text[7]).empty()) ++definite;

    std::string code;
    std::string text;
    if (fromNothing_ || definite == 0) {
        term.FirstDate = kNoDate;
        term.LastDate = Trim(settings_.ToDate);
        request_.LastHeldDate = DateOr(term.LastDate, request_.ToDate);
        code = fromNothing_ ? "04" : "01";
        text = fromNothing_ ? "株価時系列が存在しない（なし・なし）　　" : "株価時系列の最初に、暫定情報がある（あり・なし）　　";
    } else {
        term.FirstDate = held_.front().Text[0].substr(0, 10);
        term.LastDate = held_[definite - 1].Text[0].substr(0, 10);
        request_.LastHeldDate = DateOr(term.LastDate, kEarliest);
        request_.FromDate = request_.LastHeldDate;
        const bool allDefinite = definite == held_.size();
        code = allDefinite ? "03" : "02";
        text = allDefinite ? "株価時系列に、暫定情報が存在しない（なし・あり）　　"
                           : "株価時系列の途中に、暫定情報がある（あり・あり）　　";
    }
    RunLog(common::log_tag::kDebug, code, text + platform::DateText(request_.LastHeldDate));
}

void StockCollection::ChoosePeriod() {
    const marketdata::TermRec& term = company_.Term[kPriceKind];
    const std::string& mode = request_.PeriodMode;
    if (mode == "1") {
        const std::optional<platform::Date> last = platform::ParseDate(Trim(term.LastDate));
        if (last && request_.FromDate > *last) request_.FromDate = *last;
    } else if (mode == "2") {
        request_.FromDate = kEarliest;
    } else if (mode == "3") {
        request_.FromDate = DateOr(settings_.FromDate, kEarliest);
        request_.ToDate = DateOr(settings_.ToDate, Today());
        request_.PositionDate = request_.ToDate;
    } else if (mode == "4") {
        request_.FromDate = kEarliest;
        const std::string first = Trim(term.FirstDate);
        request_.ToDate = first.empty() || first == kNoDate ? Today() : DateOr(first, Today());
        request_.PositionDate = request_.ToDate;
    }
}

// Tries the three exchanges in turn; the first whose page shows a price
// table is kept in the record, so the next collection asks no more.
void StockCollection::ProbeMarketSuffix() {
    const std::string address = FillPriceUrl(template_, request_);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        std::string suffix;
        fetch_.Url = SetChinaMarketSuffix(attempt, request_.Country, address, suffix);
        if (CWHTM14M(common::State().context.processName, std::string(kOwnId) + "(1)：", fetch_, PageText(),
                     PageLink()) > 0 &&
            ParsePriceTable(request_.Category, columns_, fetch_, PageText()) > 0) {
            request_.MarketSuffix = Trim(suffix);
            marketdata::StoredMarketSuffix(company_) = request_.MarketSuffix;
            return;
        }
    }
}

bool StockCollection::StopRequested() const {
    return common::TaskStopRequested(env_, task_);
}

void StockCollection::ShowPageProgress(const std::string& extra) {
    msg_.LabelText3 = "\t" + platform::DateText(request_.FromDate) + " ～ " +
                      platform::DateText(request_.PositionDate) + "\r\n" + extra;
    common::ShowProgress(msg_);
}

// Rows equal in their page columns (date, prices, volume, adjusted close).
bool SamePageRow(const marketdata::PriceRec& a, const marketdata::PriceRec& b) {
    return std::equal(a.Text.begin(), a.Text.begin() + 7, b.Text.begin());
}

// Pages until the data runs out or reaches the first wanted date, a page
// repeats the page before or the rows fill the room of a stock. A cancel or
// stop request is looked for before every page.
Paging StockCollection::CollectPages() {
    const std::string firstWanted = platform::DateText(request_.FromDate);
    for (;;) {
        if (StopRequested()) return Paging::Cancelled;
        ShowPageProgress("");
        fetch_.Url = FillMarketSuffix(FillPriceUrl(template_, request_), Trim(request_.MarketSuffix));
        const std::size_t pageStart = collected_.size();
        if (const std::optional<Paging> end = FoldPage()) return *end;
        if (RepeatsRowsBefore(collected_, pageStart, SamePageRow)) {
            collected_.resize(pageStart);
            return EndPagingShort(kRepeatedPageWarning);
        }
        if (collected_.size() > kPagedRowRoom) {
            collected_.resize(kPagedRowRoom);
            return EndPagingShort(kRowRoomWarning);
        }
        if (request_.PageRows < request_.GetLine) return Paging::Complete;
        request_.GetPosition += request_.GetLine;
        if (!collected_.empty() && collected_.back().Text[0].substr(0, 10) <= firstWanted) return Paging::Complete;
    }
}

// Paging that the site could not take further back: the rows are merged
// when they reach the data held, else they would leave a gap before it and
// the stock keeps its files as after a failed page. A recollection after a
// split would replace the whole history with them: it keeps the files too.
Paging StockCollection::EndPagingShort(const std::string& reason) {
    RunLog(common::log_tag::kWarning, "06", reason + Identity(company_));
    RunLog(common::log_tag::kWarning, "06", fetch_.Url);
    request_.TotalRows = static_cast<long>(collected_.size());
    const bool reachesHeld = collected_.back().Text[0].substr(0, 10) <= platform::DateText(request_.LastHeldDate);
    return reachesHeld && !recollecting_ ? Paging::Complete : Paging::PageFailed;
}

// Fetches and folds the current page, refetching a page whose table cannot
// be found; how paging ends when it ends here.
std::optional<Paging> StockCollection::FoldPage() {
    const std::string processName = common::State().context.processName;
    for (int recovery = 0;;) {
        if (CWHTM12M(processName, std::string(kOwnId) + "(2)：", fetch_, PageText(), PageLink(), false) < 1) {
            return Paging::PageFailed;
        }
        std::int32_t header = ParsePriceTable(request_.Category, columns_, fetch_, PageText());
        if (header < 0) return Paging::Complete;
        if (header == 0) {
            header = FindPriceTableByShape(request_.Category, columns_, fetch_, PageText());
            if (header > 0) {
                RunLog(common::log_tag::kWarning, "03", "編集位置の補正完了　　　　" + Identity(company_));
                RunLog(common::log_tag::kWarning, "03", fetch_.Url);
            }
        }
        if (header > 0) {
            request_.RowIndex = header + 1;
            if (AHPJP44M(company_, request_, columns_, collected_, fetch_, PageText())) return std::nullopt;
            return Paging::Complete;
        }
        if (header < 0) return Paging::Complete;
        if (recovery > kMaxRecoveries) {
            RunLog(common::log_tag::kWarning, "04",
                   "編集位置の特定・補正不能　" + Identity(company_) + "  R=" + std::to_string(recovery));
            RunLog(common::log_tag::kWarning, "04", fetch_.Url);
            return Paging::PageFailed;
        }
        ++recovery;
        ShowPageProgress("\r\n\r\n補正のリカバリー中  R=" + std::to_string(recovery));
    }
}

// Sets the dividend and split rows apart. True when a new split means that
// the whole history has to be collected again; otherwise the event rows are
// merged into the split file (`splitRows`).
bool StockCollection::HandleEventRows(Rows& splitRows) {
    if (collected_.empty()) return false;
    Rows events;
    std::string splitDate;
    if (!SeparateEventRows(collected_, events, splitDate)) return false;
    request_.EventRowCount = static_cast<long>(events.size());
    request_.TotalRows = static_cast<long>(collected_.size());
    // A split is new when it lies after the data held and within the dates
    // collected: a page may show one dated after them, which the collection
    // started again would find again, without end.
    const bool newSplit = splitDate > platform::DateText(request_.LastHeldDate) &&
                          splitDate <= platform::DateText(request_.ToDate);
    // The recollection itself starts nothing again: once per stock and call.
    if (!recollecting_ && request_.PeriodMode != "4" && newSplit) {
        StartAgainAfterSplit();
        return true;
    }
    MergePriceRowsByDate(heldSplits_, events, splitRows);
    // A recollection puts its split rows in place with its series.
    if (!recollecting_) files_.Replace(kSplitFile, splitRows);
    return false;
}

void StockCollection::StartAgainAfterSplit() {
    RunLog(common::log_tag::kWarning, "05", "株式分割発生の為、株価データを全件再収集　" + Identity(company_));
    common::WriteSetting("MirControl\\HpGet\\HpSplit", "1");
    msg_.LabelText4 = "株式分割発生の為、株価データを全件再収集中";
}

// The dates as they were before the stock; a stock that never had any gets
// those of a stock without data.
void StockCollection::KeepHeldTerm() {
    marketdata::TermRec& term = company_.Term[kPriceKind];
    term = heldTerm_;
    if (Trim(term.FirstDate).empty() && Trim(term.LastDate).empty()) term = {kNoDate, kNoDate};
}

// Chart lines and bar data of an older series no longer fit the new one.
void StockCollection::ForgetChartLines() {
    ClearProcessStamp(2, company_);
    ClearProcessStamp(3, company_);
    marketdata::DeleteChartLineFiles(env_, company_.Key);
}

void StockCollection::MergeAndWrite(const Rows& splitRows) {
    marketdata::TermRec& term = company_.Term[kPriceKind];
    if (request_.TotalRows < 1) {
        // A recollection without rows has failed: the files held stay.
        if (recollecting_) {
            KeepHeldTerm();
        } else {
            term.FirstDate = kNoDate;
            term.LastDate = kNoDate;
        }
        return;
    }
    // The chart lines are of the series held: they go with it after a split,
    // and a daily series collected from nothing has none of its own yet. The
    // other candles are not judged: theirs leave the chart lines alone.
    if (recollecting_ || (fromNothing_ && candle_ == kDaily)) ForgetChartLines();
    MergePriceRowsByDate(held_, collected_, merged_);
    ComputeMovingAverages(merged_);
    marketdata::CheckStockSplit(company_, merged_, splitRows);
    term.FirstDate = merged_.front().Text[0].substr(0, 10);
    term.LastDate = merged_.back().Text[0].substr(0, 10);
    // The series first: once it is new, a stopped call is not taken for a
    // new split again.
    PutInPlace(kSeriesFile, merged_);
    if (recollecting_) PutInPlace(kSplitFile, splitRows);
}

// The rows in place of the file's ".txt", which goes when there are none. A
// recollection keeps the file it replaces as ".bak" when the settings ask,
// and the ".txt" is never missing in between.
void StockCollection::PutInPlace(long fileNumber, const Rows& rows) {
    if (recollecting_) {
        if (request_.BackupFlag == "1") {
            files_.Backup(fileNumber);
        } else {
            files_.Delete(fileNumber, ".bak");
        }
    }
    if (rows.empty()) {
        files_.Delete(fileNumber, ".txt");
    } else {
        files_.Replace(fileNumber, rows);
    }
}

}  // namespace

bool AHPJP41M(long processKind, common::EnvRec& env, common::MSGRec& msg, marketdata::CdmRec& company,
              const common::SystemStateRec& settings, const std::string& candle, common::TSDRec& task) {
    common::ProcedureIdGuard guard(kOwnId);
    common::State().CancelRequested = false;
    const marketdata::TermRec heldTerm = company.Term[kPriceKind];
    for (bool recollecting = false;; recollecting = true) {
        StockCollection stock(processKind, env, msg, company, settings, candle, task, recollecting, heldTerm);
        switch (stock.Run()) {
            case Outcome::Done:
                return true;
            case Outcome::Cancelled:
                return false;
            case Outcome::Restart:
                break;
        }
    }
}

}  // namespace collect
