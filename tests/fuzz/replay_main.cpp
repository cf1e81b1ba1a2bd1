// Runs inputs through a fuzz target without the fuzzer: the empty input, then every
// file of each folder given (in name order), or a single file given by name. Used to
// replay the committed corpora under the sanitizers on every test run, and to replay a
// finding. A folder that does not exist is an error.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::size_t replayed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given(argv[i]);
        std::error_code error;
        if (std::filesystem::is_regular_file(given, error)) {
            if (!Replay(given)) return 1;
            ++replayed;
            continue;
        }
        if (!std::filesystem::is_directory(given, error)) {
            std::fprintf(stderr, "replay: no such corpus folder or file: %s\n", argv[i]);
            return 1;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(given, error))
            if (entry.is_regular_file()) files.push_back(entry.path());
        if (error) {
            std::fprintf(stderr, "replay: cannot list %s\n", argv[i]);
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            if (!Replay(file)) return 1;
            ++replayed;
        }
    }
    std::printf("replay: %zu inputs passed\n", replayed);
    return 0;
}
