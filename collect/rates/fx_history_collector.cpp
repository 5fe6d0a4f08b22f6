#include "collect/rates/fx_history_collector.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "collect/child/child_collection.h"
#include "collect/child/repeated_page.h"
#include "collect/rates/exchange_rate_files.h"
#include "collect/rates/fx_history_file.h"
#include "collect/rates/fx_history_page.h"
#include "collect/web/page_fetch.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/tasks/task_files.h"
#include "common/text/text_compare.h"
#include "platform/date.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "AEXCG30M";
constexpr long kRunReport = 111;
constexpr long kEndReport = 114;
constexpr long kPageRows = 20;

enum class Paging { Complete, Stopped, Failed };

void LogWarning(const std::string& code, const std::string& message) {
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kWarning, code, message);
}

class HistoryCollection {
public:
    HistoryCollection(common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task, std::string lastStored)
        : env_(env), msg_(msg), task_(task), lastStored_(std::move(lastStored)),
          toDate_(platform::DateText(platform::Now().date)) {}

    // Gathers the rows newer than the history, up to and including its last
    // date when a page shows it.
    Paging CollectPages();
    std::vector<FxHistoryRec>& Rows() { return rows_; }

private:
    // Reads the page's rows; nullopt when paging goes on, Failed for a page
    // without the history table.
    std::optional<Paging> ReadPage();
    // Paging that the site could not take further back, for `reason`.
    Paging EndPagingShort(const std::string& reason, const std::string& url);

    common::EnvRec& env_;
    common::MSGRec& msg_;
    common::TSDRec& task_;
    std::string lastStored_;
    std::string toDate_;
    std::vector<FxHistoryRec> rows_;
};

Paging HistoryCollection::CollectPages() {
    const common::ProcessContext& context = common::State().context;
    FetchRec fetch;
    for (long offset = 0;; offset += kPageRows) {
        if (common::TaskStopRequested(env_, task_)) return Paging::Stopped;
        msg_.LabelText2 = "\r\n\r\n" + lastStored_ + " ～ " + toDate_ + "\r\n";
        common::ShowProgress(msg_);
        fetch.Url = FillFxHistoryUrl(context.urlTemplate1, context.currencyCode, offset);
        if (CWHTM12M(context.processName, kOwnId, fetch, PageText(), PageLink(), false) < 1) {
            if (!rows_.empty()) {
                LogWarning("01", "収集途中のページ取得失敗のため、収集済みの" + std::to_string(rows_.size()) +
                                     "件は書き込みません　" + fetch.Url);
            }
            return Paging::Failed;
        }
        const std::size_t pageStart = rows_.size();
        if (const std::optional<Paging> end = ReadPage()) {
            if (*end == Paging::Failed) {
                LogWarning("02", context.processName + "の収集失敗（履歴表の特定不能）　" + fetch.Url);
            }
            return *end;
        }
        const auto same = [](const FxHistoryRec& a, const FxHistoryRec& b) {
            return a.Date == b.Date && a.Rates == b.Rates;
        };
        if (RepeatsRowsBefore(rows_, pageStart, same)) {
            rows_.resize(pageStart);
            return EndPagingShort(kRepeatedPageWarning, fetch.Url);
        }
        if (rows_.size() > kPagedRowRoom) {
            rows_.resize(kPagedRowRoom);
            return EndPagingShort(kRowRoomWarning, fetch.Url);
        }
        toDate_ = rows_.back().Date;
    }
}

// Rows that stop short of the stored history would leave a gap before it:
// they are written only when there is no history yet.
Paging HistoryCollection::EndPagingShort(const std::string& reason, const std::string& url) {
    LogWarning("03", common::State().context.processName + reason + url);
    return lastStored_ == kNoFxHistoryDate ? Paging::Complete : Paging::Failed;
}

std::optional<Paging> HistoryCollection::ReadPage() {
    FxColumnMap map;
    const std::int32_t header = FindFxHistoryHeader(PageText(), map);
    // Skipping a page without the table would leave its rows missing for
    // good once the rows after it are merged.
    if (header == 0) return Paging::Failed;
    const std::size_t first = rows_.size();
    const std::int32_t end =
        ReadFxHistoryRows(PageText(), map, header + 1, common::State().context.currencyCode, rows_);
    for (std::size_t i = first; i < rows_.size(); ++i) {
        if (common::TextEquals(rows_[i].Date, lastStored_)) {
            rows_.resize(i + 1);
            return Paging::Complete;
        }
    }
    // A page without rows ends the table even when it offers a next page.
    if (rows_.size() == first || !HasNextFxPage(PageText(), end)) return Paging::Complete;
    return std::nullopt;
}

// Keeps the first of each run of consecutive rows of one date.
void CollapseSameDates(std::vector<FxHistoryRec>& rows) {
    const auto sameDate = [](const FxHistoryRec& a, const FxHistoryRec& b) { return a.Date == b.Date; };
    rows.erase(std::unique(rows.begin(), rows.end(), sameDate), rows.end());
}

void WriteAndMerge(common::EnvRec& env, common::MSGRec& msg, const std::string& namePart, const std::string& base,
                   std::vector<FxHistoryRec>& rows) {
    CollapseSameDates(rows);
    std::vector<std::string> lines;
    CFEXC51M(static_cast<long>(rows.size()), rows, lines);
    CFEXCS1M(lines);
    CFEXC53M(env, kExchangeRateFileNumber, static_cast<long>(lines.size()), namePart, ".tmp", lines);
    CFEXCR0M(base, ".tmp", common::CFFIL03M(kExchangeRateFileNumber), env, msg);
}

// The end letter of the task: "S" after a stop request, else "Z".
std::string CollectHistory(common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    const common::ProcessContext& context = common::State().context;
    const std::string currencyName = platform::TrimBlanks(context.currencyName);
    const std::string namePart = "(" + currencyName + ")";
    const std::string base = common::CFFIL02M({kExchangeRateFileNumber, 0, 0, namePart, ""}, env);
    common::CFFIL70M(base + ".tmp");

    std::vector<FxHistoryRec> stored;
    LoadFxHistory(env, namePart, "", stored);
    HistoryCollection collection(env, msg, task, stored.empty() ? kNoFxHistoryDate : stored.back().Date);
    stored.clear();

    common::SetTaskDetailStatus(kRunReport, "S", "B", env, task);
    common::State().TaskPhase = "01";
    msg.Caption = "為替情報" + namePart + "の収集中";
    const Paging paging = collection.CollectPages();
    if (paging == Paging::Stopped) return "S";
    if (paging == Paging::Complete && !collection.Rows().empty()) {
        WriteAndMerge(env, msg, namePart, base, collection.Rows());
    }
    return "Z";
}

}  // namespace

bool AEXCG30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    common::ProcedureIdGuard guard(kOwnId);
    OpenChildCollection(kOwnId, msg, common::State().context.processName + "の収集準備中");

    const std::string end = CollectHistory(env, msg, task);

    common::SetTaskDetailStatus(kEndReport, "S", end, env, task);
    CloseChildCollection(kOwnId);
    return true;
}

}  // namespace collect
