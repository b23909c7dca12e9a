// A target with a fault that no seed holds and a few mutations reach: two 0xFF bytes in a row.
// The standalone driver must find it, fail, and leave the input that replays it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 1; i < size; ++i)
        if (data[i - 1] == 0xFF && data[i] == 0xFF) std::abort();
    return 0;
}
