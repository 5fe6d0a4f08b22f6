#include "platform/screens_module.h"

#include <dlfcn.h>

#include <cstdio>

namespace platform {

int RunScreensModule(const std::string& moduleFile, int argc, char** argv) {
    // Every symbol at once: a module that does not fit the program fails here,
    // not in the middle of a screen.
    void* module = dlopen(moduleFile.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "画面のモジュールを読み込めません: %s\n", dlerror());
        return 1;
    }
    using Entry = int (*)(int, char**);
    const auto entry = reinterpret_cast<Entry>(dlsym(module, kScreensEntryName));
    if (entry == nullptr) {
        std::fprintf(stderr, "画面のモジュールに入口がありません: %s\n", moduleFile.c_str());
        return 1;
    }
    return entry(argc, argv);
}

}  // namespace platform
