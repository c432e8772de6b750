#include "platform/Library.h"

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <fstream>
#include <vector>

namespace platform {

namespace {

template <typename Ehdr, typename Phdr, typename Shdr>
std::string ElfFault(std::ifstream &in, unsigned long long size) {
    Ehdr header;
    in.seekg(0);
    if (!in.read(reinterpret_cast<char *>(&header), sizeof header)) return "truncated library (no ELF header)";
    const auto within = [size](unsigned long long offset, unsigned long long bytes) {
        return offset <= size && bytes <= size - offset;
    };
    if (header.e_phentsize != sizeof(Phdr) || header.e_phnum == 0)
        return "damaged library (no program headers)";
    if (!within(header.e_phoff, 1ull * header.e_phnum * sizeof(Phdr)))
        return "truncated library (program headers past the end)";
    if (header.e_shoff && !within(header.e_shoff, 1ull * header.e_shnum * header.e_shentsize))
        return "truncated library (section headers past the end)";
    std::vector<Phdr> segments(header.e_phnum);
    in.seekg(std::streamoff(header.e_phoff));
    if (!in.read(reinterpret_cast<char *>(segments.data()), std::streamsize(segments.size() * sizeof(Phdr))))
        return "cannot be read";
    for (const Phdr &s : segments)
        if (s.p_type != PT_NULL && !within(s.p_offset, s.p_filesz))
            return "truncated library (a segment reaches past the end)";
    return "";
}

}  // namespace

std::string LibraryFileFault(const std::string &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return "cannot be opened";
    const auto end = in.tellg();
    if (end < 0) return "cannot be read";
    const unsigned long long size = static_cast<unsigned long long>(end);
    unsigned char ident[EI_NIDENT] = {};
    in.seekg(0);
    if (!in.read(reinterpret_cast<char *>(ident), sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0) return "not a loadable library for this system";
    if (ident[EI_CLASS] == ELFCLASS64) return ElfFault<Elf64_Ehdr, Elf64_Phdr, Elf64_Shdr>(in, size);
    if (ident[EI_CLASS] == ELFCLASS32) return ElfFault<Elf32_Ehdr, Elf32_Phdr, Elf32_Shdr>(in, size);
    return "damaged library (unknown ELF class)";
}

LibraryHandle OpenLibrary(const std::string &path) {
    if (!LibraryFileFault(path).empty()) return nullptr;
    // RTLD_LOCAL: two kernels' same-named helpers must never bind to each other.
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void *FindSymbol(LibraryHandle library, const char *name) {
    // dlsym(nullptr, ...) would search the whole process.
    if (!library || !name) return nullptr;
    return dlsym(library, name);
}

void CloseLibrary(LibraryHandle library) {
    if (library) dlclose(library);
}

}  // namespace platform
