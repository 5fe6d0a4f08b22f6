#include "collect/company_lists/list_collector_run.h"

#include "collect/company_lists/list_task_recovery.h"
#include "collect/web/html_tag_table.h"
#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/key_layout.h"
#include "common/files/text_file_io.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/tasks/task_files.h"
#include "platform/date.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr long kRunReport = 111;
constexpr long kEndReport = 114;
constexpr const char* kNoIndustry = "アプリケーションエラー（業種情報が存在しません）　";

const std::string& ProcessName() { return common::State().context.processName; }

std::string Count3(long value) { return platform::FormatNumber(static_cast<double>(value), "##0"); }

}  // namespace

ListCollectorRun::ListCollectorRun(const ListCollectorKind& kind, common::EnvRec& env, common::MSGRec& msg,
                                   common::TSDRec& task)
    : kind_(kind), env_(env), msg_(msg), task_(task) {}

bool ListCollectorRun::Run() {
    common::ProcedureIdGuard guard(kind_.id);
    common::State().functionId.clear();
    common::WriteProcLog(common::LogSwitch(1), kind_.id, common::log_tag::kStart, "00",
                         ProcessName() + " Start : " + kind_.id);
    BuildHtmlTagTable();
    common::State().CancelRequested = false;
    ShowPreparing();

    companyPath_ = common::BuildDataFilePath(kind_.companyFile, task_.ProcIdx, task_.TaskSequence, "", ".tmp", env_);
    finishedPath_ =
        common::BuildDataFilePath(kind_.industryFile, task_.ProcIdx, task_.TaskSequence, "", ".tmp", env_);
    pagedPath_ = common::BuildDataFilePath(kind_.industryFile, task_.ProcIdx, task_.TaskSequence, "", ".rcv", env_);
    ClearOutputOfFailedTask();

    if (LoadIndustries() && CollectIndustries()) {
        msg_.lngNumerator = 1;
        msg_.lngDenominator = 1;
        common::ShowProgress(msg_);
        DeletePagedIndustry();
        Report(kEndReport, "Z");
    }

    ClearWebWork();
    common::WriteProcLog(common::LogSwitch(1), kind_.id, common::log_tag::kEnd, "00",
                         ProcessName() + " End   : " + kind_.id);
    return result_;
}

void ListCollectorRun::ShowPreparing() {
    msg_.Caption = ProcessName() + " の収集準備中";
    msg_.LabelText1 = "\r\n\r\n" + std::string(kind_.preparingLabel);
    msg_.LabelText2.clear();
    msg_.LabelText3.clear();
    msg_.LabelText4.clear();
    msg_.lngNumerator = 1;
    msg_.lngDenominator = 1;
    msg_.DisplayOn = true;
    msg_.ButtonsOn = false;
    common::ShowProgress(msg_);
}

// A task that keeps its finished industries loses nothing when it is
// started again, whoever starts it: they are folded into its list first, and
// the companies already written stay for the merge by key, cut back to whole
// lines so that a line a killed child left half written does not swallow the
// next one. Without such a record a failed task starts from scratch.
void ListCollectorRun::ClearOutputOfFailedTask() {
    if (kind_.recordsFinished) {
        RecoverListTask(kind_.industryFile, task_.ProcIdx, task_.TaskSequence, env_, msg_);
    } else if (task_.TaskStatus == "E") {
        common::CFFIL70M(companyPath_);
    }
    common::CutToWholeLines(companyPath_);
}

bool ListCollectorRun::LoadIndustries() {
    marketdata::IndustryLoadReq request;
    request.FNameIdx = kind_.industryFile;
    request.ProcIdx = task_.ProcIdx;
    request.FNameSeq = task_.TaskSequence;
    request.Concati = kind_.industryNamePart;
    request.MarketFilter = kind_.market;
    request.CategoryFilter = kind_.category;
    request.FlagFilter = "1";
    common::SetKeyLayout3(request.SortKeys);
    if (marketdata::LoadIndustryList(request, env_, industries_)) return true;

    request.FlagFilter.clear();
    std::vector<marketdata::IndustryRec> all;
    if (marketdata::LoadIndustryList(request, env_, all)) {
        // Every industry was finished by an earlier start that ended before
        // its end report: the task is done, not one to start again.
        common::WriteRunLog(common::LogSwitch(1), kind_.id, common::log_tag::kInfo, "00",
                            "収集済みの業種のみです（全業種の収集が完了しています）　");
        Report(kRunReport, "B");
        DeletePagedIndustry();
        Report(kEndReport, "Z");
        return false;
    }
    common::WriteErrorLog(common::State().errorLogOn, kind_.id, common::log_tag::kErrApl, "01", kNoIndustry);
    common::ShowAppErrorMessage(kNoIndustry, 16);
    return false;
}

