#pragma once
#include <memory>
#include <string>

namespace common {

// The core reaches the user interface only through these interfaces. The Qt
// layer installs its implementations at start-up; tests install fakes. With
// nothing installed the core runs unattended (see the defaults in ui_seam.cpp).

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows a modal box; returns the pressed button (msg_result values).
    virtual int Show(const std::string& text, int style, const std::string& caption) = 0;
};

// One progress dialog with a bar, a label, a caption and the cancel and
// emergency-stop buttons.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void SetBar(long max, long value) = 0;
    virtual void SetButtonsVisible(bool visible) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetLabel(const std::string& text) = 0;
};

// Opens and unloads the progress dialogs by form name ("FormProgress1", ...).
class ProgressForms {
public:
    virtual ~ProgressForms() = default;
    // The named dialog, shown; the same object while it stays loaded.
    virtual ProgressView& Show(const std::string& formName) = 0;
    virtual void Unload(const std::string& formName) = 0;
};

// Lets the user interface run during long runs and waits on its one thread.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessEvents() = 0;
};

class MainWindowControl {
public:
    virtual ~MainWindowControl() = default;
    virtual void SetMainWindowVisible(bool visible) = 0;
};

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Closes every window and ends the process.
    [[noreturn]] virtual void EndProgram() = 0;
};

struct UiServices {
    std::shared_ptr<MessagePresenter> presenter;
    std::shared_ptr<ProgressForms> progress;
    std::shared_ptr<EventPump> pump;
    std::shared_ptr<MainWindowControl> mainWindow;
    std::shared_ptr<ProgramEnd> programEnd;
};

// Replaces the installed services; a null member keeps the unattended default.
void InstallUi(UiServices services);

// The installed services; every member is set.
const UiServices& Ui();

// Closes every window and ends the process, through the installed ProgramEnd.
[[noreturn]] void EndProgram();

}  // namespace common
