// The class ids of the two handlers as the platform's GUIDs, made from their one
// registry text (common/rules/class_ids.h).
#pragma once
#include <windows.h>

#include "common/rules/class_ids.h"

constexpr CLSID MakeClassId(const ClassIdNumbers& n)
{
    return CLSID{n.data1, n.data2, n.data3,
                 {n.data4[0], n.data4[1], n.data4[2], n.data4[3], n.data4[4], n.data4[5], n.data4[6], n.data4[7]}};
}

inline constexpr CLSID CLSID_KelmoraShellExt = MakeClassId(ParseClassId(KELMORA_CLSID));
inline constexpr CLSID CLSID_OrvidDragDropExt = MakeClassId(ParseClassId(ORVID_CLSID));
