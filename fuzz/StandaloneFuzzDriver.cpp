// Runs a fuzz target without libFuzzer, for builds with gcc (the sanitizer build of the tests):
// every seed of the given corpus folders first, then mutations of the seeds (bit flips, bytes
// inserted, erased or overwritten, pieces of two seeds spliced) for a few seconds. There is no
// coverage feedback; the point is a short, repeatable run in every CI build, while
// scripts/fuzz.sh runs the coverage-guided fuzzer for longer.
//
//   fuzz_TARGET [--seconds=S] [--seed=N] FOLDER|FILE...
//
// The random seed is printed first; the same seed (and seconds) replays the same inputs. When an
// input makes the target fail, it is written to fuzz-failure-TARGET in the working folder, and
// `fuzz_TARGET fuzz-failure-TARGET` runs it alone.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;
using Input = std::vector<std::uint8_t>;

constexpr std::size_t kLargestInput = 64 * 1024;

// The input being run and where it goes when the target fails: kept where the failure handlers,
// which may only make plain system calls, can reach them.
const Input* g_current = nullptr;
char g_failureFile[512] = "fuzz-failure";

void saveCurrentInput() {
    if (g_current == nullptr) return;
    const int fd = ::open(g_failureFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    std::size_t written = 0;
    while (written < g_current->size()) {
        const ssize_t n = ::write(fd, g_current->data() + written, g_current->size() - written);
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    ::close(fd);
    static const char note[] = "\nthe failing input is in the file named above\n";
    (void)!::write(2, g_failureFile, std::strlen(g_failureFile));
    (void)!::write(2, note, sizeof note - 1);
}

void onFatalSignal(int signal) {
    saveCurrentInput();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void catchFailures(const char* program) {
    const std::string name = "fuzz-failure-" + fs::path(program).filename().string();
    std::snprintf(g_failureFile, sizeof g_failureFile, "%s", name.c_str());
    for (const int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) ::signal(signal, onFatalSignal);
#if defined(__SANITIZE_ADDRESS__)
    // A sanitizer report ends the process without a signal.
    __sanitizer_set_death_callback(saveCurrentInput);
#endif
}

Input readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Input(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The files named, and the files in the folders named, in name order.
std::vector<Input> readSeeds(const std::vector<std::string>& paths) {
    std::vector<fs::path> files;
    for (const std::string& path : paths) {
        if (fs::is_directory(path)) {
            for (const auto& entry : fs::directory_iterator(path))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else {
            files.emplace_back(path);
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<Input> seeds;
    for (const fs::path& file : files) seeds.push_back(readFile(file));
    return seeds;
}

void runOne(const Input& input) {
    g_current = &input;
    (void)LLVMFuzzerTestOneInput(input.data(), input.size());
    g_current = nullptr;
}

class Mutator {
  public:
    Mutator(std::uint64_t seed, const std::vector<Input>& seeds) : random_(seed), seeds_(seeds) {}

    // A seed changed by one to four mutations.
    Input next() {
        Input input = seeds_.empty() ? Input{} : seeds_[below(seeds_.size())];
        const std::size_t steps = 1 + below(4);
        for (std::size_t i = 0; i < steps; ++i) mutate(input);
        if (input.size() > kLargestInput) input.resize(kLargestInput);
        return input;
    }

  private:
    std::size_t below(std::size_t n) { return n == 0 ? 0 : random_() % n; }
    std::uint8_t byte() {
        // Bytes the parsers treat specially come up more often than by chance.
        static constexpr std::uint8_t special[] = {'\n', '\r', ';', '"', ',', '.', ' ', '0', '9',
                                                   '-', 0x00, 0x80, 0xC4, 0x8D, 0xFF, 0x8A};
        return random_() % 2 == 0 ? special[below(sizeof special)]
                                  : static_cast<std::uint8_t>(random_());
    }

    void mutate(Input& input) {
        const std::size_t at = below(input.size() + 1);
        switch (below(5)) {
            case 0:
                if (!input.empty()) input[below(input.size())] ^= static_cast<std::uint8_t>(1u << below(8));
                break;
            case 1:
                input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), 1 + below(4), byte());
                break;
            case 2:
                if (at < input.size())
                    input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                                input.begin() + static_cast<std::ptrdiff_t>(
                                                    std::min(input.size(), at + 1 + below(8))));
                break;
            case 3:
                if (!input.empty()) input[below(input.size())] = byte();
                break;
            default:
                splice(input, at);
        }
    }

    // A piece of another seed put in at `at`: lines and fields of one file inside another.
    void splice(Input& input, std::size_t at) {
        if (seeds_.empty()) return;
        const Input& other = seeds_[below(seeds_.size())];
        if (other.empty()) return;
        const std::size_t from = below(other.size());
        const std::size_t length = 1 + below(other.size() - from);
        input.insert(input.begin() + static_cast<std::ptrdiff_t>(at),
                     other.begin() + static_cast<std::ptrdiff_t>(from),
                     other.begin() + static_cast<std::ptrdiff_t>(from + length));
    }

    std::mt19937_64 random_;
    const std::vector<Input>& seeds_;
};

// The value of `--name=VALUE` in `argument`; nothing when the argument is another.
std::optional<std::string> option(std::string_view argument, std::string_view name) {
    if (!argument.starts_with(name)) return std::nullopt;
    return std::string(argument.substr(name.size()));
}

}  // namespace

int main(int argc, char** argv) {
    catchFailures(argv[0]);
    if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
    double seconds = 3;
    std::uint64_t randomSeed = std::random_device{}() % 1000000000u;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        if (const auto value = option(argv[i], "--seconds="))
            seconds = std::strtod(value->c_str(), nullptr);
        else if (const auto value = option(argv[i], "--seed="))
            randomSeed = std::strtoull(value->c_str(), nullptr, 10);
        else
            paths.emplace_back(argv[i]);
    }
    const auto seeds = readSeeds(paths);
    std::printf("%zu seeds, random seed %llu (replay: --seed=%llu --seconds=%g)\n", seeds.size(),
                static_cast<unsigned long long>(randomSeed),
                static_cast<unsigned long long>(randomSeed), seconds);
    std::fflush(stdout);
    for (const Input& input : seeds) runOne(input);
    Mutator mutator(randomSeed, seeds);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::uint64_t runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        runOne(mutator.next());
        ++runs;
    }
    std::printf("%llu mutated inputs in %g s, no fault\n", static_cast<unsigned long long>(runs),
                seconds);
    return 0;
}
