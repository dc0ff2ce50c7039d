#pragma once

// A full value list as a user builds it: measurements like "12.345" with up
// to three decimals, about one in ten negative, one in fifty a text that is
// no number (a typo, a note), a few whole numbers. Fixed seed: every run
// measures the same list.

#include "files/ValueFile.h"

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace bench {

inline constexpr std::size_t kFullList = files::kMaxListItems;

/// Hands each value of the list to `take`, one at a time, without holding
/// the whole list (the memory figure must not count the generator).
template <typename Take>
void forEachTypicalValue(std::size_t count, Take take)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> kind(0, 99);
    std::uniform_int_distribution<int> whole(0, 99);
    std::uniform_int_distribution<int> thousandths(0, 999);
    static const char *const kTexts[] = {"abc", "n/a", "12,5", "－"};
    for (std::size_t i = 0; i < count; ++i) {
        const int k = kind(random);
        if (k < 2) {
            take(std::string(kTexts[i % 4]));
            continue;
        }
        std::string item = k < 12 ? "-" : "";
        item += std::to_string(whole(random));
        if (k % 20 != 0)
            item += "." + std::to_string(1000 + thousandths(random)).substr(1);
        take(std::move(item));
    }
}

inline std::vector<std::string> typicalValues(std::size_t count)
{
    std::vector<std::string> items;
    items.reserve(count);
    forEachTypicalValue(count, [&](std::string item) { items.push_back(std::move(item)); });
    return items;
}

} // namespace bench
