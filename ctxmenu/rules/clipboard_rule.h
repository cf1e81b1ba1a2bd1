// The lines of the file list: the columns of one item laid out as code page 932 text.
// No Win32 here; every output goes into a caller's buffer of an explicit size.
#pragma once
#include <cstddef>
#include <cstdint>

// The line buffer of one item, indentation included.
inline constexpr std::size_t kListLineSize = 1536;
inline constexpr unsigned kIndentWidth = 4;   // blanks per depth level

// The three lists of the dialog, in the order their index is stored.
inline constexpr std::size_t kSizeUnitCount = 5;
inline constexpr std::size_t kDateFormatCount = 2;
inline constexpr std::size_t kTimeFormatCount = 2;
extern const char* const kSizeUnitLabels[kSizeUnitCount];
extern const char* const kDateFormatLabels[kDateFormatCount];
extern const char* const kTimeFormatLabels[kTimeFormatCount];

// The settings of one run, read from the live dialog. Flags are 1 or 0.
struct ListFormat {
    int pathFlag;      // the name column shows the full path
    int sizeFlag;
    int dateFlag;
    int timeFlag;
    int versionFlag;
    int width;         // name column width in bytes, 0..255
    int sizeUnit;      // index into the unit list; outside 1..4 counts as 0
    int dateFormat;    // only 1 picks the second format
    int timeFormat;
    int thousandsFlag;
    int subfolderFlag;
};

// What a line shows of one item.
struct ListItemFacts {
    const char* name;        // the name column's text: the full path or the final component
    std::uint64_t size;      // the whole size in bytes; 0 for a folder
    bool timeKnown;          // false when the item's modification time could not be read
    unsigned year, month, day, hour, minute, second;   // local modification time
    unsigned version[4];     // file version, most significant first; 0.0.0.0 when none
};

// The number of the width edit box as a column width: taken modulo 256.
inline int ColumnWidthFromNumber(unsigned number) { return static_cast<int>(number % 256); }

// The size in the unit of `unitIndex`, rounded up: any non-empty file shows at least 1.
std::uint64_t SizeFigure(std::uint64_t size, int unitIndex);
// "KB", "MB", or "" for bytes.
const char* SizeUnitText(int unitIndex);

// The value in decimal with "," between groups of three digits from the right
// ("1,234,567"). False, `out` empty, when it does not fit with its terminator.
bool FormatThousands(char* out, std::size_t outSize, std::uint64_t value);

// The line of one item without indentation, ended by CR LF: the name padded with blanks
// to the column width (a longer name is written whole), then the size, date, time and
// version fields whose flags are on. False, `line` empty, when it does not fit.
bool FormatListLine(const ListFormat& format, const ListItemFacts& facts, char* line, std::size_t lineSize);

// The line of an item whose facts could not be read: the text followed by CR LF.
bool FormatBareLine(const char* text, char* line, std::size_t lineSize);

// Puts 4 blanks per depth level in front of the line in place. False, the line left as
// it was, when the result would not fit.
bool IndentListLine(unsigned depth, char* line, std::size_t lineSize);
