// Calls a stdcall function with a given list of 32-bit arguments and reports how far the stack
// pointer moved against a callee that pops exactly those arguments. 0 means the callee took the
// argument count the caller pushed; anything else would corrupt a real caller's stack.
#pragma once

#include <stdint.h>
#include <initializer_list>

struct StdcallResult {
    uint32_t eax;
    int32_t stackImbalance;  // bytes left on (positive) or taken off (negative) the stack
};

StdcallResult CallStdcall(const void *function, std::initializer_list<uint32_t> args);

// The function in slot `slot` of a COM object's table of virtual operations.
const void *VtableSlot(const void *object, int slot);

template <typename T> uint32_t Arg(T value) { return (uint32_t)(uintptr_t)value; }
