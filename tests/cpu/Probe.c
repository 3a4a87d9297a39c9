/* The disassembly test's own check: this program is compiled for the Pentium Pro, so that
 * probe_pick holds a cmov the test must find and name, and it carries the same instruction's
 * bytes as data in its code section (the linker puts .gcc_except_table there), which the test
 * must not take for code. */
#include <windows.h>

__attribute__((noinline)) int probe_pick(int choose, int a, int b) {
    return choose ? a : b;
}

/* cmove %eax,%eax, three times over, as data. */
__attribute__((used, section(".gcc_except_table"))) static const unsigned char probe_data[] = {
    0x0f, 0x44, 0xc0, 0x0f, 0x44, 0xc0, 0x0f, 0x44, 0xc0};

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    (void)instance;
    (void)previous;
    (void)show;
    return probe_pick(command_line[0] != 0, 3, 4);
}
