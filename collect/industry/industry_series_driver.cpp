#include <string>
#include <utility>

#include "collect/industry/industry_series.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/startup/run_env.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "AHPID00M";
constexpr const char* kForm = "FormProgress1";

// The progress form's unload and the end line, on every way out of the run.
class DriverEnd {
public:
    explicit DriverEnd(std::string processName) : processName_(std::move(processName)) {}
    ~DriverEnd() {
        common::Ui().progress->Unload(kForm);
        common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kEnd, "00",
                            std::string(kOwnId) + " End   : " + processName_);
    }
    DriverEnd(const DriverEnd&) = delete;
    DriverEnd& operator=(const DriverEnd&) = delete;

private:
    std::string processName_;
};

}  // namespace

long AHPID00M() {
    common::ProcedureIdGuard guard(kOwnId);
    common::State().CancelRequested = false;
    const std::string processName = common::State().context.processName;
    common::MSGRec msg;
    msg.ProgressForm = &common::Ui().progress->Show(kForm);
    msg.DisplayOn = true;
    msg.Caption = "業種別株価時系列データ（国内）の作成";
    common::ShowProgress(msg);
    const DriverEnd end(processName);

    common::EnvRec env;
    common::CCENV00M(env);
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kStart, "00",
                        std::string(kOwnId) + " Start : " + processName);
    return AHPID30M(env, msg);
}

}  // namespace collect
