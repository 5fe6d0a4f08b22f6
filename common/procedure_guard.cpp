#include "common/procedure_guard.h"

#include <utility>

#include "common/run_state.h"

namespace common {

ProcedureIdGuard::ProcedureIdGuard(std::string id) : saved_(std::exchange(State().procedureId, std::move(id))) {}
ProcedureIdGuard::~ProcedureIdGuard() { State().procedureId = std::move(saved_); }

FunctionIdGuard::FunctionIdGuard(std::string id) : saved_(std::exchange(State().functionId, std::move(id))) {}
FunctionIdGuard::~FunctionIdGuard() { State().functionId = std::move(saved_); }

}  // namespace common
