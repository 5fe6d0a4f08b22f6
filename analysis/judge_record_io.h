#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "analysis/kagi_judge_rec.h"
#include "platform/record_io.h"

namespace analysis {

// The stored part of a judgement record (kKagiJudgeRecSize bytes); the
// derived list part is neither written nor read.
void WriteJudgeRecord(platform::RecordWriter& out, const KagiJudgeRec& rec);
void ReadJudgeRecord(platform::RecordReader& in, KagiJudgeRec& rec);
// The same for what the list part is derived from: of the Key only the
// Market is read; its other fields stay as they were.
void ReadJudgeListFields(platform::RecordReader& in, KagiJudgeRec& rec);

// The judgement date of one stored record, read without the rest of it.
double StoredJudgeDate(std::string_view record);

// Sets the sequence and block numbers in one stored record's bytes, leaving
// every other byte as it stands.
void StoreSortPlace(char* record, std::int32_t sequence, std::int32_t block);

// Sets the sequence number in one stored record's bytes, leaving every other
// byte as it stands.
void StoreSequenceNumber(char* record, std::int32_t sequence);

// The stored parts of `recs`, back to back.
std::string JudgeRecordBytes(std::span<const KagiJudgeRec> recs);

}  // namespace analysis
