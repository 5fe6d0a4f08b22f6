#pragma once
#include <array>
#include <string>
#include <vector>

namespace common {

// Folders of the data-folder tree, in the order of the folder table.
enum class Folder {
    DataRoot,
    Program,
    Chart,
    Keisen,
    Split,
    User,
    WebData,
    DispData,
    Ctrl,
    Log,
    Temp,
    Work,
    Data,
    Mining,
};
inline constexpr std::size_t kFolderCount = 14;

// The run environment of one process: its command-line words, the program
// folder, the data tree beside it and the folder of the last path built.
// Paths use "/" and have no trailing separator.
struct EnvRec {
    long argumentCount = 0;
    long setupFlag = 0;
    long runMode = 0;  // 1 interactive collection program, 2 child task, else 0
    std::array<long, 3> reserved{};
    long taskCount = 1;
    std::string commandLine;
    std::vector<std::string> arguments;  // the non-empty words; argument n is arguments[n - 1]
    std::string Path;                    // program folder
    std::string DataPath;                // data root
    std::array<std::string, kFolderCount> folders{};
    std::string currentFileName;  // "/" + name of the last path built
    std::string currentFolder;    // folder of the last path built
    std::string MainPath;
    std::string TaskPath;

    const std::string& folder(Folder f) const { return folders[static_cast<std::size_t>(f)]; }
    std::string& folder(Folder f) { return folders[static_cast<std::size_t>(f)]; }
};

}  // namespace common
