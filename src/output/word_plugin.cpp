#include "output/word_plugin.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <system_error>

namespace qv {

std::string executableDirectory() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string() + "/";
}

namespace {

struct Plugin {
    WordOfficeFactory factory = nullptr;
    std::string error;
};

const Plugin& plugin() {
    static Plugin loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        const std::string dir = executableDirectory();
        if (dir.empty()) {
            loaded.error = "cannot tell where the program lies";
            return;
        }
        const std::string path = dir + kWriterPluginFile;
        // Never closed: the offices it makes live on in static objects.
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            loaded.error = why ? why : path + ": cannot be loaded";
            return;
        }
        loaded.factory = reinterpret_cast<WordOfficeFactory>(dlsym(handle, kWriterFactorySymbol));
        if (!loaded.factory) loaded.error = path + ": no " + kWriterFactorySymbol;
    });
    return loaded;
}

}  // namespace

std::unique_ptr<WordOffice> loadWordOffice(const WordOfficeOptions& options, std::string* error) {
    const Plugin& p = plugin();
    if (!p.factory) {
        if (error) *error = p.error;
        return nullptr;
    }
    std::unique_ptr<WordOffice> office(p.factory(&options));
    if (!office && error) *error = "the office plugin refused to start";
    return office;
}

bool wordAvailable() {
    const std::unique_ptr<WordOffice> office = loadWordOffice();
    return office && office->installed();
}

}  // namespace qv
