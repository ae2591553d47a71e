#include "syshelper/InterfaceCall.h"

#include <windows.h>

#include <array>
#include <utility>
#include <vector>

static_assert(sizeof(void*) == sizeof(uint32_t), "interface-method calls pass pointers as 32-bit values");

namespace {

constexpr size_t maximumValues = 11;

template <size_t>
using Value = uint32_t;

template <size_t... Index>
int32_t callWithValues(uint32_t methodAddress, const uint32_t* values, std::index_sequence<Index...>)
{
    // The standard calling convention of COM methods: every value on the
    // stack, the first one pushed last, the callee removes them.
    using Method = int32_t(STDMETHODCALLTYPE*)(Value<Index>...);
    const auto method = reinterpret_cast<Method>(static_cast<uintptr_t>(methodAddress));
    return method(values[Index]...);
}

template <size_t Count>
int32_t callWith(uint32_t methodAddress, const uint32_t* values)
{
    return callWithValues(methodAddress, values, std::make_index_sequence<Count>{});
}

using Caller = int32_t (*)(uint32_t methodAddress, const uint32_t* values);

// callers[n - 1] calls a method of n values.
template <size_t... CountLessOne>
constexpr std::array<Caller, sizeof...(CountLessOne)> makeCallers(std::index_sequence<CountLessOne...>)
{
    return {&callWith<CountLessOne + 1>...};
}

constexpr auto callers = makeCallers(std::make_index_sequence<maximumValues>{});

}  // namespace

int32_t callInterfaceMethod(uint32_t interfacePointer, int32_t slot, OptionalArgument argument1,
                            OptionalArgument argument2, OptionalArgument argument3, OptionalArgument argument4,
                            OptionalArgument argument5, OptionalArgument argument6, OptionalArgument argument7,
                            OptionalArgument argument8, OptionalArgument argument9, OptionalArgument argument10)
{
    const std::array<OptionalArgument, maximumValues - 1> optional{argument1, argument2, argument3, argument4,
                                                                  argument5, argument6, argument7, argument8,
                                                                  argument9, argument10};
    std::vector<uint32_t> values{interfacePointer};
    for (const OptionalArgument& argument : optional) {
        if (!argument) break;
        values.push_back(*argument);
    }
    const uint32_t methodAddress = getInterfaceMethodAddress(interfacePointer, slot);
    return callers[values.size() - 1](methodAddress, values.data());
}

uint32_t getInterfaceMethodAddress(uint32_t interfacePointer, int32_t slot)
{
    const uint32_t methodTable = readInt32At(interfacePointer);
    // Unsigned arithmetic wraps modulo 2^32, so tables above 2 GB are found.
    return readInt32At(methodTable + static_cast<uint32_t>(slot) * 4u);
}

uint32_t readInt32At(uint32_t address)
{
    uint32_t value = 0;
    RtlMoveMemory(&value, reinterpret_cast<const void*>(static_cast<uintptr_t>(address)), sizeof value);
    return value;
}

uint32_t addressOfBuffer(void* buffer)
{
    // lstrcatA returns its first argument; appending nothing only rewrites
    // the buffer's first zero byte with zero.
    return addressOf(lstrcatA(static_cast<LPSTR>(buffer), ""));
}

uint32_t addressOfVariable(uint32_t& variable)
{
    return addressOf(&variable);
}

uint32_t addressOf(const void* pointer)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}
