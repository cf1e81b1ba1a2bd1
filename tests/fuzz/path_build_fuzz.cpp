// Path joining into a buffer of any size. Input: buffer size, then the folder text and
// the name text.
#include <cstdint>
#include <string>

#include "common/rules/path_build.h"
#include "fuzz_input.h"

namespace {

using Builder = bool (*)(char*, std::size_t, const char*, const char*);

// The result is the three parts, or, when it does not fit with its terminator, false
// and an empty buffer; nothing is written past the buffer.
void Check(Builder build, const std::string& a, const char* middle, const std::string& b, std::size_t outSize)
{
    const std::string expected = a + middle + b;
    ExactBuffer out(outSize);
    const ExactBuffer first = ExactText(a), second = ExactText(b);
    const bool built = build(out.get(), out.size, first.data.get(), second.data.get());
    FUZZ_CHECK(built == (expected.size() < outSize));
    if (outSize == 0) return;
    FUZZ_CHECK(built ? expected == out.get() : out.get()[0] == '\0');
    // A part missing builds nothing.
    FUZZ_CHECK(!build(out.get(), out.size, nullptr, second.data.get()) && out.get()[0] == '\0');
    FUZZ_CHECK(!build(out.get(), out.size, first.data.get(), nullptr) && out.get()[0] == '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::size_t outSize = in.Number(2 * kPathSize);
    const std::string folder = in.Text(), name = in.Text();
    Check(JoinChildPath, folder, "\\", name, outSize);
    Check(ConcatPath, folder, "", name, outSize);
    FUZZ_CHECK(!JoinChildPath(nullptr, outSize, folder.c_str(), name.c_str()));
    return 0;
}
