#pragma once
#include <string>

namespace common {

// Drivers name themselves in the procedure ID, library routines in the
// function ID, for as long as they run; the caller's value comes back on every
// way out, exceptions included, so log lines always name the right writer.
class ProcedureIdGuard {
public:
    explicit ProcedureIdGuard(std::string id);
    ~ProcedureIdGuard();
    ProcedureIdGuard(const ProcedureIdGuard&) = delete;
    ProcedureIdGuard& operator=(const ProcedureIdGuard&) = delete;

private:
    std::string saved_;
};

class FunctionIdGuard {
public:
    explicit FunctionIdGuard(std::string id);
    ~FunctionIdGuard();
    FunctionIdGuard(const FunctionIdGuard&) = delete;
    FunctionIdGuard& operator=(const FunctionIdGuard&) = delete;

private:
    std::string saved_;
};

}  // namespace common
