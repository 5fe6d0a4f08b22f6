#pragma once
#include <cstdint>
#include <string>

#include "common/files/env_rec.h"

namespace common {

// Processing-control record of one process number: 54 bytes at offset
// (process number - 1) x 54 of the processing-control file.
struct CtrRec {
    std::int32_t WriteDate = 0;  // yyyymmdd
    std::int32_t WriteTime = 0;  // hhmmss
    std::int32_t Reserved1 = 0;
    std::int32_t Reserved2 = 0;
    std::int32_t StartDate = 0;
    std::int32_t StartTime = 0;
    std::int32_t EndDate = 0;
    std::int32_t EndTime = 0;
    std::string ReservedText1;  // 8
    std::string ReservedText2;  // 4
    std::string Status;         // 1
    std::string Step;           // 2: "00".."07"
    std::string ReservedText3;  // 7
};

inline constexpr std::size_t kCtrRecSize = 54;

void ReadCtrRec(long processNumber, EnvRec& env, CtrRec& rec);
void WriteCtrRec(long processNumber, EnvRec& env, CtrRec& rec);
void ClearCtrRec(CtrRec& rec);
void MarkCtrRecStart(long processNumber, EnvRec& env, CtrRec& rec, const std::string& status);
void SetCtrRecStep(long processNumber, EnvRec& env, CtrRec& rec, const std::string& step);
void MarkCtrRecEnd(long processNumber, EnvRec& env, CtrRec& rec, const std::string& status);

}  // namespace common
