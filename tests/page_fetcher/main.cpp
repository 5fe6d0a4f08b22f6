// A test-only program that fetches one page the way a collector does, from
// its own program folder: page_fetcher <site> <path> <cells file>.
// It writes the page cell tables as "row,col=text|link" lines and returns 0
// when the page was fetched.
#include <fstream>
#include <string>

#include "collect/web/html_tag_table.h"
#include "collect/web/page_cell_table.h"
#include "collect/web/page_fetch.h"
#include "common/run_state.h"
#include "common/startup/process_context.h"
#include "common/startup/run_env.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    common::State().programTitle = "Mirelda";
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(41, 1, env);
    common::SetProcessContext(4, 1);
    collect::BuildHtmlTagTable();
    collect::FetchRec fetch;
    fetch.Url = common::SiteBase(argv[1]) + argv[2];
    const std::int32_t result = collect::FetchAndParsePage(fetch, collect::PageText(), collect::PageLink());
    std::ofstream cells(argv[3], std::ios::binary);
    cells << fetch.RowCount << "x" << fetch.ColCount << "\n";
    for (std::int32_t row = 1; row <= fetch.RowCount; ++row) {
        for (std::int32_t col = 1; col <= fetch.ColCount; ++col) {
            const std::string_view text = collect::PageText().At(row, col);
            const std::string_view link = collect::PageLink().At(row, col);
            if (!text.empty() || !link.empty()) cells << row << "," << col << "=" << text << "|" << link << "\n";
        }
    }
    return result > 0 ? 0 : 1;
}
