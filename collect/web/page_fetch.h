#pragma once
#include <cstdint>
#include <string>

#include "collect/web/page_cell_table.h"
#include "platform/w3getv.h"

namespace collect {

// The fetch record of one collector: the address in, the shape of the page
// cell tables out (both 0 after a failed fetch, at least 1 after a parse).
struct FetchRec {
    std::string Url;
    std::int32_t ColCount = 0;
    std::int32_t RowCount = 0;
};

// Fetches the record's Url with up to 10 attempts, waiting n/5 s after the
// n-th failure, and fills the tables. Logs a retry that succeeded and, after
// ten failures, the failure with the address and the command line (three
// error-log lines). The caller text "AMLTX30M" (any letter case) returns a
// redirect answer (-302) at once. `failureBox` adds a critical box after a
// failed fetch. Returns the result of the last attempt: above 0 is success.
std::int32_t CWHTM12M(const std::string& callerName, const std::string& callerText, FetchRec& fetch,
                      PageCellTable& pageText, PageCellTable& pageLink, bool failureBox);

// The quick variant for fetches whose failure is an expected answer: up to 10
// attempts 0.1 s apart and no failure log.
std::int32_t CWHTM14M(const std::string& callerName, const std::string& callerText, FetchRec& fetch,
                      PageCellTable& pageText, PageCellTable& pageLink);

// One attempt: empties both tables, then FetchAndParsePage.
std::int32_t FetchPageOnce(FetchRec& fetch, PageCellTable& pageText, PageCellTable& pageLink);

// Fetches the page into the task's page file; when the fetch succeeded,
// tokenizes the page as stored and lays it out into the tables. Returns the
// fetch result, or 0, logged, for a page of more items than the parse takes
// (kMaxHtmlItems); a page that cannot be stored throws TrappedError.
std::int32_t FetchAndParsePage(FetchRec& fetch, PageCellTable& pageText, PageCellTable& pageLink);

// Tokenizes the page's text and lays it out into the tables, setting the
// record's column and row counts: the parse of a fetched page.
void ParsePage(std::string page, FetchRec& fetch, PageCellTable& pageText, PageCellTable& pageLink);

// One call of the page fetch for `url` with the task's work files; keeps the
// command line as the last command line. `page`, when given, receives the
// page file as read back.
std::int32_t RunW3getv(const std::string& url, platform::StoredPage* page = nullptr);

// The command line of the latest page fetch.
const std::string& LastW3getvCommandLine();

// Deletes the task's six fetch work files and empties the tag table and the
// page cell tables.
void ClearWebWork();

}  // namespace collect
