#pragma once

#include "print/Report.h"

#include <string>
#include <vector>

/// Scratch-file lines "1", "2", ... up to count.
inline std::vector<std::string> numbered(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back(std::to_string(i));
    return lines;
}

/// The boxes as a calculation over 1 to 25 with 3σ leaves them.
inline report::BoxTexts calculatedBoxes()
{
    report::BoxTexts boxes;
    boxes.mean = "13";
    boxes.standardDeviation = "7.2111";
    boxes.upperLimit = "34.6333";
    boxes.lowerLimit = "-8.6333";
    boxes.aboveCount = "2";
    boxes.abovePercent = "10";
    boxes.belowCount = "0";
    boxes.belowPercent = "0";
    boxes.count = "25";
    boxes.maximum = "25";
    boxes.minimum = "1";
    return boxes;
}
