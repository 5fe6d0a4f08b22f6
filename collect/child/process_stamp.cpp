#include "collect/child/process_stamp.h"

namespace collect {

void ClearProcessStamp(long processKind, marketdata::CdmRec& rec) {
    if (processKind < 1 || processKind >= static_cast<long>(rec.ProcMark.size())) return;
    const auto k = static_cast<std::size_t>(processKind);
    rec.ProcMark[k] = marketdata::ProcMarkRec{};
    if (k < rec.Term.size()) rec.Term[k] = marketdata::TermRec{};
}

}  // namespace collect
