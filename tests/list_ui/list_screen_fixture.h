#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QHeaderView>
#include <QMouseEvent>
#include <filesystem>
#include <string>
#include <vector>

#include "chart_ui/chart_window.h"
#include "common/logs/logs.h"
#include "common/startup/run_env.h"
#include "list_ui/judgement_result_screen.h"
#include "list_ui/list_view.h"
#include "ui/ui_script.h"
#include "marketdata/code_master.h"
#include "marketdata/name_index.h"
#include "tests/support/fake_ui.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"

namespace list_ui_test {

// The texts of column `column` of the list, top to bottom.
inline std::vector<std::string> Column(const list_ui::ListView& view, std::size_t column) {
    std::vector<std::string> texts;
    for (const lists::ListRow& row : view.list().rows) texts.push_back(row.cells[column].text);
    return texts;
}

inline int HeaderOf(const list_ui::ListView& view, const std::string& caption) {
    const std::vector<lists::ListColumn>& columns = view.list().columns;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].caption == caption) return static_cast<int>(c);
    }
    ADD_FAILURE() << "no column " << caption;
    return -1;
}


// The level-4 summary of `country` listed on the result screen and the
// details of its first row, as a user chooses them.
inline void ListFirstDetails(list_ui::JudgementResultScreen& results, const char* country) {
    results.ComboCountry->setCurrentIndex(results.ComboCountry->findText(QString::fromUtf8(country)));
    results.ComboSummary->setCurrentIndex(3);
    results.Command3->click();
    if (!results.ListView1->list().rows.empty()) ui::DoubleClickRow(*results.ListView1, 0);
}

// A user's click on the header of column `section`.
inline void ClickHeader(list_ui::ListView& view, int section) {
    view.window()->show();
    QApplication::processEvents();
    if (view.model()->rowCount() > 0) view.scrollTo(view.model()->index(0, section));
    QHeaderView* header = view.header();
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const bool down = type == QEvent::MouseButtonPress;
        QMouseEvent event(type, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                          down ? Qt::MouseButtons(Qt::LeftButton) : Qt::MouseButtons(Qt::NoButton), Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &event);
    }
}

// Screenshots for a person to look at, in the build tree.
inline void SaveScreenshot(QWidget& widget, const std::string& name) {
    const std::filesystem::path folder = LIST_SCREENS_DIR;
    std::filesystem::create_directories(folder);
    widget.show();
    QApplication::processEvents();
    EXPECT_TRUE(widget.grab().save(QString::fromStdString((folder / name).string())));
}

// A Korvane program folder with a market of `kCompanies` Japanese stocks
// (series, code master and name index), the chart window, and a recording
// user interface.
class ListScreenTest : public ::testing::Test {
protected:
    static constexpr long kCompanies = 3;

    ListScreenTest() {
        common::CCENV00M(env);
        common::SetTaskWorkPaths(0, 0, env);
        common::LoadLogSwitches(env);
        testsupport::WriteJudgementMarket(env, kCompanies, 300);
        common::MSGRec msg;
        marketdata::BuildNameIndex(marketdata::kCodeMasterFileNumber, 0, 0, "JPN", "", "", "", env, msg);
        chart.resize(1000, 640);
    }

    const std::vector<testsupport::ShownBox>& Boxes() const { return ui.presenter->boxes; }

    testsupport::ProgramFolder folder{true};
    testsupport::FakeUi ui;
    common::EnvRec env;
    chart_ui::ChartWindow chart;
};

}  // namespace list_ui_test
