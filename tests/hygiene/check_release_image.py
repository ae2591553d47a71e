#!/usr/bin/env python3
"""Release hygiene of zovrel-javaenv.exe, checked on the file itself.

Usage: check_release_image.py --exe EXE --nm NM --product OBJ_OR_ARCHIVE...

--nm is the toolchain's nm; --product names the archives and objects that
hold the tool's own code (not the C/C++ runtime). Prints one line per check
and exits 1 when any fails.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

import pefile

IMAGE_FILE_MACHINE_I386 = 0x014C
IMAGE_FILE_RELOCS_STRIPPED = 0x0001
PE32_MAGIC = 0x10B
SUBSYSTEM_WINDOWS_GUI = 2
DLL_DYNAMIC_BASE = 0x0040
DLL_NX_COMPAT = 0x0100
DLL_TERMINAL_SERVER_AWARE = 0x8000
SECTION_EXECUTE = 0x20000000
SECTION_WRITE = 0x80000000
RT_ICON = 3
RT_GROUP_ICON = 14
RT_MANIFEST = 24
RT_VERSION = 16

# DLLs that every Windows the tool runs on ships in its system folder.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
    "msvcrt.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "userenv.dll", "uxtheme.dll", "version.dll",
}

# Windows words that make the installer detection ask for elevation.
INSTALLER_WORDS = ("setup", "install", "update", "patch")

# Functions that hand out or re-protect memory, executable memory included.
MEMORY_FUNCTIONS = (
    "VirtualAlloc", "VirtualAllocEx", "VirtualAlloc2", "VirtualProtect", "VirtualProtectEx",
    "NtAllocateVirtualMemory", "NtProtectVirtualMemory", "CreateFileMappingA",
    "CreateFileMappingW", "MapViewOfFile", "MapViewOfFileEx", "GetProcAddress",
)

COMMON_CONTROLS = "Microsoft.Windows.Common-Controls"


class Checks:
    def __init__(self):
        self.failures = 0

    def expect(self, condition, what, detail=""):
        print(("ok   " if condition else "FAIL ") + what + (f": {detail}" if detail else ""))
        if not condition:
            self.failures += 1


def check_header(pe, checks):
    header = pe.FILE_HEADER
    optional = pe.OPTIONAL_HEADER
    checks.expect(header.Machine == IMAGE_FILE_MACHINE_I386 and optional.Magic == PE32_MAGIC,
                  "32-bit x86 image", f"machine {header.Machine:#x}, magic {optional.Magic:#x}")
    checks.expect(optional.Subsystem == SUBSYSTEM_WINDOWS_GUI, "GUI subsystem", str(optional.Subsystem))
    version = (optional.MajorSubsystemVersion, optional.MinorSubsystemVersion)
    checks.expect(version == (6, 0), "subsystem version 6.0", "%d.%d" % version)
    flags = optional.DllCharacteristics
    for bit, name in ((DLL_NX_COMPAT, "NX-compatible"), (DLL_DYNAMIC_BASE, "dynamic base"),
                      (DLL_TERMINAL_SERVER_AWARE, "terminal-server aware")):
        checks.expect(flags & bit, name, f"DllCharacteristics {flags:#06x}")


def check_relocations(pe, checks):
    # A dynamic base without relocations cannot move: the loader would have
    # to put it at its preferred address after all, or refuse it.
    relocations = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    stripped = pe.FILE_HEADER.Characteristics & IMAGE_FILE_RELOCS_STRIPPED
    checks.expect(relocations.Size > 0 and not stripped, "base relocations present",
                  f"{relocations.Size} bytes, relocs-stripped flag {bool(stripped)}")


def check_sections(pe, checks):
    both = [s.Name.rstrip(b"\0").decode() for s in pe.sections
            if s.Characteristics & SECTION_WRITE and s.Characteristics & SECTION_EXECUTE]
    checks.expect(not both, "no section both writable and executable", ", ".join(both))


def resources_of(pe, resource_type):
    """{id or name: [data bytes per language]} of one resource type."""
    found = {}
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for entry in directory.entries if directory else []:
        if entry.id != resource_type:
            continue
        for named in entry.directory.entries:
            key = str(named.name) if named.name is not None else named.id
            found[key] = [pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
                          for language in named.directory.entries]
    return found


def local_name(tag):
    return tag.rsplit("}", 1)[-1]


def check_manifest(pe, checks):
    manifests = resources_of(pe, RT_MANIFEST)
    checks.expect(list(manifests) == [1] and len(manifests[1]) == 1, "one manifest, resource 1",
                  f"ids {list(manifests)}")
    if 1 not in manifests:
        return
    root = ElementTree.fromstring(manifests[1][0])
    identities = [element.attrib for element in root.iter() if local_name(element.tag) == "assemblyIdentity"]
    controls = [a for a in identities if a.get("name") == COMMON_CONTROLS]
    checks.expect(any(a.get("version") == "6.0.0.0" and a.get("processorArchitecture") == "x86" for a in controls),
                  "manifest binds common controls 6.0.0.0 x86", str(controls))
    levels = [element for element in root.iter() if local_name(element.tag) == "requestedExecutionLevel"]
    checks.expect(not levels, "manifest requests no execution level")


def version_strings(pe):
    strings = {}
    for file_info in getattr(pe, "FileInfo", []):
        for block in file_info:
            for table in getattr(block, "StringTable", []):
                for key, value in table.entries.items():
                    strings[key.decode("utf-8", "replace")] = value.decode("utf-8", "replace")
    return strings


def check_version_words(pe, exe_path, checks):
    strings = version_strings(pe)
    checks.expect(bool(strings), "VERSIONINFO has strings", ", ".join(sorted(strings)))
    texts = list(strings.values()) + [os.path.basename(exe_path)]
    offending = [text for text in texts if any(word in text.lower() for word in INSTALLER_WORDS)]
    checks.expect(not offending, "no installer word in VERSIONINFO or file name", "; ".join(offending))
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    if fixed is not None:
        numeric = "%d.%d.%d" % (fixed.ProductVersionMS >> 16, fixed.ProductVersionMS & 0xFFFF,
                                fixed.ProductVersionLS >> 16)
        checks.expect(strings.get("ProductVersion") == numeric, "ProductVersion string matches the fixed version",
                      f"{strings.get('ProductVersion')} vs {numeric}")


def image_shape(data):
    """(width, height, bits per pixel) of an RT_ICON image: a PNG or a DIB."""
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        width, height, depth, colour_type = struct.unpack(">IIBB", data[16:26])
        channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour_type, 0)
        return width, height, depth * channels
    _, width, double_height, _, bits = struct.unpack("<IiiHH", data[:16])
    return width, double_height // 2, bits  # a DIB icon's height counts the mask too


def check_icon(pe, checks):
    groups = resources_of(pe, RT_GROUP_ICON)
    checks.expect("DEFAULT_ICON" in groups, "group icon DEFAULT_ICON present", f"groups {list(groups)}")
    if "DEFAULT_ICON" not in groups:
        return
    directory = groups["DEFAULT_ICON"][0]
    _, _, count = struct.unpack("<HHH", directory[:6])
    icons = resources_of(pe, RT_ICON)
    shapes = []
    for index in range(count):
        entry = directory[6 + 14 * index: 6 + 14 * (index + 1)]
        width, height, _, _, _, bits, _, icon_id = struct.unpack("<BBBBHHIH", entry)
        actual = image_shape(icons[icon_id][0]) if icon_id in icons else None
        shapes.append(((width or 256, height or 256, bits), actual))
    checks.expect(len(shapes) == 1 and shapes[0][0] == (128, 128, 32) and shapes[0][1] == (128, 128, 32),
                  "DEFAULT_ICON holds one 128x128 32-bit image", str(shapes))


def imported(pe):
    """{dll (lower case): [function names]}, delay-loaded imports included."""
    result = {}
    for attribute in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        for entry in getattr(pe, attribute, []):
            names = [i.name.decode() for i in entry.imports if i.name]
            result.setdefault(entry.dll.decode().lower(), []).extend(names)
    return result


def check_imports(pe, checks):
    dlls = imported(pe)
    foreign = sorted(set(dlls) - SYSTEM_DLLS)
    checks.expect(dlls and not foreign, "imports only Windows system DLLs",
                  "foreign: " + ", ".join(foreign) if foreign else ", ".join(sorted(dlls)))
    memory = sorted({name for names in dlls.values() for name in names if name in MEMORY_FUNCTIONS})
    # The runtime's own users, read from a linker cross-reference: the
    # pseudo-relocation code imports VirtualProtect, and GCC's frame
    # registration and msvcrt's locale and rand_s helpers GetProcAddress.
    # That the tool's own code calls neither is checked on its objects below.
    checks.expect(set(memory) <= {"VirtualProtect", "GetProcAddress"},
                  "imports no memory function beyond the runtime's", ", ".join(memory))


def undefined_symbols(nm, path):
    output = subprocess.run([nm, "-u", path], check=True, capture_output=True, text=True).stdout
    return {line.split()[-1] for line in output.splitlines() if line.strip() and not line.endswith(":")}


def check_product_code(nm, products, checks):
    # i686 import symbols: __imp__VirtualAlloc@16, plus the thunk _VirtualAlloc@16.
    pattern = re.compile(r"^(?:__imp_)?_(%s)@\d+$" % "|".join(MEMORY_FUNCTIONS))
    # Compiled resources (.res) hold no code.
    code = [path for path in products if not path.endswith(".res")]
    used = sorted({f"{os.path.basename(path)}: {symbol}" for path in code
                   for symbol in undefined_symbols(nm, path) if pattern.match(symbol)})
    checks.expect(not used, "the tool's own code calls no memory-allocating function", "; ".join(used))


def symbol_addresses(nm, exe_path):
    output = subprocess.run([nm, exe_path], check=True, capture_output=True, text=True).stdout
    return {parts[2]: int(parts[0], 16) for parts in (line.split() for line in output.splitlines())
            if len(parts) == 3}


def pseudo_relocation_targets(pe, start, end):
    """Target addresses of the runtime's version-2 pseudo-relocation list."""
    image_base = pe.OPTIONAL_HEADER.ImageBase
    data = pe.get_data(start - image_base, end - start)
    if len(data) >= 12 and struct.unpack("<III", data[:12]) == (0, 0, 1):
        data = data[12:]
    return [image_base + target for _, target, _ in struct.iter_unpack("<III", data[: len(data) // 12 * 12])]


def check_runtime_relocations(pe, nm, exe_path, checks):
    # Before main, the MinGW runtime patches each pseudo-relocation target
    # and makes a page writable for that. A target in a code section would
    # have it ask for PAGE_EXECUTE_READWRITE; data pages only get PAGE_READWRITE.
    symbols = symbol_addresses(nm, exe_path)
    start = symbols.get("__RUNTIME_PSEUDO_RELOC_LIST__")
    end = symbols.get("__RUNTIME_PSEUDO_RELOC_LIST_END__")
    checks.expect(start is not None and end is not None, "runtime pseudo-relocation list found (unstripped image)")
    if start is None or end is None:
        return
    image_base = pe.OPTIONAL_HEADER.ImageBase
    in_code = [hex(target) for target in pseudo_relocation_targets(pe, start, end)
               if any(s.Characteristics & SECTION_EXECUTE and s.contains_rva(target - image_base)
                      for s in pe.sections)]
    checks.expect(not in_code, "no runtime pseudo-relocation in a code section",
                  f"{(end - start)} bytes of list; in code: {', '.join(in_code)}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--nm", required=True)
    parser.add_argument("--product", nargs="+", required=True)
    arguments = parser.parse_args()

    pe = pefile.PE(arguments.exe)
    checks = Checks()
    check_header(pe, checks)
    check_relocations(pe, checks)
    check_sections(pe, checks)
    check_manifest(pe, checks)
    check_version_words(pe, arguments.exe, checks)
    check_icon(pe, checks)
    check_imports(pe, checks)
    check_product_code(arguments.nm, arguments.product, checks)
    check_runtime_relocations(pe, arguments.nm, arguments.exe, checks)
    print(f"{checks.failures} failed")
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
