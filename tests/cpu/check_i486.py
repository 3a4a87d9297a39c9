#!/usr/bin/env python3
"""Reads the machine code of every shipped file and fails on any instruction a 486DX lacks.

Windows 98 runs on a 486DX. A Pentium Pro instruction (cmovCC, fcmovCC, fcomi, fucomi), a
Pentium one (rdtsc, cmpxchg8b), MMX, SSE, a long NOP (nopw/nopl) and the like stop the program
there with an invalid-opcode fault; Wine on a modern processor runs them all, so only reading
the code catches them.

What is read: Setup.exe unpacked with 7-Zip as a user would (so Setup.exe itself, the
Uninstall.exe it writes, Veltrim.exe and every plugin inside), and Veltrim.exe as built.

How code is told from data: objdump's linear sweep reads whatever bytes a code section holds,
and the linker puts data there too (the C++ exception tables, the constructor lists), which
read as nonsense instructions and can take the sweep out of step for a few instructions after
them. So a file is read with its linker map (Veltrim.map for Veltrim.exe; the maps of the NSIS
stubs and plugins, kept beside them by scripts/build-i486-runtime.sh): only the compiled-code
input sections the map lists (.text, .text$name) are checked, each decoded from its own first
byte, which is the first byte of a function. A file is matched to a map by the bytes and
addresses of its code sections, so a map is never applied to code it does not describe. A file
with no map (a stub or plugin from elsewhere) is read whole, and then every hit counts: there
is nothing to excuse a false alarm with, and it must not pass unread.

Each finding names the file, the function (the symbol in the map, or the function a
-ffunction-sections section is named after, demangled), the object it was linked from, the
address and the instruction.

Usage: check_i486.py --objdump OBJDUMP --sevenzip 7Z --setup Setup.exe
                     --program Veltrim.exe --map Veltrim.map --nsis NSISDIR [--work DIR]
       check_i486.py --objdump OBJDUMP --program PROGRAM --map MAP   (that program alone)
"""

import argparse
import hashlib
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

# Every instruction of the 486DX in objdump's AT&T spelling: the 8086 to 386 instructions,
# the 486's own (bswap, cmpxchg, xadd, invd, wbinvd, invlpg) and the 387 instructions its
# built-in FPU runs. A mnemonic may carry an operand-size suffix (movl, fildll, fstpt).
I486 = set("""
aaa aad aam aas adc add and arpl bound bsf bsr bswap bt btc btr bts call lcall cbtw cwtl cwtd
cltd clc cld cli clts cmc cmp cmps cmpsb cmpsw cmpsl cmpxchg daa das dec div enter hlt idiv
imul in inc ins insb insw insl int int3 into iret invd invlpg jmp ljmp ja jae jb jbe jc je jg
jge jl jle jna jnae jnb jnbe jnc jne jng jnge jnl jnle jno jnp jns jnz jo jp jpe jpo js jz jcxz
jecxz lahf lar lds les lfs lgs lss lea leave lgdt lidt lldt lmsw lods lodsb lodsw lodsl loop
loope loopne loopz loopnz lret lsl ltr mov movs movsb movsw movsl movsbw movsbl movswl movzbw
movzbl movzwl mul neg nop not or out outs outsb outsw outsl pop popa popf push pusha pushf rcl
rcr ret rol ror sahf sal sar sbb scas scasb scasw scasl seta setae setb setbe setc sete setg
setge setl setle setna setnae setnb setnbe setnc setne setng setnge setnl setnle setno setnp
setns setnz seto setp setpe setpo sets setz sgdt shl shld shr shrd sidt sldt smsw stc std sti
stos stosb stosw stosl str sub test verr verw wait wbinvd xadd xchg xlat xor
f2xm1 fabs fadd faddp fiadd fbld fbstp fchs fclex fnclex fcom fcomp fcompp ficom ficomp fcos
fdecstp fdiv fdivp fidiv fdivr fdivrp fidivr ffree fild fist fistp fincstp finit fninit fld
fld1 fldl2t fldl2e fldpi fldlg2 fldln2 fldz fldcw fldenv fmul fmulp fimul fnop fpatan fprem
fprem1 fptan frndint frstor fsave fnsave fscale fsin fsincos fsqrt fst fstp fstcw fnstcw
fstenv fnstenv fstsw fnstsw fsub fsubp fisub fsubr fsubrp fisubr ftst fucom fucomp fucompp
fwait fxam fxch fxtract fyl2x fyl2xp1
""".split())

