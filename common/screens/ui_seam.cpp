#include "common/screens/ui_seam.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

#include "common/logs/message_buttons.h"

namespace common {

namespace {

// Unattended defaults: a box is answered with its default button and its text
// goes to the standard error stream, so that nothing waits for a user.
class UnattendedPresenter : public MessagePresenter {
public:
    int Show(const std::string& text, int style, const std::string& caption) override {
        std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
        return DefaultButtonOfStyle(style);
    }
};

class NullProgressView : public ProgressView {
public:
    void SetBar(long, long) override {}
    void SetButtonsVisible(bool) override {}
    void SetCaption(const std::string&) override {}
    void SetLabel(const std::string&) override {}
};

class NullProgressForms : public ProgressForms {
public:
    ProgressView& Show(const std::string& formName) override { return views_[formName]; }
    void Unload(const std::string& formName) override { views_.erase(formName); }

private:
    std::map<std::string, NullProgressView> views_;
};

class NullPump : public EventPump {
public:
    void ProcessEvents() override {}
};

class NullMainWindow : public MainWindowControl {
public:
    void SetMainWindowVisible(bool) override {}
};

class ExitProgram : public ProgramEnd {
public:
    [[noreturn]] void EndProgram() override {
        std::fflush(nullptr);
        std::exit(0);
    }
};

UiServices Defaults() {
    return UiServices{std::make_shared<UnattendedPresenter>(), std::make_shared<NullProgressForms>(),
                      std::make_shared<NullPump>(), std::make_shared<NullMainWindow>(),
                      std::make_shared<ExitProgram>()};
}

UiServices& Installed() {
    static UiServices services = Defaults();
    return services;
}

template <typename T>
void Take(std::shared_ptr<T>& target, std::shared_ptr<T>&& given, std::shared_ptr<T>&& fallback) {
    target = given ? std::move(given) : std::move(fallback);
}

}  // namespace

void InstallUi(UiServices services) {
    UiServices defaults = Defaults();
    UiServices& target = Installed();
    Take(target.presenter, std::move(services.presenter), std::move(defaults.presenter));
    Take(target.progress, std::move(services.progress), std::move(defaults.progress));
    Take(target.pump, std::move(services.pump), std::move(defaults.pump));
    Take(target.mainWindow, std::move(services.mainWindow), std::move(defaults.mainWindow));
    Take(target.programEnd, std::move(services.programEnd), std::move(defaults.programEnd));
}

const UiServices& Ui() { return Installed(); }

void EndProgram() {
    Installed().programEnd->EndProgram();
    // A ProgramEnd that returned would break every caller that relies on the end.
    std::abort();
}

}  // namespace common
