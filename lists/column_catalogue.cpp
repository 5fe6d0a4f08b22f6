#include "lists/column_catalogue.h"

#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "common/files/data_file.h"
#include "common/files/text_file_io.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/text/text_compare.h"
#include "platform/file_system.h"
#include "platform/record_io.h"
#include "platform/trapped_error.h"

namespace lists {

namespace {

// Every field in stored order, for the writer and the reader alike.
template <class Rec, class Io>
void EachField(Rec& rec, Io&& io) {
    io(rec.ColNo);
    io(rec.SeqNo);
    io(rec.Reserved);
    io(rec.Hidden);
    io(rec.Spare);
    io(rec.CellType);
    io(rec.CondItem);
    io(rec.CondList);
    io(rec.CondRange);
    io(rec.CondDate);
    io(rec.FreeText);
    io(rec.CompanionCol);
    io(rec.Caption);
}

struct FieldWriter {
    platform::RecordWriter& out;
    void operator()(std::int32_t value) const { out.Int32(value); }
    void operator()(const std::string& text) const { out.VarText(text); }
};

struct FieldReader {
    platform::RecordReader& in;
    void operator()(std::int32_t& value) const { value = in.Int32(); }
    void operator()(std::string& text) const { text = in.VarText(); }
};

std::string CataloguePath(common::EnvRec& env, const std::string& namePart) {
    return common::BuildDataFilePath(kCatalogueFileNumber, 0, 0, namePart, "", env);
}

void LogCatalogueWarning(const std::string& text) {
    const common::RunState& state = common::State();
    common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00", text);
}

// The whole records of the file, at most kCatalogueMaxRecords.
std::vector<ListColumnRec> ReadRecords(const std::string& path) {
    const std::string bytes = common::ReadFileBytes(path);
    platform::RecordReader in(bytes);
    std::vector<ListColumnRec> columns;
    while (in.remaining() > 0) {
        if (columns.size() == kCatalogueMaxRecords) {
            LogCatalogueWarning("表示項目の定義が上限の" + std::to_string(kCatalogueMaxRecords) +
                                "件を超えています。以降を読み飛ばしました。　" + path);
            break;
        }
        const std::size_t start = in.position();
        ListColumnRec rec;
        try {
            EachField(rec, FieldReader{in});
        } catch (const std::out_of_range&) {
            LogCatalogueWarning("表示項目の定義の末尾の不完全なレコードを読み飛ばしました。　" + path + "　" +
                                std::to_string(columns.size() + 1) + "件目　" + std::to_string(bytes.size() - start) +
                                "バイト");
            break;
        }
        columns.push_back(std::move(rec));
    }
    return columns;
}

void PublishCompanyCodeColumn(ColumnCatalogue& catalogue) {
    for (std::size_t row = 1; row <= catalogue.columns.size(); ++row) {
        const ListColumnRec& rec = catalogue.columns[row - 1];
        if (common::TextEquals(rec.Caption, kCompanyCodeCaption)) {
            catalogue.companyCodeRow = row;
            catalogue.companyCodeCompanion = rec.CompanionCol;
            return;
        }
    }
}

}  // namespace

bool CFMCT10M(common::EnvRec& env, const std::string& namePart, ColumnCatalogue& catalogue) {
    common::FunctionIdGuard guard("CFMCT10M");
    const std::string path = CataloguePath(env, namePart);
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        WriteDefaultColumns(env, namePart, catalogue.columns);
    } else {
        try {
            catalogue.columns = ReadRecords(path);
            if (catalogue.columns.empty()) WriteDefaultColumns(env, namePart, catalogue.columns);
        } catch (const platform::TrappedError& error) {
            // The user's file may only be unreadable for now: keep it for a
            // later start and show the defaults meanwhile.
            LogCatalogueWarning("表示項目の定義を読めないため、初期値で表示します。　" + path + "　" +
                                error.description());
            catalogue.columns = BuildDefaultColumns();
        }
    }
    PublishCompanyCodeColumn(catalogue);
    return true;
}

void CFMCT50M(common::EnvRec& env, const std::string& namePart, std::span<const ListColumnRec> columns) {
    if (columns.empty()) return;
    common::FunctionIdGuard guard("CFMCT50M");
    platform::RecordWriter out;
    for (const ListColumnRec& rec : columns) EachField(rec, FieldWriter{out});
    platform::AtomicReplace(CataloguePath(env, namePart), out.data());
}

void WriteDefaultColumns(common::EnvRec& env, const std::string& namePart, std::vector<ListColumnRec>& columns) {
    columns = BuildDefaultColumns();
    CFMCT50M(env, namePart, columns);
}

ColumnLists DeriveColumnLists(std::span<const ListColumnRec> columns) {
    ColumnLists lists;
    for (std::size_t row = 1; row <= columns.size(); ++row) {
        const ListColumnRec& rec = columns[row - 1];
        if (rec.Reserved != 0) continue;
        lists.selectable.push_back(row);
        if (rec.CondItem == 1) lists.condItems.push_back(row);
        if (rec.CondList == 1) lists.condList.push_back(row);
        if (rec.CondRange == 1 || rec.CondDate == 1) lists.condRange.push_back(row);
    }
    return lists;
}

}  // namespace lists
