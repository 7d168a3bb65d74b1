// Calls an operation through a raw function pointer with a given list of arguments and reports what the
// calling convention promises the caller.
// - x86 (stdcall): how far the stack pointer moved against a callee that pops exactly those arguments.
//   0 means the callee took the argument count the caller pushed; anything else would corrupt a real
//   caller's stack.
// - x64 (the one convention: the caller cleans the stack): the stack pointer and the callee-saved
//   registers (rbx, rbp, rsi, rdi, r12 to r15) must come back unchanged.
#pragma once

#include <stdint.h>
#include <vector>

struct StdcallResult {
    uint32_t eax;            // the low 32 bits of the return register (an HRESULT or ULONG here)
    int32_t stackImbalance;  // bytes left on (positive) or taken off (negative) the stack
    uint32_t clobbered;      // x64: a bit for each callee-saved register that came back changed
};

StdcallResult CallStdcall(const void *function, const std::vector<uintptr_t> &args);

// The function in slot `slot` of a COM object's table of virtual operations.
const void *VtableSlot(const void *object, int slot);

template <typename T> uintptr_t Arg(T value) { return (uintptr_t)value; }
