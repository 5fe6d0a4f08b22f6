#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// The per-user settings tree: text values addressed by application, section
// and key, names compared ignoring ASCII case. Both programs and all their
// child processes read and write it at the same time, so nothing is cached:
// every read and every write is one statement on the database file. An absent
// key reads as "". Failures raise TrappedError kPathFileAccess naming the
// database file and SQLite's reason.
class SettingsStore {
public:
    // Opens (and creates, with its folder) the database at `database`.
    explicit SettingsStore(std::filesystem::path database);

    const std::filesystem::path& path() const { return path_; }

    std::string Read(std::string_view application, std::string_view section, std::string_view key);
    // Creates the entry or replaces its value.
    void Write(std::string_view application, std::string_view section, std::string_view key, std::string_view value);

private:
    struct DatabaseCloser {
        void operator()(sqlite3* db) const;
    };
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* statement) const;
    };

    std::filesystem::path path_;
    // Declared before the statements, so that they are finalized before it closes.
    std::unique_ptr<sqlite3, DatabaseCloser> db_;
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> read_;
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> write_;
};

// $XDG_CONFIG_HOME/MirControl/settings.db, or $HOME/.config/... when
// XDG_CONFIG_HOME is unset, empty or relative; resolved afresh on every call.
std::filesystem::path UserSettingsPath();

// Read and write through the process-wide store at UserSettingsPath(). The
// connection opens on first use and again whenever the resolved path changes
// or the process is a fork of the one that opened it.
std::string ReadUserSetting(std::string_view application, std::string_view section, std::string_view key);
void WriteUserSetting(std::string_view application, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace platform
