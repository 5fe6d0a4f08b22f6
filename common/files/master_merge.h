#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/files/env_rec.h"
#include "common/files/tab_line_sort.h"
#include "common/logs/progress.h"

namespace common {

// How transaction lines are folded into a master. The key part (KeyCount,
// KeyStart, KeyLength) is the SortKeyRec that also sorts the transactions.
struct MergeKeyRec : SortKeyRec {
    std::string MatchMode;    // "1": on equal keys a master line whose 78th character is "1" stays
    std::string KeepMaster;   // "1": on equal keys the master line stays (MatchMode other than "1")
    std::string ReplaceMode;  // "9": the recovery leaves the master as it is and its result in base + ".tmp"
};

// What a recovery leaves for its caller to count.
struct MergeCounterRec {
    long ResultCount = 0;  // lines of the merged master
};

// Gathers the task files of file number FNameIdx written by the split run of
// process ProcIdx (in task order, each in file order) into the one result
// file (process 0, sequence 0, `extension` or the number's default), then
// deletes the task files. Mode "1" starts the result afresh; any other mode
// keeps its old lines in front. A run cut short is finished by the next call:
// no line is lost or gathered twice. Always true.
bool CUMRG41M(long FNameIdx, long ProcIdx, const std::string& extension, const std::string& mode, EnvRec& env);

// Master-data recovery of base + masterExt: the lines of base + workExt and
// at most one line of base + ".rcv", sorted by the keys, merged into the
// master (CUMRG20M); the result replaces the master, or with ReplaceMode "9"
// goes to base + ".tmp". The sources go only once the result is safely
// written, and a run cut short is finished by the next call, so no line is
// lost or taken twice. More than one line in base + ".rcv" is reported and
// changes nothing. `resultLines` are the merged lines, none when there was no
// transaction line.
void CFRCV21M(const std::string& base, const std::string& workExt, const std::string& masterExt, MSGRec& msg,
              const MergeKeyRec& keys, MergeCounterRec& counter, std::vector<std::string>& resultLines);

// Merges sorted transaction lines into the sorted master lines, which become
// the result. On equal keys one line goes out for the pair: the transaction
// line, unless MatchMode is "1" and the master line's 78th character is "1",
// or MatchMode is not "1" and KeepMaster is "1". A side with no line, or
// with one blank line, is empty: with both empty the master stays and the
// result is false; with one empty the other is the result and it is true;
// otherwise it is true when at least one transaction line went out.
bool CUMRG20M(std::vector<std::string>& master, const std::vector<std::string>& transactions, MSGRec& msg,
              const MergeKeyRec& keys);

// Key of the current line of one side of a merge; nullopt past the last line,
// which ranks above every key.
using MergeKey = std::optional<std::string>;

// Moves `position` (1-based, 0 before the first line) to the next line and
// sets `key` to its key; past the last line the position stays at the count
// and the key becomes nullopt.
const MergeKey& NextMergeKey(MergeKey& key, std::span<const std::string> lines, long& position,
                             const LineKeyMaker& keys);

// Recovery of a company file named by number: CFRCV21M on the base path of
// the number, process, sequence and name part, with work extension ".tmp",
// master extension ".txt" and the company-list keys (market, category,
// company code).
// The recovery of a master or list file kept in company order (market,
// category, company code), named by file number: base path without extension,
// work file base + workExt, master base + masterExt. Returns the base path.
std::string RecoverInCompanyOrder(long fileNumber, long processNumber, long sequence, const std::string& namePart,
                                  const std::string& workExt, const std::string& masterExt, EnvRec& env,
                                  MSGRec& msg, std::vector<std::string>& resultLines);

void CFCPIR0M(long fileNumber, long processNumber, long sequence, const std::string& namePart,
              const std::string& ignoredExt1, const std::string& ignoredExt2, EnvRec& env, MSGRec& msg);

}  // namespace common
