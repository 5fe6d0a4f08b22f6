#include "collect/prices/price_url.h"

#include <array>
#include <cctype>

#include "common/startup/process_context.h"
#include "common/text/web_text.h"
#include "platform/number_format.h"

namespace collect {

namespace {

struct TemplateRow {
    const char* country;
    const char* site;  // HpGet\Site<site> names the host
    const char* path;
    const char* linesPerPage;
};

// The Japanese page has a fixed size of 50 rows and takes no row count.
constexpr std::array<TemplateRow, 3> kTemplates{{
    {"JPN", "JpPrices",
     "/t?c=@FromYear@&a=@FromMonth@&b=@FromDay@&f=@ToYear@&d=@ToMonth@&e=@ToDay@&g=@Candle@&s=@Code@"
     "&y=@GetPosition@&z=@Code@",
     "50"},
    {"USA", "UsPortal",
     "/q/hp?s=@Code@&a=@FromMonth@&b=@FromDay@&c=@FromYear@&d=@ToMonth@&e=@ToDay@&f=@ToYear@&g=@Candle@"
     "&z=@GetLine@&y=@GetPosition@",
     "66"},
    {"CHN", "UsPortal",
     "/q/hp?s=@Code@@Market@&a=@FromMonth@&b=@FromDay@&c=@FromYear@&d=@ToMonth@&e=@ToDay@&f=@ToYear@"
     "&g=@Candle@&z=@GetLine@&y=@GetPosition@",
     "66"},
}};

std::string Digits(long value, const char* format) {
    return platform::FormatNumber(static_cast<double>(value), format);
}

// The Japanese page counts months from 1, the US portal from 0.
std::string MonthText(const std::string& country, int month) {
    return Digits(country == "JPN" ? month : month - 1, "00");
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

bool GetPriceUrlTemplate(const std::string& country, const std::string& dataKind, PriceUrlTemplate& tpl) {
    if (dataKind != "1000" && dataKind != "0010") return false;
    for (const TemplateRow& row : kTemplates) {
        if (country != row.country) continue;
        tpl.Country = row.country;
        tpl.DataKind = dataKind;
        tpl.UrlTemplate = common::SiteBase(row.site) + row.path;
        tpl.LinesPerPage = row.linesPerPage;
        return true;
    }
    return false;
}

std::string FillPriceUrl(const PriceUrlTemplate& tpl, const PriceRequest& request) {
    std::string url = tpl.UrlTemplate;
    common::ReplaceInPlace(url, "@Code@", request.Code);
    common::ReplaceInPlace(url, "@FromYear@", Digits(request.FromDate.year, "0000"));
    common::ReplaceInPlace(url, "@FromDay@", std::to_string(request.FromDate.day));
    common::ReplaceInPlace(url, "@ToYear@", Digits(request.ToDate.year, "0000"));
    common::ReplaceInPlace(url, "@ToDay@", std::to_string(request.ToDate.day));
    common::ReplaceInPlace(url, "@GetLine@", std::to_string(request.GetLine));
    common::ReplaceInPlace(url, "@GetPosition@", std::to_string(request.GetPosition));
    common::ReplaceInPlace(url, "@Candle@", Lower(request.Candle));
    common::ReplaceInPlace(url, "@FromMonth@", MonthText(tpl.Country, request.FromDate.month));
    common::ReplaceInPlace(url, "@ToMonth@", MonthText(tpl.Country, request.ToDate.month));
    return url;
}

}  // namespace collect