bool ListCollectorRun::CollectIndustries() {
    Report(kRunReport, "B");
    msg_.lngDenominator = kind_.denominator(industries_);
    const long n = static_cast<long>(industries_.size());
    for (position_ = 1; position_ <= n; ++position_) {
        marketdata::IndustryRec& industry = industries_[static_cast<std::size_t>(position_ - 1)];
        msg_.Caption = std::to_string(position_ * 100 / n) + "%　" + ProcessName() + " の収集中";
        switch (kind_.collectIndustry(*this, industry)) {
            case IndustryEnd::Finished:
                RecordFinished(industry);
                break;
            case IndustryEnd::Cancelled:
                Report(kEndReport, "S");
                DeletePagedIndustry();
                return false;
            case IndustryEnd::FetchFailed:
                result_ = false;
                Report(kEndReport, "E");
                return false;
            case IndustryEnd::NoTable:
                result_ = false;
                return false;
        }
    }
    return true;
}

void ListCollectorRun::RecordFinished(marketdata::IndustryRec& industry) {
    if (!kind_.recordsFinished) return;
    industry.Key.Flag1 = "0";
    std::string line;
    marketdata::IndustryRecToLine(industry, line);
    common::AppendLineToFile(finishedPath_, line);
}

void ListCollectorRun::Report(long fileNumber, const std::string& status) {
    common::SetTaskDetailStatus(fileNumber, "S", status, env_, task_);
}

void ListCollectorRun::DeletePagedIndustry() {
    if (kind_.recordsFinished) common::CFFIL70M(pagedPath_);
}

bool ListCollectorRun::StopRequested() {
    return common::TaskStopRequested(env_, task_);
}

void ListCollectorRun::ShowIndustryProgress(long numerator, const marketdata::IndustryRec& industry, long page) {
    msg_.lngNumerator = numerator;
    msg_.LabelText1 = "\r\n\r\n業種　：　" + industry.Text[17] + "\r\n業種数　" + Count3(position_) + " / " +
                      Count3(static_cast<long>(industries_.size())) +
                      (page > 0 ? "　　処理中ページ　" + Count3(page) : std::string()) + "\r\n\r\n";
    common::ShowProgress(msg_);
}

bool ListCollectorRun::Fetch(FetchRec& fetch, const std::string& url) {
    fetch.Url = url;
    return CWHTM12M("4", "CWUCP00M(1)：", fetch, PageText(), PageLink(), false) > 0;
}

IndustryEnd ListCollectorRun::FetchIndustryPage(const marketdata::IndustryRec& industry, FetchRec& fetch) {
    ShowIndustryProgress(position_, industry, 0);
    if (StopRequested()) return IndustryEnd::Cancelled;
    return Fetch(fetch, industry.Text[23]) ? IndustryEnd::Finished : IndustryEnd::FetchFailed;
}

IndustryEnd ListCollectorRun::FetchCompanyTable(const marketdata::IndustryRec& industry, TableStartFinder findStart,
                                                const std::string& label, const std::string& notFound,
                                                FetchRec& fetch, std::int32_t& row, std::int32_t& col) {
    if (const IndustryEnd fetched = FetchIndustryPage(industry, fetch); fetched != IndustryEnd::Finished) {
        return fetched;
    }
    if (findStart(label, row, col, fetch)) return IndustryEnd::Finished;
    common::WriteErrorLog(common::State().errorLogOn, kind_.id, common::log_tag::kErrApl, "00",
                          notFound + "    URL=" + fetch.Url);
    common::WriteInfoLog(common::LogSwitch(1), kind_.id, common::log_tag::kWarning, "00", notFound);
    return IndustryEnd::NoTable;
}

void ListCollectorRun::KeepPagedIndustry(marketdata::IndustryRec& industry) {
    std::string line;
    marketdata::IndustryRecToLine(industry, line);
    common::CFFIL31M(line, pagedPath_);
}

long IndustryCount(std::span<const marketdata::IndustryRec> industries) {
    return static_cast<long>(industries.size());
}

void StartCompanyRec(const marketdata::IndustryRec& industry, marketdata::ListRec& rec) {
    rec = marketdata::ListRec{};
    marketdata::CopyListRec(industry, rec);
    const platform::DateTime now = platform::Now();
    rec.Key.Category = "1000";
    rec.Key.Flag1 = " ";
    rec.Key.Flag2 = " ";
    rec.Key.UpdateDate = platform::DateText(now.date);
    rec.Key.UpdateTime = platform::TimeText(now.hour, now.minute, now.second);
}

std::string CellText(std::int32_t row, std::int32_t col) { return platform::TrimBlanks(PageText().At(row, col)); }
std::string CellLink(std::int32_t row, std::int32_t col) { return platform::TrimBlanks(PageLink().At(row, col)); }

bool FindLabelCell(const std::string& label, const FetchRec& fetch, std::int32_t& row, std::int32_t& col) {
    for (std::int32_t r = 1; r <= fetch.RowCount; ++r) {
        for (const PageCellTable::Cell& cell : PageText().CellsOf(r)) {
            if (cell.col > fetch.ColCount) break;
            if (platform::TrimBlanks(PageText().Text(cell)) == label) {
                row = r;
                col = cell.col;
                return true;
            }
        }
    }
    return false;
}

void AddCompanyLine(std::string& lines, const marketdata::ListRec& rec) {
    std::string line;
    marketdata::ListRecToLine(rec, line);
    lines += (lines.empty() ? "" : "\r\n") + line;
}

}  // namespace collect
