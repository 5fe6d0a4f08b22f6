#include "collect/company_pages/research_report_page.h"

#include <array>
#include <vector>

#include "collect/company_pages/company_page_collector.h"
#include "collect/company_pages/research_report_dates.h"
#include "collect/web/label_lookup.h"
#include "collect/web/page_cell_scan.h"
#include "common/text/web_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kForeignSection = "外国部の銘柄についてはレポートはありません";
constexpr const char* kReportStart = "今週のリサーチ情報";
constexpr const char* kRatingLabel = "マルテックス・レーティング";
constexpr const char* kNoPeriod = "000000";
constexpr std::int32_t kEnoughLabels = 5;

// The labelled texts of the page before they are brought into shape.
struct LabelTexts {
    std::string related;
    std::string portfolioDate;
    std::string path;
    std::string industry;
    std::string technical;
    std::string analyst;
};

struct Lookup {
    const char* label;
    LabelDirection direction;
    std::string LabelTexts::*target;
};

// In the order they are tried on every cell; the two industry labels share
// their target, so the first found wins.
constexpr std::array<Lookup, 7> kLookups{{
    {"関連情報", kAbove, &LabelTexts::related},
    {"ポートフォリオに", kRight, &LabelTexts::portfolioDate},
    {"トップ > 株・投資 > アナリストレポート > 業種別・銘柄別レポート", kSameCell, &LabelTexts::path},
    {"ロイター業種「", kSameCell, &LabelTexts::industry},
    {"マルテックス業種「", kSameCell, &LabelTexts::industry},
    {"今週のテクニカル情報", kRight, &LabelTexts::technical},
    {"今週の証券アナリスト情報", kRight, &LabelTexts::analyst},
}};

LabelTexts ReadLabelTexts(const PageCellTable& pageText) {
    LabelTexts texts;
    std::int32_t hits = 0;
    ScanPageCells(pageText, 1, 1, [&](std::int32_t row, std::int32_t col, const std::string& text) {
        for (const Lookup& lookup : kLookups) {
            LookupLabelValueContains(text, lookup.direction, "", hits, lookup.label, texts.*lookup.target, pageText,
                                     row, col);
        }
        return hits <= kEnoughLabels;
    });
    return texts;
}

std::string Cell(const PageCellTable& pageText, std::int32_t row, std::int32_t col) {
    return platform::TrimBlanks(pageText.At(row, col));
}

// The searches for the tables, each from the row of the label found last.
class TableFinder {
public:
    explicit TableFinder(const PageCellTable& pageText) : pageText_(pageText) {}

    // The row of `header` found after `title`; 0 when either is missing.
    std::int32_t HeaderRow(std::string_view title, std::string_view header) {
        return Find(title) > 0 ? Find(header) : 0;
    }

private:
    std::int32_t Find(std::string_view text) {
        std::int32_t row = 0;
        std::int32_t col = 0;
        if (FindCellContainingFrom(pageText_, from_, text, row, col) > 0) from_ = row;
        return row;
    }

    const PageCellTable& pageText_;
    std::int32_t from_ = 1;
};

// A value cell of the valuation and performance tables: "-" is 0.
std::string TableValue(const std::string& cell) { return common::CleanField(true, cell, "-", "0", ""); }

void ReadHistory(const PageCellTable& pageText, std::int32_t headerRow, marketdata::MultexRec& rec) {
    for (std::int32_t k = 1; k <= 5; ++k) {
        rec.A1[k] = NormaliseReportDate(Cell(pageText, headerRow + k, 1));
        rec.A2[k] = Cell(pageText, headerRow + k, 2);
    }
}

void ReadValuation(const PageCellTable& pageText, std::int32_t headerRow, marketdata::MultexRec& rec) {
    for (std::int32_t k = 1; k <= 3; ++k) {
        rec.B1[k] = NormaliseYearMonth(Cell(pageText, headerRow + k, 1), "-", kNoPeriod);
        rec.B2[k] = TableValue(Cell(pageText, headerRow + k, 2));
        rec.B3[k] = TableValue(Cell(pageText, headerRow + k, 3));
    }
}

