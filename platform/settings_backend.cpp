#include "platform/settings_backend.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/trapped_error.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSource = "SettingsStore";
constexpr const char* kCannotOpen = "設定ストアを開けません";
constexpr const char* kCannotAccess = "設定ストアを読み書きできません";

// Another process may hold the write lock for a moment; wait rather than fail.
constexpr int kBusyTimeoutMs = 10000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS settings("
    "app TEXT COLLATE NOCASE, section TEXT COLLATE NOCASE, key TEXT COLLATE NOCASE, value TEXT, "
    "PRIMARY KEY(app, section, key))";
constexpr const char* kReadSql = "SELECT value FROM settings WHERE app = ?1 AND section = ?2 AND key = ?3";
constexpr const char* kWriteSql =
    "INSERT INTO settings(app, section, key, value) VALUES(?1, ?2, ?3, ?4) "
    "ON CONFLICT(app, section, key) DO UPDATE SET value = excluded.value";

[[noreturn]] void RaiseStoreError(const char* what, const fs::path& database, const std::string& reason) {
    throw TrappedError(error_number::kPathFileAccess, std::string(what) + ": " + database.string() + ": " + reason,
                       kSource);
}

// A kept statement must be reset after each use, or it holds its read
// transaction open and the next write of any process waits on it.
class StatementUse {
public:
    explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
    ~StatementUse() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

    // The texts stay alive until the statement has stepped, so SQLite need not copy them.
    bool Bind(int index, std::string_view text) {
        return sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8) ==
               SQLITE_OK;
    }
    int Step() { return sqlite3_step(statement_); }

private:
    sqlite3_stmt* statement_;
};

// UserSettingsPath, made again only when the variables it comes from
// change: a collection reads a setting before every page. Called under the
// store's lock.
const fs::path& CurrentSettingsPath() {
    static std::string xdg;
    static std::string home;
    static std::optional<fs::path> path;
    const char* xdgNow = std::getenv("XDG_CONFIG_HOME");
    const char* homeNow = std::getenv("HOME");
    const std::string_view xdgText = xdgNow ? xdgNow : "";
    const std::string_view homeText = homeNow ? homeNow : "";
    if (!path || xdgText != xdg || homeText != home) {
        path = UserSettingsPath();
        xdg = xdgText;
        home = homeText;
    }
    return *path;
}

// The statements are not safe to share between threads, so every use of the
// process-wide connection holds this lock.
template <typename Action>
auto WithUserStore(Action&& action) {
    static std::mutex lock;
    static std::unique_ptr<SettingsStore> store;
    static pid_t owner = 0;

    const std::lock_guard<std::mutex> held(lock);
    if (store && owner != getpid()) {
        // A connection must not be used or closed in a forked child: either
        // can break the parent's locks on the file. It is abandoned.
        static_cast<void>(store.release());
    }
    const fs::path& wanted = CurrentSettingsPath();
    if (!store || store->path() != wanted) {
        store.reset();
        store = std::make_unique<SettingsStore>(wanted);
        owner = getpid();
    }
    return action(*store);
}

}  // namespace

void SettingsStore::DatabaseCloser::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

void SettingsStore::StatementFinalizer::operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }

SettingsStore::SettingsStore(fs::path database) : path_(std::move(database)) {
    std::error_code error;
    fs::create_directories(path_.parent_path(), error);
    if (error) RaiseStoreError(kCannotOpen, path_, error.message());

    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db_.reset(db);
    if (opened != SQLITE_OK) RaiseStoreError(kCannotOpen, path_, db ? sqlite3_errmsg(db) : sqlite3_errstr(opened));

    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // WAL lets readers go on while another process writes.
    if (sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
        RaiseStoreError(kCannotOpen, path_, sqlite3_errmsg(db));
    }

    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* write = nullptr;
    const bool prepared = sqlite3_prepare_v3(db, kReadSql, -1, SQLITE_PREPARE_PERSISTENT, &read, nullptr) == SQLITE_OK &&
                          sqlite3_prepare_v3(db, kWriteSql, -1, SQLITE_PREPARE_PERSISTENT, &write, nullptr) == SQLITE_OK;
    read_.reset(read);
    write_.reset(write);
    if (!prepared) RaiseStoreError(kCannotOpen, path_, sqlite3_errmsg(db));
}

std::string SettingsStore::Read(std::string_view application, std::string_view section, std::string_view key) {
    StatementUse use(read_.get());
    if (!use.Bind(1, application) || !use.Bind(2, section) || !use.Bind(3, key)) {
        RaiseStoreError(kCannotAccess, path_, sqlite3_errmsg(db_.get()));
    }
    switch (use.Step()) {
        case SQLITE_ROW: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(read_.get(), 0));
            // Read the length after the text: the conversion to text may change it.
            const int bytes = sqlite3_column_bytes(read_.get(), 0);
            return text ? std::string(text, static_cast<std::size_t>(bytes)) : std::string();
        }
        case SQLITE_DONE: return "";
        default: RaiseStoreError(kCannotAccess, path_, sqlite3_errmsg(db_.get()));
    }
}

void SettingsStore::Write(std::string_view application, std::string_view section, std::string_view key,
                          std::string_view value) {
    StatementUse use(write_.get());
    if (!use.Bind(1, application) || !use.Bind(2, section) || !use.Bind(3, key) || !use.Bind(4, value) ||
        use.Step() != SQLITE_DONE) {
        RaiseStoreError(kCannotAccess, path_, sqlite3_errmsg(db_.get()));
    }
}

fs::path UserSettingsPath() {
    // A relative XDG_CONFIG_HOME would name a different store in every
    // working folder; the XDG rules say to ignore it.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (xdg && fs::path(xdg).is_absolute()) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) RaiseStoreError(kCannotOpen, "settings.db", "HOME が設定されていません");
        base = fs::path(home) / ".config";
    }
    return base / "MirControl" / "settings.db";
}

std::string ReadUserSetting(std::string_view application, std::string_view section, std::string_view key) {
    return WithUserStore([&](SettingsStore& store) { return store.Read(application, section, key); });
}

void WriteUserSetting(std::string_view application, std::string_view section, std::string_view key,
                      std::string_view value) {
    WithUserStore([&](SettingsStore& store) { store.Write(application, section, key, value); });
}

}  // namespace platform
