#include "common/screens/scripted_presenter.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <utility>

#include "common/logs/message_buttons.h"

namespace common {

namespace {

std::vector<std::string> ReadAnswers(const std::filesystem::path& script) {
    std::vector<std::string> answers;
    std::ifstream in(script);
    std::string line;
    while (std::getline(in, line)) {
        line.erase(std::remove_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == ' ' || c == '\t'; }),
                   line.end());
        if (!line.empty()) {
            answers.push_back(line);
        }
    }
    return answers;
}

}  // namespace

ScriptedPresenter::ScriptedPresenter(const std::filesystem::path& script, std::filesystem::path log)
    : answers_(ReadAnswers(script)), log_(std::move(log)) {}

int ScriptedPresenter::Show(const std::string& text, int style, const std::string&) {
    AppendBoxLog(log_, style, text);
    int answer = DefaultButtonOfStyle(style);
    if (next_ < answers_.size()) {
        const int scripted = ButtonFromName(answers_[next_++]);
        const std::vector<int> offered = ButtonsOfStyle(style);
        if (std::find(offered.begin(), offered.end(), scripted) != offered.end()) {
            answer = scripted;
        }
    }
    return answer;
}

std::string ScriptLogLine(int style, const std::string& text) {
    std::string line = std::to_string(style) + '\t';
    for (char c : text) {
        if (c == '\r') {
            line += "\\r";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

void AppendBoxLog(const std::filesystem::path& log, int style, const std::string& text) {
    if (log.empty()) return;
    std::ofstream out(log, std::ios::binary | std::ios::app);
    out << ScriptLogLine(style, text) << '\n';
}

std::shared_ptr<MessagePresenter> ScriptedPresenterFromEnvironment() {
    const char* script = std::getenv("MIR_MSGBOX_SCRIPT");
    if (script == nullptr || *script == '\0') {
        return nullptr;
    }
    return std::make_shared<ScriptedPresenter>(script, BoxLogFromEnvironment());
}

std::filesystem::path BoxLogFromEnvironment() {
    const char* log = std::getenv("MIR_MSGBOX_LOG");
    return log != nullptr ? log : "";
}

}  // namespace common