# Encodings a later processor reads as something new but a 486 runs as an instruction it has,
# with the same effect where a compiler for the 486 puts them:
#   pause  (F3 90): "rep nop", a NOP;
#   tzcnt  (F3 0F BC): "rep bsf", BSF; GCC writes it for BSF only where the operand is known
#          not to be zero, where the two give the same result;
#   ud2    (0F 0B): raises the invalid-opcode fault it exists for (__builtin_trap) on every
#          processor.
RUNS_AS_486 = {"pause", "tzcnt", "ud2"}

PREFIXES = {"rep", "repz", "repe", "repnz", "repne", "lock", "data16", "data32", "addr16",
            "addr32", "cs", "ds", "es", "ss", "fs", "gs"}
SUFFIXES = ("ll", "b", "w", "l", "q", "s", "t")
NEW_REGISTER = re.compile(r"%(?:[xyz]?mm\d+|k[0-7]\b)")
EFLAGS_ID = "$0x200000"

# Functions that hold newer instructions yet are never entered on a processor without them.
# libstdc++'s random device reads the processor's random-number generator through these three
# only after CPUID has reported RDRAND/RDSEED (every such processor has CMOV too); on Windows
# its default source is rand_s, and the program never makes a random device at all: the
# functions are linked only because the library object that defines std::random_device comes
# with the string code every C++ program uses.
GUARDED_BY_CPUID = {
    ("libstdc++.a(random.o)", "std::(anonymous namespace)::__x86_rdrand(void*)"),
    ("libstdc++.a(random.o)", "std::(anonymous namespace)::__x86_rdseed(void*)"),
    ("libstdc++.a(random.o)", "std::(anonymous namespace)::__x86_rdseed_rdrand(void*)"),
}


def is_486(mnemonic):
    if mnemonic in I486:
        return True
    if mnemonic.startswith("nop"):
        return False  # nopw / nopl: the long NOP (0F 1F) came with the Pentium Pro
    for suffix in SUFFIXES:
        if mnemonic.endswith(suffix) and mnemonic[: -len(suffix)] in I486:
            return True
    return False


class Section:
    def __init__(self, name, start, size, raw):
        self.name, self.start, self.size, self.raw = name, start, size, raw


