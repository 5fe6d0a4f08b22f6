#pragma once
// A fresh installation of Mirelda in a temporary folder, with the real
// Mirelda beside it as the child copies and the parent's runs in this
// process, and what its runs leave in the data files.
#include <filesystem>
#include <functional>
#include <memory>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "collect/child/collection_parts.h"
#include "common/startup/batch_chain.h"
#include "common/startup/batch_request.h"
#include "common/tasks/ctr_file.h"
#include "common/settings/default_settings.h"
#include "common/logs/logs.h"
#include "common/startup/program_parts.h"
#include "common/startup/run_env.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/settings/system_state_file.h"
#include "platform/date.h"
#include "common/screens/ui_seam.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "tests/support/scoped_env.h"

namespace mirelda_e2e {

namespace fs = std::filesystem;

class MireldaInstallation {
public:
    explicit MireldaInstallation(long parallelism) {
        fs::copy_file(MIRELDA_EXE, folder.program() / "Mirelda");
        common::State().ExeName = "Mirelda";
        common::CCENV00M(env);
        common::SetTaskWorkPaths(0, 0, env);
        common::LoadLogSwitches(env);
        common::InstallProgramParts(collect::CollectionProgramParts());
        common::WriteAllDefaults();
        common::WriteSetting("MirControl\\Common\\MultiTask", std::to_string(parallelism));
    }
    ~MireldaInstallation() { common::InstallProgramParts({}); }
    MireldaInstallation(const MireldaInstallation&) = delete;
    MireldaInstallation& operator=(const MireldaInstallation&) = delete;

    // Requests the steps of the collection chain (1-based characters of
    // Common\Batch) and runs the chain.
    void Request(const std::set<int>& characters) {
        std::string batch(50, '0');
        for (const int c : characters) batch[static_cast<std::size_t>(c - 1)] = '1';
        common::WriteSetting("MirControl\\Common\\Batch", batch);
    }
    void Run() { common::RunCollectionBatch(); }

    // Cancels as the progress dialog's cancel button does (the cancel mark
    // and the flag) the first time the parent serves its event loop while
    // `when` holds, and notes it in `cancelled`; null: the event loop does
    // nothing.
    void InstallCancelAfter(std::function<bool()> when) {
        cancelled = false;
        auto pump = when ? std::make_shared<testsupport::CallbackPump>([this, when] {
            if (cancelled || !when()) return;
            common::WriteSetting("MirControl\\Common\\Cancel", "1");
            common::State().CancelRequested = cancelled = true;
        })
                         : nullptr;
        common::InstallUi({ui.presenter, nullptr, pump ? std::shared_ptr<common::EventPump>(pump) : ui.pump, nullptr,
                           std::make_shared<testsupport::ThrowingProgramEnd>()});
    }

    // Price histories are collected as daily series, up to `toDate`, without
    // backup copies.
    void CollectDailyPricesUpTo(platform::Date toDate) {
        common::SystemStateRec settings;
        common::ReadSystemStateFile(env, settings);
        settings.Candle = "D";
        settings.PeriodMode = "1";
        settings.ToDate = platform::DateText(toDate);
        settings.BackupFlag = "0";
        common::WriteSystemStateFile(env, settings);
    }

    // The run the cancel interrupted, resumed through the resume offer; true
    // when it was run.
    bool ResumeAfterCancel() {
        InstallCancelAfter(nullptr);
        ui.presenter->answers = {1};
        return common::ResumeInterruptedRun();
    }

    // The control record of a run: status "/" step.
    std::string CtrStatus(long process) {
        common::CtrRec rec;
        common::ReadCtrRec(process, env, rec);
        return rec.Status + "/" + rec.Step;
    }

    static std::string ReadLog(const std::string& path) {
        return fs::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }
    std::string RunLog() const { return ReadLog(common::State().runLogPath); }
    std::string ErrorLog() const { return ReadLog(common::State().errorLogPath); }

    // The files below the installation whose paths contain one of `names`,
    // by path; in the lines of those that contain one of `stamped`, the
    // 1-based TAB fields `stampFields` (when of the stamps of their writing)
    // read "#": two runs of the same market share everything else.
    std::map<std::string, std::string> Files(const std::vector<std::string>& names,
                                             const std::vector<std::string>& stamped,
                                             const std::vector<std::size_t>& stampFields) const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder.root())) {
            const std::string name = fs::relative(entry.path(), folder.root()).string();
            if (!entry.is_regular_file() || !Contains(name, names)) continue;
            const std::string bytes = testsupport::ReadBytes(entry.path());
            files[name] = Contains(name, stamped) ? WithoutFields(bytes, stampFields) : bytes;
        }
        return files;
    }

    testsupport::ProgramFolder folder;
    testsupport::FakeUi ui;
    common::EnvRec env;
    bool cancelled = false;

private:
    static bool Contains(const std::string& name, const std::vector<std::string>& parts) {
        for (const std::string& part : parts) {
            if (name.find(part) != std::string::npos) return true;
        }
        return false;
    }
    static std::string WithoutFields(const std::string& bytes, const std::vector<std::size_t>& stampFields) {
        std::istringstream in(bytes);
        std::string out;
        for (std::string line; std::getline(in, line);) {
            std::vector<std::string> fields;
            std::istringstream fieldsIn(line);
            for (std::string field; std::getline(fieldsIn, field, '\t');) fields.push_back(field);
            for (const std::size_t f : stampFields) {
                if (f <= fields.size()) fields[f - 1] = "#";
            }
            for (std::size_t f = 0; f < fields.size(); ++f) out += (f == 0 ? "" : "\t") + fields[f];
            out += "\n";
        }
        return out;
    }

    testsupport::ScopedEnv offscreen_{"QT_QPA_PLATFORM", "offscreen"};
};

// Names the files that differ, with their first differing line.
inline std::vector<std::string> FileDifferences(const std::map<std::string, std::string>& files,
                                                const std::map<std::string, std::string>& reference) {
    std::vector<std::string> differences;
    for (const auto& [name, bytes] : reference) {
        const auto found = files.find(name);
        if (found == files.end()) {
            differences.push_back("missing: " + name);
            continue;
        }
        if (found->second == bytes) continue;
        std::istringstream a(found->second);
        std::istringstream b(bytes);
        std::string lineA;
        std::string lineB;
        while (std::getline(a, lineA) && std::getline(b, lineB) && lineA == lineB) {
        }
        differences.push_back(name + " differs:\n  got      " + lineA.substr(0, 300) + "\n  expected " +
                              lineB.substr(0, 300));
    }
    for (const auto& [name, bytes] : files) {
        if (!reference.contains(name)) differences.push_back("extra: " + name);
    }
    return differences;
}

}  // namespace mirelda_e2e
