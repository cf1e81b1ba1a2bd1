#include "ctxmenu/rules/attribute_rule.h"

unsigned ChosenAttributes(bool archive, bool readOnly, bool hidden)
{
    return (archive ? kAttributeArchive : 0u) | (readOnly ? kAttributeReadOnly : 0u) | (hidden ? kAttributeHidden : 0u);
}

unsigned NewAttributeValue(unsigned current, unsigned chosen, AttributeMode mode)
{
    switch (mode) {
    case AttributeMode::Add:
        return current | chosen;
    case AttributeMode::Remove:
        return current & ~chosen;
    case AttributeMode::Absolute:
    default:
        return chosen;
    }
}

AttributeTarget TargetFor(int listIndex, bool isFolder)
{
    switch (listIndex) {
    case 0:
        return isFolder ? AttributeTarget::Leave : AttributeTarget::Change;
    case 1:
        return isFolder ? AttributeTarget::Change : AttributeTarget::Leave;
    case 2:
        return AttributeTarget::Change;
    default:
        return AttributeTarget::Invalid;
    }
}
