#pragma once
// Calls a method of a COM interface by its slot in the method table, with
// the interface pointer and up to ten further 32-bit values, as the listing
// calls IEnumVARIANT::Next. The method is entered through a typed standard-
// call function pointer chosen by the number of values: no machine code is
// made at run time.
//
// The caller guarantees that the pointer, the slot and the number of values
// fit the method; nothing is checked.

#include <cstdint>
#include <optional>

// An optional argument: either a value or left out.
using OptionalArgument = std::optional<uint32_t>;

// Values stop at the first left-out argument; a value given after it is
// ignored. Returns the method's 32-bit result.
int32_t callInterfaceMethod(uint32_t interfacePointer, int32_t slot, OptionalArgument argument1 = {},
                            OptionalArgument argument2 = {}, OptionalArgument argument3 = {},
                            OptionalArgument argument4 = {}, OptionalArgument argument5 = {},
                            OptionalArgument argument6 = {}, OptionalArgument argument7 = {},
                            OptionalArgument argument8 = {}, OptionalArgument argument9 = {},
                            OptionalArgument argument10 = {});

// The address in slot `slot` of the interface's method table.
uint32_t getInterfaceMethodAddress(uint32_t interfacePointer, int32_t slot);

// The 32-bit value stored at `address`.
uint32_t readInt32At(uint32_t address);

// The address of a buffer that holds a zero byte (it is left unchanged).
uint32_t addressOfBuffer(void* buffer);

uint32_t addressOfVariable(uint32_t& variable);

// A pointer as the 32-bit value that the routines above take.
uint32_t addressOf(const void* pointer);
