#pragma once
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/message_buttons.h"
#include "common/ui_seam.h"

namespace testsupport {

// Thrown by the fake EndProgram, so that a test sees the program end without
// the process ending.
struct ProgramEnded {};

struct ShownBox {
    std::string text;
    int style = 0;
    std::string caption;
};

// Records every box and answers from a queue (then with the default button).
class RecordingPresenter : public common::MessagePresenter {
public:
    int Show(const std::string& text, int style, const std::string& caption) override {
        boxes.push_back({text, style, caption});
        if (answers.empty()) {
            return common::DefaultButtonOfStyle(style);
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<ShownBox> boxes;
    std::deque<int> answers;
};

class ThrowingProgramEnd : public common::ProgramEnd {
public:
    [[noreturn]] void EndProgram() override { throw ProgramEnded{}; }
};

class CountingPump : public common::EventPump {
public:
    void ProcessEvents() override { ++count; }
    long count = 0;
};

// Installs the fakes for the life of the object and the unattended defaults after.
class FakeUi {
public:
    FakeUi()
        : presenter(std::make_shared<RecordingPresenter>()), pump(std::make_shared<CountingPump>()) {
        common::InstallUi({presenter, nullptr, pump, nullptr, std::make_shared<ThrowingProgramEnd>()});
    }
    ~FakeUi() { common::InstallUi({}); }
    FakeUi(const FakeUi&) = delete;
    FakeUi& operator=(const FakeUi&) = delete;

    std::shared_ptr<RecordingPresenter> presenter;
    std::shared_ptr<CountingPump> pump;
};

}  // namespace testsupport
