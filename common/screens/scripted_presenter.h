#pragma once
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/screens/ui_seam.h"

namespace common {

// Answers message boxes from a script instead of a user, so that tests can
// drive the real programs. The script file holds one answer a line ("OK",
// "Cancel", "Yes", "No", ...); an answer the box does not offer, and every box
// after the script runs out, gets the box's default button. Each box shown is
// appended to the log file (when one is named) as one UTF-8 line: the style,
// a TAB, then the text with CR and LF written as the two-character escapes
// "\r" and "\n".
class ScriptedPresenter : public MessagePresenter {
public:
    ScriptedPresenter(const std::filesystem::path& script, std::filesystem::path log);

    int Show(const std::string& text, int style, const std::string& caption) override;

private:
    std::vector<std::string> answers_;
    std::size_t next_ = 0;
    std::filesystem::path log_;
};

// The scripted presenter when MIR_MSGBOX_SCRIPT names a file (logging to
// MIR_MSGBOX_LOG when set), else null.
std::shared_ptr<MessagePresenter> ScriptedPresenterFromEnvironment();

// The file MIR_MSGBOX_LOG names, or an empty path.
std::filesystem::path BoxLogFromEnvironment();

// The log line of one box, without its line end.
std::string ScriptLogLine(int style, const std::string& text);

// Appends the box's log line to `log`; nothing when `log` is empty.
void AppendBoxLog(const std::filesystem::path& log, int style, const std::string& text);

}  // namespace common