void ReadPerformance(const PageCellTable& pageText, std::int32_t headerRow, marketdata::MultexRec& rec) {
    for (std::int32_t k = 1; k <= 7; ++k) {
        const std::int32_t row = headerRow + k;
        rec.C1[k] = NormaliseYearMonth(Cell(pageText, row, 1), "-", kNoPeriod);
        rec.C2[k] = TableValue(Cell(pageText, row, 2));
        rec.C3[k] = TableValue(Cell(pageText, row, 3));
        rec.C4[k] = TableValue(Cell(pageText, row, 4));
        rec.C5[k] = TableValue(Cell(pageText, row, 5));
    }
}

// The first item of the related text split on "【"; "" for a page without
// one.
std::string RelatedName(const std::string& related) {
    long count = 0;
    std::vector<std::string> items;
    common::SplitNonEmpty(related, "【", count, items);
    return items.empty() ? "" : platform::TrimBlanks(items.front());
}

}  // namespace

std::string FillReportUrl(const std::string& urlTemplate, const marketdata::CdmRec& stock) {
    return CompanyUrl(urlTemplate, platform::TrimBlanks(stock.Key.CorpCode));
}

std::int32_t FindCellContainingFrom(const PageCellTable& pageText, std::int32_t firstRow,
                                    std::string_view text, std::int32_t& row, std::int32_t& col) {
    row = 0;
    col = 0;
    ScanPageCells(pageText, firstRow, 1, [&](std::int32_t r, std::int32_t c, const std::string& cell) {
        if (cell.find(text) == std::string::npos) return true;
        row = r;
        col = c;
        return false;
    });
    return row;
}

std::int32_t FindCellContaining(const PageCellTable& pageText, std::string_view text,
                                std::int32_t& row, std::int32_t& col) {
    return FindCellContainingFrom(pageText, 1, text, row, col);
}

std::int32_t CheckReportPage(const PageCellTable& pageText, std::int32_t& row,
                             std::int32_t& col) {
    if (FindCellContaining(pageText, kForeignSection, row, col) > 0) {
        row = 0;
        col = 0;
        return 0;
    }
    return FindCellContaining(pageText, kReportStart, row, col);
}

void ParseResearchReportPage(const marketdata::CdmRec& stock, const PageCellTable& pageText,
                             marketdata::MultexRec& rec) {
    rec = marketdata::MultexRec{};
    rec.Key = stock.Key;
    const LabelTexts texts = ReadLabelTexts(pageText);
    TableFinder tables(pageText);
    if (const std::int32_t row = tables.HeaderRow("銘柄レポート更新履歴", "年月日"); row > 0) {
        ReadHistory(pageText, row, rec);
    }
    if (const std::int32_t row = tables.HeaderRow("PER割安度", "年月"); row > 0) ReadValuation(pageText, row, rec);
    if (const std::int32_t row = tables.HeaderRow("業績推移", "項目決算期"); row > 0) {
        ReadPerformance(pageText, row, rec);
    }

    rec.Text[1] = RelatedName(texts.related);
    rec.Text[2] = common::TextBetween(texts.path, "-", ">");
    rec.Text[3] = common::TextBetween(texts.industry, "「", "」");
    rec.Text[4] = NormaliseReportDate(texts.portfolioDate);
    rec.Text[5] = common::CleanField(true, texts.technical, "", "", "（ ）");
    rec.Text[6] = common::CleanField(true, texts.analyst, "（-）", "-", "（-）");
    ParseRatingChange(rec);
}

void ParseRatingChange(marketdata::MultexRec& rec) {
    for (std::size_t k = 1; k <= 5; ++k) {
        const std::string& history = rec.A2[k];
        if (!common::ContainsText(history, kRatingLabel)) continue;
        const char* direction = history.find("↑") != std::string::npos   ? "↑"
                                : history.find("↓") != std::string::npos ? "↓"
                                                                         : "？";
        std::string inner = common::TextBetween(history, "（", "）");
        for (const char* removed : {"旧=", "新=", " ", "　"}) common::ReplaceInPlace(inner, removed, "");
        rec.Text[11] = rec.A1[k];
        rec.Text[12] = direction;
        if (std::string_view(direction) == "？") {
            rec.Text[13] = inner;
            rec.Text[14].clear();
            return;
        }
        long count = 0;
        std::vector<std::string> items;
        common::SplitNonEmpty(inner, direction, count, items);
        rec.Text[13] = items.size() >= 2 ? items[1] : "";
        rec.Text[14] = items.empty() ? "" : items[0];
        return;
    }
}

}  // namespace collect
