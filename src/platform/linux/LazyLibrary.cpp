#include "platform/linux/LazyLibrary.h"

#include <dlfcn.h>

namespace velmor::platform {
namespace {

std::string loaderError() {
    const char* text = ::dlerror();
    return text != nullptr ? text : "unknown reason";
}

}  // namespace

void* lazySymbol(const char* library, const char* symbol, std::string* problem) {
    // RTLD_NODELETE keeps the library mapped past the dlclose below, so the address stays good
    // while the loader's count of references stays as it was: nothing here has to be kept.
    void* handle = ::dlopen(library, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr) {
        if (problem != nullptr) {
            *problem = loaderError();
        }
        return nullptr;
    }
    ::dlerror();
    void* address = ::dlsym(handle, symbol);
    if (address == nullptr && problem != nullptr) {
        *problem = loaderError();
    }
    ::dlclose(handle);
    return address;
}

}  // namespace velmor::platform
