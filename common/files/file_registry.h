#pragma once
#include <string>

#include "common/files/env_rec.h"

namespace common {

// Names a data file: file number, process number, sequence, extra name part
// and extension; the EnvRec supplies the folders and receives the file name
// and folder of the path built.
struct FilePathReq {
    long FNameIdx = 0;
    long ProcIdx = 0;
    long FNameSeq = 0;
    std::string Concati;
    std::string FileExt;
};

// Full path of a data file. An unknown number or an EnvRec that was never set
// up is an application error that ends the program.
std::string CFFIL02M(const FilePathReq& req, EnvRec& env);

// Default extension of a file number (".txt", ".dat", ".tmp"); an unknown
// number ends the program.
std::string CFFIL03M(long fileNumber);

}  // namespace common
