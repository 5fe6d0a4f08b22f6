#include "platform/trapped_error.h"

#include <utility>

namespace platform {

TrappedError::TrappedError(long number, std::string description, std::string source)
    : std::runtime_error(std::to_string(number) + ":" + description),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)) {}

std::string StandardErrorDescription(long number) {
    switch (number) {
        case error_number::kOverflow: return "オーバーフローしました。";
        case error_number::kDivisionByZero: return "0 で除算しました。";
        case error_number::kTypeMismatch: return "型が一致しません。";
        case error_number::kFileNotFound: return "ファイルが見つかりません。";
        case error_number::kDiskFull: return "ディスクの空き容量が不足しています。";
        case error_number::kPathFileAccess: return "パス名が無効です。";
        case error_number::kPathNotFound: return "パスが見つかりません。";
        default: return "";
    }
}

void RaiseError(long number, const std::string& source) {
    throw TrappedError(number, StandardErrorDescription(number), source);
}

}  // namespace platform
