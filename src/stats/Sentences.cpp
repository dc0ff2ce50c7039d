#include "stats/Sentences.h"

#include "stats/NumberText.h"

#include <cstdint>

namespace stats::sentences {

namespace {

std::string grouped(std::size_t count)
{
    return groupedInteger(static_cast<std::int64_t>(count));
}

} // namespace

std::string tooLargeToCalculate()
{
    return "値が大きすぎるため計算できません。";
}

std::string withoutNumber(std::size_t count)
{
    return "数値として読めない値が " + grouped(count) + " 個あります（0 として計算しました）";
}

std::string partlyRead(std::size_t count)
{
    return "数値の後に文字が続く値が " + grouped(count) + " 個あります（文字の前の数値で計算しました）";
}

std::string blanksInside(std::size_t count)
{
    return "数字の間に空白がある値が " + grouped(count) + " 個あります（空白を詰めて読みました）";
}

std::string couldNotSave(std::string_view name)
{
    return "ファイル「" + std::string(name) + "」に保存できませんでした。";
}

} // namespace stats::sentences
