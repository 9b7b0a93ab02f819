// libzip, loaded when the first archive is opened instead of when the program starts. The
// program is linked against these definitions rather than against the library: each hands its
// call on to the library's own function. A session that never opens a zip archive never maps
// libzip, nor what it brings along (libcrypto among them).
//
// These are the functions the zip launch uses (launch/Unzip.cpp); one it starts to use needs
// its line here, or the program does not link. Each is looked up in the library once, at its
// first call.

#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/linux/LazyLibrary.h"

namespace {

// The library's soname, found by the build.
constexpr const char* kLibzip = VELMOR_LIBZIP_SONAME;
constexpr const char* kNotLoaded = "libzip cannot be loaded";

// The library's own `Function`, named `name`. Every function but the openers and the error
// texts runs on an archive, which exists only once the library is loaded; one of them missing
// from the library means another version than the program was built for.
template <typename Function>
Function& libzip(const char* name) {
    std::string problem;
    Function* function = velmor::platform::lazyFunction<Function>(kLibzip, name, &problem);
    if (function == nullptr) {
        std::fprintf(stderr, "velmor: %s\n", problem.c_str());
        std::abort();
    }
    return *function;
}

}  // namespace

extern "C" {

zip_t* zip_fdopen(int fd, int flags, int* error) {
    std::string problem;
    auto* function =
        velmor::platform::lazyFunction<decltype(zip_fdopen)>(kLibzip, "zip_fdopen", &problem);
    if (function == nullptr) {
        std::fprintf(stderr, "velmor: zip archives cannot be read: %s\n", problem.c_str());
        if (error != nullptr) {
            *error = ZIP_ER_INTERNAL;
        }
        return nullptr;
    }
    return function(fd, flags, error);
}

// The error texts are asked for when an archive could not be opened, so they answer without
// the library too.
void zip_error_init_with_code(zip_error_t* error, int code) {
    static auto* function = velmor::platform::lazyFunction<decltype(zip_error_init_with_code)>(
        kLibzip, "zip_error_init_with_code");
    if (function != nullptr) {
        function(error, code);
        return;
    }
    error->zip_err = code;
    error->sys_err = 0;
    error->str = nullptr;
}

const char* zip_error_strerror(zip_error_t* error) {
    static auto* function =
        velmor::platform::lazyFunction<decltype(zip_error_strerror)>(kLibzip, "zip_error_strerror");
    return function != nullptr ? function(error) : kNotLoaded;
}

void zip_error_fini(zip_error_t* error) {
    static auto* function =
        velmor::platform::lazyFunction<decltype(zip_error_fini)>(kLibzip, "zip_error_fini");
    if (function != nullptr) {
        function(error);
    }
}

void zip_discard(zip_t* archive) {
    static auto& function = libzip<decltype(zip_discard)>("zip_discard");
    function(archive);
}

zip_int64_t zip_get_num_entries(zip_t* archive, zip_flags_t flags) {
    static auto& function = libzip<decltype(zip_get_num_entries)>("zip_get_num_entries");
    return function(archive, flags);
}

const char* zip_get_name(zip_t* archive, zip_uint64_t index, zip_flags_t flags) {
    static auto& function = libzip<decltype(zip_get_name)>("zip_get_name");
    return function(archive, index, flags);
}

void zip_stat_init(zip_stat_t* status) {
    static auto& function = libzip<decltype(zip_stat_init)>("zip_stat_init");
    function(status);
}

int zip_stat_index(zip_t* archive, zip_uint64_t index, zip_flags_t flags, zip_stat_t* status) {
    static auto& function = libzip<decltype(zip_stat_index)>("zip_stat_index");
    return function(archive, index, flags, status);
}

int zip_file_get_external_attributes(zip_t* archive, zip_uint64_t index, zip_flags_t flags,
                                     zip_uint8_t* system, zip_uint32_t* attributes) {
    static auto& function =
        libzip<decltype(zip_file_get_external_attributes)>("zip_file_get_external_attributes");
    return function(archive, index, flags, system, attributes);
}

const char* zip_strerror(zip_t* archive) {
    static auto& function = libzip<decltype(zip_strerror)>("zip_strerror");
    return function(archive);
}

zip_file_t* zip_fopen_index(zip_t* archive, zip_uint64_t index, zip_flags_t flags) {
    static auto& function = libzip<decltype(zip_fopen_index)>("zip_fopen_index");
    return function(archive, index, flags);
}

zip_int64_t zip_fread(zip_file_t* member, void* buffer, zip_uint64_t size) {
    static auto& function = libzip<decltype(zip_fread)>("zip_fread");
    return function(member, buffer, size);
}

const char* zip_file_strerror(zip_file_t* member) {
    static auto& function = libzip<decltype(zip_file_strerror)>("zip_file_strerror");
    return function(member);
}

int zip_fclose(zip_file_t* member) {
    static auto& function = libzip<decltype(zip_fclose)>("zip_fclose");
    return function(member);
}

}  // extern "C"
