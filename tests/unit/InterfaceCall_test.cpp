// callInterfaceMethod and its small routines against a COM-like object of
// the tests' own, whose methods take 1 to 11 values and return a mix of all
// of them in order, so a lost, swapped or extra value shows.

#include "syshelper/InterfaceCall.h"

#include <windows.h>
#include <oleauto.h>

#include "CaseName.h"
#include "tests/support/ParamPrint.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Order-sensitive: each value is weighted by its position.
int32_t mixValues(const std::vector<uint32_t>& values)
{
    uint32_t mixed = 0x811C9DC5u;
    for (uint32_t value : values) mixed = (mixed ^ value) * 0x01000193u;
    return static_cast<int32_t>(mixed);
}

template <size_t>
using Value = uint32_t;

template <size_t... Index>
struct MethodOf {
    static int32_t STDMETHODCALLTYPE call(Value<Index>... values) { return mixValues({values...}); }
};

template <size_t... Index>
constexpr auto methodAddress(std::index_sequence<Index...>)
{
    return &MethodOf<Index...>::call;
}

// Slots 0 to 2 stand where IUnknown's methods would be; slot 3 + k takes
// the interface pointer and k further values.
constexpr int32_t firstMethodSlot = 3;

struct TestInterface {
    const void* const* methodTable;
};

template <size_t... Count>
std::array<const void*, firstMethodSlot + sizeof...(Count)> makeMethodTable(std::index_sequence<Count...>)
{
    return {nullptr, nullptr, nullptr,
            reinterpret_cast<const void*>(methodAddress(std::make_index_sequence<Count + 1>{}))...};
}

class InterfaceCallTest : public ::testing::Test {
protected:
    uint32_t pointer() const { return addressOf(&object); }

    const std::array<const void*, firstMethodSlot + 11> methodTable = makeMethodTable(std::make_index_sequence<11>{});
    const TestInterface object{methodTable.data()};
};

TEST_F(InterfaceCallTest, MethodAddressIsTheEntryOfTheMethodTable)
{
    for (int32_t slot = 0; slot < static_cast<int32_t>(methodTable.size()); ++slot) {
        EXPECT_EQ(getInterfaceMethodAddress(pointer(), slot), addressOf(methodTable[slot])) << "slot " << slot;
    }
}

// Every value reaches the method in order, with the interface pointer first,
// for every number of further values from 0 to 10.
TEST_F(InterfaceCallTest, PassesEveryGivenValueInOrder)
{
    const std::array<uint32_t, 10> given{0x11111111u, 2, 0xFFFFFFFFu, 4, 0x80000000u, 6, 7, 8, 9, 10};
    for (size_t count = 0; count <= given.size(); ++count) {
        std::array<OptionalArgument, 10> arguments{};
        std::vector<uint32_t> expected{pointer()};
        for (size_t index = 0; index < count; ++index) {
            arguments[index] = given[index];
            expected.push_back(given[index]);
        }
        const int32_t slot = firstMethodSlot + static_cast<int32_t>(count);
        const int32_t result =
            callInterfaceMethod(pointer(), slot, arguments[0], arguments[1], arguments[2], arguments[3], arguments[4],
                                arguments[5], arguments[6], arguments[7], arguments[8], arguments[9]);
        EXPECT_EQ(result, mixValues(expected)) << count << " further values";
    }
}

struct LeftOutCase {
    const char* name;
    std::array<OptionalArgument, 10> arguments;
    std::vector<uint32_t> valuesAfterPointer;
};

// The arguments up to the last one given, "-" for one left out.
void PrintTo(const LeftOutCase& c, std::ostream* out)
{
    size_t count = c.arguments.size();
    while (count > 0 && !c.arguments[count - 1]) --count;
    *out << "arguments";
    for (size_t index = 0; index < count; ++index) {
        *out << ' ';
        if (c.arguments[index]) {
            *out << *c.arguments[index];
        } else {
            *out << '-';
        }
    }
}

class LeftOutArgumentTest : public InterfaceCallTest, public ::testing::WithParamInterface<LeftOutCase> {};

// Values stop at the first left-out argument; any given after it is ignored.
TEST_P(LeftOutArgumentTest, ValuesStopAtTheFirstLeftOutArgument)
{
    const LeftOutCase& testCase = GetParam();
    const auto& arguments = testCase.arguments;
    std::vector<uint32_t> expected{pointer()};
    expected.insert(expected.end(), testCase.valuesAfterPointer.begin(), testCase.valuesAfterPointer.end());
    const int32_t slot = firstMethodSlot + static_cast<int32_t>(testCase.valuesAfterPointer.size());
    EXPECT_EQ(callInterfaceMethod(pointer(), slot, arguments[0], arguments[1], arguments[2], arguments[3],
                                  arguments[4], arguments[5], arguments[6], arguments[7], arguments[8], arguments[9]),
              mixValues(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeftOutArgumentTest,
    ::testing::Values(
        LeftOutCase{"FirstLeftOutSecondGiven", {std::nullopt, 5u}, {}},
        LeftOutCase{"ThirdLeftOut", {1u, 2u, std::nullopt, 4u, 5u}, {1, 2}},
        LeftOutCase{"OnlyLastLeftOut", {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, std::nullopt}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        LeftOutCase{"ZeroIsAValue", {0u, 0u}, {0, 0}}),
    unittest::caseName<LeftOutCase>);

TEST(InterfaceCallRoutines, ReadInt32AtReadsTheStoredValue)
{
    const std::array<uint32_t, 2> stored{0xDEADBEEFu, 0x00000001u};
    EXPECT_EQ(readInt32At(addressOf(&stored[0])), 0xDEADBEEFu);
    EXPECT_EQ(readInt32At(addressOf(&stored[1])), 1u);
}

TEST(InterfaceCallRoutines, AddressOfVariableIsItsAddress)
{
    uint32_t fetched = 0;
    EXPECT_EQ(addressOfVariable(fetched), addressOf(&fetched));
}

// The item buffer of a listing: a VARIANT whose type field holds a zero
// byte. Taking its address must not change a single byte of it.
TEST(InterfaceCallRoutines, AddressOfBufferLeavesTheBufferUnchanged)
{
    VARIANT item;
    VariantInit(&item);
    item.vt = VT_I4;
    item.lVal = 0x12345678;
    VARIANT before = item;
    EXPECT_EQ(addressOfBuffer(&item), addressOf(&item));
    EXPECT_EQ(memcmp(&before, &item, sizeof item), 0);
}

}  // namespace
