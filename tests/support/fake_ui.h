#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/logs/message_buttons.h"
#include "common/screens/ui_seam.h"

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

// Progress forms that record which forms are loaded, for the unload checks.
class RecordingForms : public common::ProgressForms {
public:
    class View : public common::ProgressView {
    public:
        void SetBar(long, long) override {}
        void SetButtonsVisible(bool) override {}
        void SetCaption(const std::string& text) override { caption = text; }
        void SetLabel(const std::string& text) override { label = text; }
        std::string caption;
        std::string label;
    };

    common::ProgressView& Show(const std::string& formName) override {
        loaded.push_back(formName);
        return view;
    }
    void Unload(const std::string& formName) override { std::erase(loaded, formName); }

    std::vector<std::string> loaded;
    View view;
};

// Serves the event loop with a test's own action.
class CallbackPump : public common::EventPump {
public:
    explicit CallbackPump(std::function<void()> onEvents) : onEvents_(std::move(onEvents)) {}
    void ProcessEvents() override { onEvents_(); }

private:
    std::function<void()> onEvents_;
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
