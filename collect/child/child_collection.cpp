#include "collect/child/child_collection.h"

#include "collect/web/html_tag_table.h"
#include "collect/web/page_fetch.h"
#include "common/logs/logs.h"
#include "common/run_state.h"

namespace collect {

void OpenChildCollection(const char* id, common::MSGRec& msg, const std::string& preparingText) {
    const std::string& processName = common::State().context.processName;
    common::WriteRunLog(common::LogSwitch(1), id, common::log_tag::kStart, "00",
                        std::string(id) + " Start : " + processName);
    BuildHtmlTagTable();
    common::State().CancelRequested = false;
    msg.Caption = processName + " の収集準備中";
    msg.LabelText2 = "\r\n\r\n" + preparingText;
    msg.lngDenominator = 1;
    msg.lngNumerator = 1;
    msg.DisplayOn = true;
    common::ShowProgress(msg);
}

void CloseChildCollection(const char* id) {
    ClearWebWork();
    common::WriteRunLog(common::LogSwitch(1), id, common::log_tag::kEnd, "00",
                        std::string(id) + " End   : " + common::State().context.processName);
}

}  // namespace collect
