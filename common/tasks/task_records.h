#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace common {

// Task-control record of a split run: 92 bytes on disk.
struct TSCRec {
    std::string TaskDate;    // 8: "yyyymmdd"
    std::string TaskTime;    // 6: "hhmmss"
    std::string TaskNo;      // 20: "TSC" + process "000" + date + time
    std::string TaskStatus;  // 1
    std::string Filler1;     // 5
    std::int32_t ProcIdx = 0;
    std::int32_t SlotCount = 0;
    std::int32_t TaskSequence = 0;
    std::int32_t TaskMax = 0;
    std::int32_t TaskCount = 0;
    std::int32_t VbErrorCode = 0;
    std::int32_t WaitingCount = 0;    // 待ちタスク数
    std::int32_t StartingCount = 0;   // 途中タスク数
    std::int32_t RunningCount = 0;    // 起動タスク数
    std::int32_t DoneCount = 0;       // 完了タスク数
    std::int32_t SuspendedCount = 0;  // 中断タスク数
    std::int32_t FailedCount = 0;     // 異常タスク数
    std::int32_t Reserved = 0;
};

// Task-detail record of one task: a 65-byte head and three length-prefixed paths.
struct TSDRec {
    std::string TaskDate;    // 8
    std::string TaskTime;    // 6
    std::string TaskNo;      // 20: "TSD" + process "000" + date + time
    std::string TaskStatus;  // 1: "0" waiting, "B" running, "Z" done, "S" suspended, "E" failed
    std::string Filler1;     // 5
    std::int32_t ProcIdx = 0;
    std::int32_t TaskSlot = 0;
    std::int32_t TaskSequence = 0;
    std::string TaskRequest;  // 1
    std::int32_t TargetCount = 0;
    std::int32_t CompleteCount = 0;
    std::int32_t VbErrorCode = 0;
    std::string Path;
    std::string MainPath;
    std::string TaskPath;
};

inline constexpr std::size_t kTSCRecSize = 92;
inline constexpr std::size_t kTSDRecHeadSize = 65;

// Field by field, little-endian, texts in code page 932 blank-padded.
std::string SerializeTSCRec(const TSCRec& rec);
std::string SerializeTSDRec(const TSDRec& rec);

// The record, or nullopt when the bytes are too short to hold one.
std::optional<TSCRec> ParseTSCRec(std::string_view bytes);
std::optional<TSDRec> ParseTSDRec(std::string_view bytes);

}  // namespace common
