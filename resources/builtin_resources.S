// The resource container, included byte for byte into read-only data. The path comes from
// the build (VAELO_RESOURCE_CONTAINER); resources/CMakeLists.txt rebuilds this object when the
// container changes.
    .section .rodata
    .balign 16
    .globl vaelo_builtin_resources_begin
    .type vaelo_builtin_resources_begin, @object
vaelo_builtin_resources_begin:
    .incbin VAELO_RESOURCE_CONTAINER
    .globl vaelo_builtin_resources_end
    .type vaelo_builtin_resources_end, @object
vaelo_builtin_resources_end:
    .byte 0
    .size vaelo_builtin_resources_begin, vaelo_builtin_resources_end - vaelo_builtin_resources_begin

    .section .note.GNU-stack, "", @progbits
