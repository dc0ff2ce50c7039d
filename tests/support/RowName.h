#pragma once

#include <gtest/gtest.h>

#include <string>

/// Names each row of a parameter table after its `name` field.
struct RowName
{
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row> &info) const
    {
        return std::string(info.param.name);
    }
};
