#include "collect/child/collection_steps.h"

#include "common/run_state.h"

namespace collect {

std::vector<std::string> CollectionStepLines() {
    const std::string& name = common::State().context.processName;
    return {name + " の収集準備", name + " の収集", name + " の収集後処理", std::string("コードマスター") + " の更新"};
}

}  // namespace collect
