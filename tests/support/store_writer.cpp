// A stand-in for a running copy of the program that saves over and over, so that tests can run
// two of them against one store at once: store_writer FILE COPY SAVES. Save n writes the stamp
// "copyCOPY-passn" into v0..v19 and stores a value named by it. Exits 1 when any write failed.

#include <cstdlib>
#include <string>

#include "platform/linux/SqliteRegistry.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Velmor\\Picture Links";
    velmor::platform::SqliteRegistry registry(argv[1]);
    bool ok = registry.usable();
    for (int pass = 0; ok && pass < std::atoi(argv[3]); ++pass) {
        const std::string stamp = "copy" + std::string(argv[2]) + "-pass" + std::to_string(pass);
        registry.batch([&] {
            ok = registry.createKey(key).has_value();
            for (int n = 0; n < 20; ++n) {
                ok = registry.setValue(key, "v" + std::to_string(n), stamp) && ok;
            }
            ok = registry.setValue(key, stamp, "saved") && ok;
        });
    }
    return ok ? 0 : 1;
}
