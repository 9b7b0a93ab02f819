#pragma once

#include <string>

namespace velmor::platform {

// The address of `symbol` in the shared library `library` (named by its soname, say
// "libzip.so.4"), which is loaded by the first call. Libraries that only a rarely used service
// needs are reached this way instead of being linked, so that start-up neither maps them nor
// resolves their symbols. A library once loaded stays loaded: later calls cost the loader a
// look-up in what it has. Null when the library or the symbol cannot be found, with the
// loader's reason in `problem` where one is given.
void* lazySymbol(const char* library, const char* symbol, std::string* problem = nullptr);

// The same for a function, of the type `Function` (say decltype(zip_fdopen)).
template <typename Function>
Function* lazyFunction(const char* library, const char* symbol, std::string* problem = nullptr) {
    // The loader hands every symbol over as a data pointer; POSIX makes the way back exact.
    return reinterpret_cast<Function*>(lazySymbol(library, symbol, problem));
}

}  // namespace velmor::platform
