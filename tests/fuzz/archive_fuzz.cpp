// Fuzz target of the archive check rules: the bytes are a path (and a PATH list) in
// code page 932; every rule must stay inside its buffers and keep its promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ctxmenu/rules/archive_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* path = text.c_str();   // stops at the first zero byte, as a path would

    const int format = ArchiveFormatOf(path);
    if (format < -1 || format >= static_cast<int>(kArchiveFormatCount)) std::abort();

    char message[320];
    if (!FormatDamagedMessage(message, sizeof message, path) || std::strlen(message) >= sizeof message) std::abort();
    char line[276];
    const std::size_t length = FormatLogLine(line, sizeof line, size % 2 == 0, path);
    if (length != std::strlen(line) || (length == 0 && std::strlen(path) + 8 < sizeof line)) std::abort();
    char proposed[260];
    ProposeLogPath(proposed, sizeof proposed, path);
    if (std::strlen(proposed) >= sizeof proposed || std::strstr(proposed, kArchiveLogName) == nullptr) std::abort();

    const char* cursor = path;
    char folder[16];
    while (NextListedFolder(&cursor, folder, sizeof folder)) {
        if (folder[0] == '\0' || std::strlen(folder) >= sizeof folder) std::abort();
    }
    return 0;
}
