// The attribute change rule: the new attribute value from the chosen attributes and the
// mode, which items a run changes, and the loading rule of the option block. No Win32
// here: the attribute bits are the platform's values, spelled out.
#pragma once
#include <cstddef>

inline constexpr unsigned kAttributeReadOnly = 0x01;
inline constexpr unsigned kAttributeHidden = 0x02;
inline constexpr unsigned kAttributeFolder = 0x10;
inline constexpr unsigned kAttributeArchive = 0x20;

enum class AttributeMode { Absolute, Add, Remove };

// The set the three check boxes choose.
unsigned ChosenAttributes(bool archive, bool readOnly, bool hidden);

// Absolute: exactly `chosen` (every other settable attribute is cleared). Add: `current`
// with the chosen bits set. Remove: `current` with the chosen bits cleared.
unsigned NewAttributeValue(unsigned current, unsigned chosen, AttributeMode mode);

// The list of 1084: 0 files only, 1 folders only, 2 both.
enum class AttributeTarget { Change, Leave, Invalid };
AttributeTarget TargetFor(int listIndex, bool isFolder);
