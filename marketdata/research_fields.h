#pragma once
#include <cstddef>
#include <string>

#include "marketdata/code_master.h"

namespace marketdata {

// The research provider's group of a stock's code-master record. Its
// industry is the stock's level-"0060" industry (position 184), whose code,
// the seventh of the Key (IndCode0060), the industry extraction assigns; the
// names of levels "0040" and "0050" stand before it.

inline constexpr std::size_t kResearchMark = 7;  // the collection stamp of process kind 7

// Presence flag ("1" when a report was read), update date and time.
inline ProcMarkRec& ResearchMark(CdmRec& rec) { return rec.ProcMark[kResearchMark]; }

inline std::string& ResearchIndustryName(CdmRec& rec) { return rec.InfoText[184 - 133]; }
inline const std::string& ResearchIndustryName(const CdmRec& rec) { return rec.InfoText[184 - 133]; }

// The two industry names that precede it (levels "0040" and "0050").
inline const std::string& Level0040Name(const CdmRec& rec) { return rec.InfoText[182 - 133]; }
inline const std::string& Level0050Name(const CdmRec& rec) { return rec.InfoText[183 - 133]; }

}  // namespace marketdata
