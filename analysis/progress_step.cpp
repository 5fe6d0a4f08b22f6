#include "analysis/progress_step.h"

#include "common/files/text_file_io.h"

namespace analysis {

void SetProgressStep(const std::string& label, long stagesDone, long maximum, long& stride, common::MSGRec& msg) {
    msg.LabelText2 = "\r\n\r\n" + label;
    msg.StagesDone += stagesDone;
    msg.lngDenominator = maximum;
    msg.lngNumerator = 0;
    if (maximum > 0) stride = common::LineProgressStep(maximum);
    common::ShowStagedProgress(msg);
}

}  // namespace analysis
