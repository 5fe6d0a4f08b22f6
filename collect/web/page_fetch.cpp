#include "collect/web/page_fetch.h"

#include <utility>

#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_layout.h"
#include "common/files/file_ops.h"
#include "common/files/text_file_io.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/tasks/waits.h"
#include "platform/number_format.h"
#include "platform/w3getv.h"

namespace collect {
namespace {

constexpr int kAttempts = 10;
constexpr long kPageFile = 10005;
constexpr long kFetchLogFile = 10006;

// The result of a fetched page too large to parse: the library's result for
// a page it could not store.
constexpr std::int32_t kRefusedPage = 0;

std::string& LastCommandLine() {
    static std::string line;
    return line;
}

const std::string& WorkPath(long fileNumber) {
    return common::State().fetchWorkPaths[static_cast<std::size_t>(fileNumber - 10000)];
}

bool IsResearchCaller(const std::string& callerText) {
    if (callerText.size() != 8) return false;
    std::string upper = callerText;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper == "AMLTX30M";
}

void LogRetrySuccess(const char* procedureId, const std::string& callerName, int attempt, std::int32_t result,
                     const std::string& url) {
    common::WriteInfoLog(common::LogSwitch(1), procedureId, common::log_tag::kInfo, "00",
                         callerName + "の取得でリトライ成功　" + std::to_string(attempt) + "回目" + "　　" +
                             platform::FormatNumber(static_cast<double>(result), "000") + "    " + url);
}

// The page's items laid out into the tables.
void LayOut(HtmlItems items, FetchRec& fetch, PageCellTable& pageText, PageCellTable& pageLink) {
    ResolveTagAttributes(items);
    LayoutHtmlItems(items, fetch.ColCount, fetch.RowCount);
    FillPageCellTables(items, fetch.ColCount, fetch.RowCount, pageText, pageLink);
}

}  // namespace

std::int32_t CWHTM12M(const std::string& callerName, const std::string& callerText, FetchRec& fetch,
                      PageCellTable& pageText, PageCellTable& pageLink, bool failureBox) {
    common::FunctionIdGuard guard("CWHTM12M");
    fetch.ColCount = 0;
    fetch.RowCount = 0;
    common::State().lastFetchUrl = fetch.Url;
    std::int32_t result = 0;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        result = FetchPageOnce(fetch, pageText, pageLink);
        if (result == -302 && IsResearchCaller(callerText)) return result;
        if (result > 0) {
            if (attempt >= 2) LogRetrySuccess("CWHTM12M", callerName, attempt, result, fetch.Url);
            return result;
        }
        common::WaitSeconds(static_cast<float>(attempt) / 5.0f);
    }
    const common::RunState& state = common::State();
    const std::string failure = state.context.processName + "の収集に失敗しました。　" + "  " + std::to_string(result);
    common::WriteErrorLog(state.errorLogOn, "CWHTM12M", common::log_tag::kErrApl, "01", failure);
    common::WriteErrorLog(state.errorLogOn, "CWHTM12M", common::log_tag::kErrApl, "01", "URL:" + fetch.Url);
    common::WriteErrorLog(state.errorLogOn, "CWHTM12M", common::log_tag::kErrApl, "01", "Prm:" + LastCommandLine());
    if (failureBox) common::ShowUrlErrorMessage(failure, common::msg_style::kCritical);
    return result;
}

std::int32_t CWHTM14M(const std::string& callerName, const std::string& /*callerText*/, FetchRec& fetch,
                      PageCellTable& pageText, PageCellTable& pageLink) {
    common::FunctionIdGuard guard("CWHTM14M");
    fetch.ColCount = 0;
    fetch.RowCount = 0;
    std::int32_t result = 0;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        result = FetchPageOnce(fetch, pageText, pageLink);
        if (result > 0) {
            if (attempt >= 2) LogRetrySuccess("CWHTM14M", callerName, attempt, result, fetch.Url);
            return result;
        }
        common::WaitSeconds(0.1f);
    }
    return result;
}

std::int32_t FetchPageOnce(FetchRec& fetch, PageCellTable& pageText, PageCellTable& pageLink) {
    pageText.Clear();
    pageLink.Clear();
    return FetchAndParsePage(fetch, pageText, pageLink);
}

std::int32_t FetchAndParsePage(FetchRec& fetch, PageCellTable& pageText, PageCellTable& pageLink) {
    platform::StoredPage stored;
    const std::int32_t result = RunW3getv(fetch.Url, &stored);
    if (result > 0) {
        // The page just stored, read as the page file would be.
        common::ReportUnreadableBytes(stored.unreadable, WorkPath(kPageFile));
        const std::size_t count = CountHtmlItems(stored.text);
        if (count > kMaxHtmlItems) {
            const common::RunState& state = common::State();
            common::WriteErrorLog(state.errorLogOn, state.functionId, common::log_tag::kErrApl, "02",
                                  "ページの要素数が上限を超えています。　" + std::to_string(count) + "  URL:" + fetch.Url);
            return kRefusedPage;
        }
        LayOut(SplitHtmlItems(std::move(stored.text), count), fetch, pageText, pageLink);
    }
    return result;
}

void ParsePage(std::string page, FetchRec& fetch, PageCellTable& pageText, PageCellTable& pageLink) {
    LayOut(SplitHtmlItems(std::move(page)), fetch, pageText, pageLink);
}

std::int32_t RunW3getv(const std::string& url, platform::StoredPage* page) {
    const common::RunState& state = common::State();
    std::string& line = LastCommandLine();
    line = " -l " + WorkPath(kFetchLogFile) + " -d " + state.fetchedPageFolder + " -o " + state.fetchedPageFileName +
           " -j sjis " + url;
    std::int32_t option = 0;
    return platform::W3getv(line, option, page);
}

const std::string& LastW3getvCommandLine() { return LastCommandLine(); }

void ClearWebWork() {
    for (long number = 10001; number <= 10006; ++number) {
        if (!WorkPath(number).empty()) common::CFFIL70M(WorkPath(number));
    }
    TagTable() = HtmlTagTable{};
    PageText().Clear();
    PageLink().Clear();
}

}  // namespace collect
