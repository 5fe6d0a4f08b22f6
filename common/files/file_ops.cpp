#include "common/files/file_ops.h"

#include <filesystem>
#include <system_error>

#include "common/files/text_file_io.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/file_system.h"

namespace common {

namespace {

namespace fs = std::filesystem;

std::string NextListed() {
    RunState& state = State();
    if (state.listingNext >= state.listing.size()) return "";
    return state.listing[state.listingNext++];
}

}  // namespace

std::string CFFIL11M(const std::string& wildcardPath) {
    FunctionIdGuard guard("CFFIL11M");
    RunState& state = State();
    const fs::path path(wildcardPath);
    state.listing = platform::ListMatching(path.has_parent_path() ? path.parent_path() : fs::path("."),
                                           path.filename().string());
    state.listingNext = 0;
    return NextListed();
}

std::string CFFIL12M() {
    FunctionIdGuard guard("CFFIL12M");
    return NextListed();
}

bool CFFIL41M(const std::string& base, const std::string& newExtension, const std::string& extension) {
    FunctionIdGuard guard("CFFIL41M");
    const std::string fresh = base + newExtension;
    if (!platform::FileExists(fresh)) return false;
    // rename(2) over the old file: no moment without a file of that name.
    CFFIL60M(fresh, base + extension);
    return true;
}

void CFFIL60M(const std::string& source, const std::string& target) {
    FunctionIdGuard guard("CFFIL60M");
    if (!platform::FileExists(source)) return;
    const fs::path renamed = fs::path(source).replace_filename(fs::path(target).filename());
    std::error_code error;
    fs::rename(source, renamed, error);
    if (error) RaiseFileFailure(error, renamed.string(), "CFFIL60M");
}

void CFFIL70M(const std::string& path) {
    FunctionIdGuard guard("CFFIL70M");
    const std::string doomed = path + ".Del";
    CFFIL60M(path, doomed);
    if (!platform::FileExists(doomed)) return;
    std::error_code error;
    fs::remove(doomed, error);
    if (error) RaiseFileFailure(error, doomed, "CFFIL70M");
}

void CopyFileIfAbsent(const std::string& source, const std::string& target) {
    if (!platform::FileExists(source)) return;
    std::error_code error;
    if (fs::exists(fs::symlink_status(target, error))) return;
    fs::copy_file(source, target, fs::copy_options::none, error);
    // A target that appeared meanwhile is kept as it is.
    if (!error || error == std::errc::file_exists) return;
    // A half copy would pass for the whole file from now on.
    std::error_code ignored;
    fs::remove(target, ignored);
    RaiseFileFailure(error, target, "CopyFileIfAbsent");
}

}  // namespace common
