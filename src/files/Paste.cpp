#include "files/Paste.h"

#include "files/ValueLines.h"

namespace files {

PastePlan planValues(std::vector<std::string> values, std::size_t room, std::size_t maxLineLength)
{
    PastePlan plan;
    plan.values = std::move(values);
    for (std::size_t i = 0; i < plan.values.size(); ++i) {
        if (longerThan(plan.values[i], maxLineLength)) {
            plan.verdict = PasteVerdict::TooLong;
            plan.tooLongIndex = i;
            plan.tooLongLength = characterCount(plan.values[i]);
            return plan;
        }
    }
    for (std::size_t i = 0; i < plan.values.size(); ++i) {
        if (plan.values[i].find_first_of("\r\n\t") != std::string::npos) {
            plan.verdict = PasteVerdict::HoldsBreak;
            plan.tooLongIndex = i;
            return plan;
        }
    }
    if (plan.values.size() > room)
        plan.verdict = PasteVerdict::TooMany;
    return plan;
}

PastePlan planPaste(std::string_view text, std::size_t room, std::size_t maxLineLength)
{
    return planValues(splitPastedValues(text), room, maxLineLength);
}

} // namespace files