def code_sections(path):
    """The executable sections of a PE file: name, virtual address, size and bytes."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    sections, opt_size = struct.unpack_from("<HxxxxxxxxxxxxH", data, pe + 6)
    opt = pe + 24
    if struct.unpack_from("<H", data, opt)[0] != 0x10B:
        return None  # not a 32-bit image
    image_base = struct.unpack_from("<I", data, opt + 28)[0]
    result = []
    table = opt + opt_size
    for i in range(sections):
        entry = table + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0").decode("latin-1")
        vsize, vaddr, rsize, rptr = struct.unpack_from("<IIII", data, entry + 8)
        flags = struct.unpack_from("<I", data, entry + 36)[0]
        if flags & 0x20000020:  # IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE
            size = min(vsize or rsize, rsize)
            result.append(Section(name, image_base + vaddr, size, data[rptr:rptr + size]))
    return result


def code_key(sections):
    h = hashlib.sha256()
    for s in sections:
        h.update(f"{s.name}:{s.start:x}:{s.size:x}:".encode())
        h.update(s.raw)
    return h.hexdigest()


def demangle(names):
    if not names:
        return {}
    try:
        out = subprocess.run(["c++filt"], input="\n".join(names), capture_output=True,
                             text=True, check=True).stdout.splitlines()
    except (OSError, subprocess.CalledProcessError):
        return {n: n for n in names}
    return dict(zip(names, out))


class Piece:
    """One input section of compiled code, as the linker map lists it."""

    def __init__(self, name, start, size, obj):
        self.name, self.start, self.size, self.obj = name, start, size, obj
        self.symbols = []  # (address, name)

    @property
    def end(self):
        return self.start + self.size


def read_map(path):
    """The compiled-code input sections of the .text output section, with their symbols."""
    pieces = []
    in_text = False
    pending = None
    current = None
    section_line = re.compile(r"^ (\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
    name_only = re.compile(r"^ (\.\S+)$")
    continuation = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
    symbol_line = re.compile(r"^\s+0x([0-9a-f]+)\s+(\S.*)$")
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if re.match(r"^\.\S+", line):  # an output section
                in_text = line.split()[0] == ".text"
                current = None
                continue
            if not in_text:
                continue
            name = start = size = obj = None
            m = section_line.match(line)
            if m:
                name, start, size, obj = m.group(1), m.group(2), m.group(3), m.group(4)
            elif pending and continuation.match(line):
                m = continuation.match(line)
                name, start, size, obj = pending, m.group(1), m.group(2), m.group(3)
            pending = None
            if name is not None:
                current = None
                if (name == ".text" or name.startswith((".text$", ".text."))) and int(size, 16):
                    current = Piece(name, int(start, 16), int(size, 16), obj)
                    pieces.append(current)
                continue
            m = name_only.match(line)
            if m:
                pending = m.group(1)
                current = None
                continue
            m = symbol_line.match(line)
            if m and current and " = " not in m.group(2) and not m.group(2).startswith("0x"):
                current.symbols.append((int(m.group(1), 16), m.group(2).strip()))
    return pieces


def short_object(obj):
    """libstdc++.a(random.o) rather than the whole path."""
    m = re.search(r"([^/]+\.a\([^)]+\))$", obj)
    return m.group(1) if m else os.path.basename(obj)


class Instruction:
    __slots__ = ("address", "length", "text", "mnemonic", "operands")

    def __init__(self, address, length, text):
        self.address, self.length, self.text = address, length, text
        words = text.split()
        while len(words) > 1 and words[0] in PREFIXES:
            words = words[1:]
        self.mnemonic = words[0] if words else ""
        self.operands = " ".join(words[1:])


LINE = re.compile(r"^\s*([0-9a-f]+):\t((?:[0-9a-f]{2} )+)\s*\t?(.*)$")


def disassemble(objdump, path, start=None, stop=None):
    """objdump's reading of a file (or of one address range of it), instruction by instruction."""
    command = [objdump, "-d", "-z", "-w", path]
    if start is not None:
        command += [f"--start-address=0x{start:x}", f"--stop-address=0x{stop:x}"]
    out = subprocess.run(command, capture_output=True, text=True, check=True).stdout
    result = []
    for line in out.splitlines():
        m = LINE.match(line)
        if m:
            text = m.group(3).split("#")[0].split("<")[0].strip() or "(bad)"
            result.append(Instruction(int(m.group(1), 16), len(m.group(2).split()), text))
    return result


def verdict(instruction):
    """None if a 486DX runs the instruction, else why not."""
    if instruction.mnemonic in RUNS_AS_486:
        return None
    if not is_486(instruction.mnemonic):
        return "not a 486 instruction"
    if NEW_REGISTER.search(instruction.operands):
        return "MMX/SSE register"
    return None


