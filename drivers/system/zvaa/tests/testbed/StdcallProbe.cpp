#include "testbed/StdcallProbe.h"

#if defined(__i386__)
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

StdcallResult CallStdcall(const void *function, const std::vector<uintptr_t> &args) {
    StdcallResult result{};
    result.stackImbalance = zvaa_stdcall_probe(function, args.data(), (uint32_t)args.size(), &result.eax);
    return result;
}

#elif defined(__x86_64__)
// void probe(const void *fn, const uint64_t *args, uint64_t count, uint64_t out[3])
// Lays the arguments out as the x64 convention does (the first four in rcx, rdx, r8, r9 and in the
// 32 bytes of home space, the rest above it; the stack 16-byte aligned at the call), loads the
// callee-saved registers with marks, calls, and writes out[0] = rax, out[1] = rsp after the call less
// rsp before it, out[2] = a bit for each callee-saved register whose mark changed. The probe's own
// frame is found again through memory, so a callee that moves the stack pointer cannot lose it.
// Single-threaded, like the tests that use it.
asm(R"(
    # A callee-saved register gets its mark; after the call, a bit in r11 for one that lost it.
    .macro zvaa_mark reg, n
    movabsq $0x5A5A5A5A0000000\n, %\reg
    .endm
    .macro zvaa_check reg, n, bit
    movabsq $0x5A5A5A5A0000000\n, %rax
    cmpq  %rax, %\reg
    je    1f
    orq   $\bit, %r11
1:
    .endm
    .data
    .p2align 3
zvaa_probe_base: .quad 0
zvaa_probe_call_rsp: .quad 0
zvaa_probe_fn: .quad 0
zvaa_probe_out: .quad 0
    .text
    .globl zvaa_x64_probe
zvaa_x64_probe:
    pushq %rbp
    pushq %rbx
    pushq %rsi
    pushq %rdi
    pushq %r12
    pushq %r13
    pushq %r14
    pushq %r15
    movq  %rsp, zvaa_probe_base(%rip)
    movq  %rcx, zvaa_probe_fn(%rip)
    movq  %r9, zvaa_probe_out(%rip)
    movq  %r8, %rax
    cmpq  $4, %rax
    jae   1f
    movq  $4, %rax
1:  addq  $1, %rax
    andq  $-2, %rax
    shlq  $3, %rax
    subq  %rax, %rsp
    subq  $8, %rsp
    xorq  %r10, %r10
2:  cmpq  %r8, %r10
    jae   3f
    movq  (%rdx,%r10,8), %r11
    movq  %r11, (%rsp,%r10,8)
    incq  %r10
    jmp   2b
3:  movq  %rsp, zvaa_probe_call_rsp(%rip)
    movq  0(%rsp), %rcx
    movq  8(%rsp), %rdx
    movq  16(%rsp), %r8
    movq  24(%rsp), %r9
    zvaa_mark rbx, 1
    zvaa_mark rbp, 2
    zvaa_mark rsi, 3
    zvaa_mark rdi, 4
    zvaa_mark r12, 5
    zvaa_mark r13, 6
    zvaa_mark r14, 7
    zvaa_mark r15, 8
    call  *zvaa_probe_fn(%rip)
    movq  zvaa_probe_out(%rip), %r10
    movq  %rax, 0(%r10)
    movq  %rsp, %r11
    subq  zvaa_probe_call_rsp(%rip), %r11
    movq  %r11, 8(%r10)
    xorq  %r11, %r11
    zvaa_check rbx, 1, 1
    zvaa_check rbp, 2, 2
    zvaa_check rsi, 3, 4
    zvaa_check rdi, 4, 8
    zvaa_check r12, 5, 16
    zvaa_check r13, 6, 32
    zvaa_check r14, 7, 64
    zvaa_check r15, 8, 128
    movq  %r11, 16(%r10)
    movq  zvaa_probe_base(%rip), %rsp
    popq  %r15
    popq  %r14
    popq  %r13
    popq  %r12
    popq  %rdi
    popq  %rsi
    popq  %rbx
    popq  %rbp
    ret
)");

extern "C" void zvaa_x64_probe(const void *fn, const uint64_t *args, uint64_t count, uint64_t out[3]);

StdcallResult CallStdcall(const void *function, const std::vector<uintptr_t> &args) {
    uint64_t out[3] = {};
    zvaa_x64_probe(function, args.data(), args.size(), out);
    StdcallResult result{};
    result.eax = (uint32_t)out[0];
    result.stackImbalance = (int32_t)(int64_t)out[1];
    result.clobbered = (uint32_t)out[2];
    return result;
}
#endif

const void *VtableSlot(const void *object, int slot) {
    const void *const *table = *static_cast<const void *const *const *>(object);
    return table[slot];
}
