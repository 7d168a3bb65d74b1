#include "support/StdcallProbe.h"

#include <vector>

// int32_t probe(const void *fn, const uint32_t *args, uint32_t count, uint32_t *eax)
// Pushes the arguments right to left, calls, and returns (esp before the pushes) - (esp after the
// call): the bytes the callee left on the stack. The stack pointer is restored from a callee-saved register whatever the callee did.
asm(R"(
    .text
    .globl _zvaa_stdcall_probe
_zvaa_stdcall_probe:
    pushl %ebp
    movl  %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl  12(%ebp), %esi
    movl  16(%ebp), %ecx
    movl  %esp, %edi
1:  testl %ecx, %ecx
    jz    2f
    decl  %ecx
    pushl (%esi,%ecx,4)
    jmp   1b
2:  call  *8(%ebp)
    movl  20(%ebp), %ecx
    movl  %eax, (%ecx)
    movl  %edi, %eax
    subl  %esp, %eax
    movl  %edi, %esp
    popl  %edi
    popl  %esi
    popl  %ebx
    popl  %ebp
    ret
)");

extern "C" int32_t zvaa_stdcall_probe(const void *fn, const uint32_t *args, uint32_t count, uint32_t *eax);

StdcallResult CallStdcall(const void *function, std::initializer_list<uint32_t> args) {
    std::vector<uint32_t> list(args);
    StdcallResult result{};
    result.stackImbalance = zvaa_stdcall_probe(function, list.data(), (uint32_t)list.size(), &result.eax);
    return result;
}

const void *VtableSlot(const void *object, int slot) {
    const void *const *table = *static_cast<const void *const *const *>(object);
    return table[slot];
}