def check_file(label, path, objdump, maps, program_maps):
    """Returns (findings, summary) for one PE file."""
    sections = code_sections(path)
    if sections is None:
        return [], f"{label}: not a 32-bit Windows program, not read"
    key = code_key(sections)
    map_path = program_maps.get(key) or maps.get(key)
    sweep = disassemble(objdump, path)
    findings = []
    if map_path is None:
        ranges = [(s.start, s.start + s.size) for s in sections]
        count = 0
        for ins in sweep:
            if any(a <= ins.address < b for a, b in ranges):
                count += 1
                why = verdict(ins)
                if why:
                    findings.append(f"{label}: 0x{ins.address:x} (no link map: read whole): "
                                    f"{ins.text} [{why}]")
        return findings, (f"{label}: no link map, every code byte read: {count} instructions"
                          f", {len(findings)} a 486 lacks")

    pieces = read_map(map_path)
    by_address = {ins.address: i for i, ins in enumerate(sweep)}
    mangled = [p.name.split("$", 1)[1] for p in pieces if "$" in p.name]
    mangled += [p.name[6:] for p in pieces if p.name.startswith(".text.")]
    names = demangle(sorted(set(mangled)))
    resynced = 0
    count = 0
    for piece in pieces:
        if piece.start in by_address:
            i = by_address[piece.start]
            stream = []
            while i < len(sweep) and sweep[i].address < piece.end:
                stream.append(sweep[i])
                i += 1
        else:
            # The sweep is out of step here (data or a straddling instruction just before):
            # read the section again from its own first byte.
            resynced += 1
            stream = disassemble(objdump, path, piece.start, piece.end)
            if stream and stream[-1].text.startswith(".byte"):
                stream.pop()  # the bytes objdump shows as cut off by the section's end
        section_function = None
        if "$" in piece.name or piece.name.startswith(".text."):
            raw = piece.name.split("$", 1)[1] if "$" in piece.name else piece.name[6:]
            section_function = names.get(raw, raw)
        obj = short_object(piece.obj)
        cpuid_guarded = any(EFLAGS_ID in ins.operands for ins in stream) and any(
            ins.mnemonic.startswith("pushf") for ins in stream)
        for ins in stream:
            count += 1
            why = verdict(ins)
            if not why:
                continue
            function = section_function
            for address, symbol in piece.symbols:
                if address <= ins.address:
                    function = symbol
            function = function or "a local function"
            if ins.mnemonic == "cpuid" and cpuid_guarded:
                continue  # it tests the EFLAGS ID bit first, as a 486 without CPUID needs
            if (obj, function) in GUARDED_BY_CPUID:
                continue
            findings.append(f"{label}: {function} [{obj}] at 0x{ins.address:x}: {ins.text} [{why}]")
    return findings, (f"{label}: {count} instructions in {len(pieces)} code sections of "
                      f"{os.path.basename(map_path)} ({resynced} read again from their start), "
                      f"{len(findings)} a 486 lacks")


def nsis_maps(nsis_dir):
    """The code-section keys of the NSIS stubs and plugins that have a map beside them."""
    maps = {}
    if not nsis_dir:
        return maps
    for folder, _, files in os.walk(nsis_dir):
        for name in files:
            if name.endswith(".map"):
                continue
            base = os.path.join(folder, name)
            stem = os.path.splitext(base)[0] if name.lower().endswith(".dll") else base
            if os.path.exists(stem + ".map"):
                sections = code_sections(base)
                if sections:
                    maps[code_key(sections)] = stem + ".map"
    return maps


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--sevenzip")
    parser.add_argument("--setup", help="the installer: it and every program inside are read")
    parser.add_argument("--program", action="append", default=[],
                        help="a program linked with --map (read itself when there is no --setup)")
    parser.add_argument("--map", action="append", default=[])
    parser.add_argument("--nsis", help="the NSIS folder whose stubs and plugins have maps")
    parser.add_argument("--work")
    args = parser.parse_args()
    if len(args.program) != len(args.map):
        parser.error("give one --map for each --program")

    program_maps = {}
    for program, map_path in zip(args.program, args.map):
        program_maps[code_key(code_sections(program))] = map_path
    maps = nsis_maps(args.nsis)

    work = args.work or tempfile.mkdtemp(prefix="check-i486-")
    files = [(os.path.basename(p), p) for p in args.program]
    if args.setup:
        unpacked = os.path.join(work, "Setup")
        shutil.rmtree(unpacked, ignore_errors=True)
        os.makedirs(unpacked)
        subprocess.run([args.sevenzip, "x", "-y", f"-o{unpacked}", args.setup], check=True,
                       stdout=subprocess.DEVNULL)
        files = [(os.path.basename(args.setup), args.setup)]
        for folder, _, names in sorted(os.walk(unpacked)):
            for name in sorted(names):
                path = os.path.join(folder, name)
                with open(path, "rb") as f:
                    if f.read(2) == b"MZ":
                        files.append(("Setup.exe > " + os.path.relpath(path, unpacked), path))
        if not any(name.lower().endswith("uninstall.exe") for name, _ in files):
            print("Setup.exe unpacked without an uninstaller: is it an NSIS installer?")
            return 1

    all_findings = []
    for label, path in files:
        findings, summary = check_file(label, path, args.objdump, maps, program_maps)
        print(summary)
        all_findings += findings
    if not args.work:
        shutil.rmtree(work, ignore_errors=True)
    if all_findings:
        print(f"\n{len(all_findings)} instruction(s) a 486DX does not have:")
        for line in all_findings[:400]:
            print("  " + line)
        if len(all_findings) > 400:
            print(f"  ... and {len(all_findings) - 400} more")
        return 1
    print("Every instruction read runs on a 486DX.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
