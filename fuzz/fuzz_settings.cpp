// The settings file "kozenic.int" read from a file of any content.

#include "core/settings.h"
#include "fuzz_support.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kozenica;
    static const std::string path = fuzzing::scratch_path(".int");
    fuzzing::write_whole_file(path, data, size);
    const window_settings read = read_settings_file(path);

    window_settings defaults;
    set_initial_data(defaults);
    if (size < settings_file_bytes) {
        FUZZ_CHECK(read == defaults);
    } else {
        // The first 88 bytes are the block, as written back at shut-down.
        const std::string encoded = encode_settings(read);
        FUZZ_CHECK(encoded.size() == settings_file_bytes);
        FUZZ_CHECK(std::memcmp(encoded.data(), data, settings_file_bytes) == 0);
    }
    return 0;
}
