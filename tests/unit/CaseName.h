#pragma once
// Names parameterised cases by their `name` field, so a failure says which row.

#include <gtest/gtest.h>

#include <string>

namespace unittest {

template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& row)
{
    return std::string(row.param.name);
}

}  // namespace unittest
