#include "files/Paste.h"

#include "files/ValueLines.h"

namespace files {

PastePlan planPaste(std::string_view text, std::size_t room, std::size_t maxLineLength)
{
    PastePlan plan;
    plan.values = splitPastedValues(text);
    for (std::size_t i = 0; i < plan.values.size(); ++i) {
        if (longerThan(plan.values[i], maxLineLength)) {
            plan.verdict = PasteVerdict::TooLong;
            plan.tooLongIndex = i;
            plan.tooLongLength = characterCount(plan.values[i]);
            return plan;
        }
    }
    if (plan.values.size() > room)
        plan.verdict = PasteVerdict::TooMany;
    return plan;
}

} // namespace files
