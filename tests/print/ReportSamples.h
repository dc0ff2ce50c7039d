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
    boxes.Text10 = "25";
    boxes.Text2 = "13";
    boxes.Text3 = "7.2111";
    boxes.Text4 = "34.6333";
    boxes.Text5 = "-8.6333";
    boxes.Text6 = "2";
    boxes.Text7 = "10";
    boxes.Text8 = "0";
    boxes.Text9 = "0";
    boxes.Text11 = "25";
    boxes.Text12 = "1";
    return boxes;
}
