#include "platform/Library.h"

#include <dirent.h>
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Paths.h"

namespace platform {

namespace {
using Kind = TLibraryFaultKind;

template <typename Ehdr, typename Phdr>
TLibraryFileFault ElfFault(std::ifstream &in, unsigned long long size) {
    Ehdr header;
    in.seekg(0);
    if (!in.read(reinterpret_cast<char *>(&header), sizeof header))
        return {Kind::Truncated, "truncated library (no ELF header)"};
    const auto within = [size](unsigned long long offset, unsigned long long bytes) {
        return offset <= size && bytes <= size - offset;
    };
    if (header.e_phentsize != sizeof(Phdr) || header.e_phnum == 0)
        return {Kind::Damaged, "damaged library (no program headers)"};
    if (!within(header.e_phoff, 1ull * header.e_phnum * sizeof(Phdr)))
        return {Kind::Truncated, "truncated library (program headers past the end)"};
    if (header.e_shoff && !within(header.e_shoff, 1ull * header.e_shnum * header.e_shentsize))
        return {Kind::Truncated, "truncated library (section headers past the end)"};
    std::vector<Phdr> segments(header.e_phnum);
    in.seekg(std::streamoff(header.e_phoff));
    if (!in.read(reinterpret_cast<char *>(segments.data()),
                 std::streamsize(segments.size() * sizeof(Phdr))))
        return {Kind::Unreadable, "cannot be read"};
    for (const Phdr &s : segments)
        if (s.p_type != PT_NULL && !within(s.p_offset, s.p_filesz))
            return {Kind::Truncated, "truncated library (a segment reaches past the end)"};
    return {};
}

// The processor this build runs on, as ELF names it; 0 where not known here.
#if defined(__x86_64__)
constexpr unsigned OwnMachine = EM_X86_64;
#elif defined(__i386__)
constexpr unsigned OwnMachine = EM_386;
#elif defined(__aarch64__)
constexpr unsigned OwnMachine = EM_AARCH64;
#else
constexpr unsigned OwnMachine = 0;
#endif

std::string MachineName(unsigned machine, unsigned char elfClass) {
    switch (machine) {
    case EM_X86_64: return "x86-64";
    case EM_386: return "x86, 32-bit";
    case EM_AARCH64: return "ARM64";
    case EM_ARM: return "ARM, 32-bit";
    default:
        return "ELF machine " + std::to_string(machine) +
               (elfClass == ELFCLASS32 ? ", 32-bit" : "");
    }
}

// A library the loader would refuse for its processor, named as such.
TLibraryFileFault ForeignMachineFault(const unsigned char *ident, unsigned machine) {
    const unsigned char ownClass = sizeof(void *) == 8 ? ELFCLASS64 : ELFCLASS32;
    if (!OwnMachine || (machine == OwnMachine && ident[EI_CLASS] == ownClass)) return {};
    return {Kind::ForeignProcessor,
            "a library for another processor (" + MachineName(machine, ident[EI_CLASS]) +
                "; this system runs " + MachineName(OwnMachine, ownClass) + ")"};
}

// A leading dot is this system's hidden attribute.
bool IsListedLibrary(const std::string &folder, const std::string &name) {
    if (name.empty() || name[0] == '.' || !HasLibraryExtension(name)) return false;
    struct stat info;
    return stat((folder + name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer));
    return n > 0 && n < ssize_t(sizeof(buffer)) ? std::string(buffer, std::size_t(n)) : "";
}

// A library opened by a relative path keeps that path in its link map.
std::string Absolute(const std::string &path) {
    if (path.empty() || path[0] == '/') return path;
    char cwd[PATH_MAX];
    return getcwd(cwd, sizeof(cwd)) ? std::string(cwd) + '/' + path : "";
}

}  // namespace

TLibraryFileFault LibraryFileFault(const std::string &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {Kind::Unreadable, "cannot be opened"};
    const auto end = in.tellg();
    if (end < 0) return {Kind::Unreadable, "cannot be read"};
    const unsigned long long size = static_cast<unsigned long long>(end);
    unsigned char ident[EI_NIDENT] = {};
    in.seekg(0);
    if (!in.read(reinterpret_cast<char *>(ident), sizeof ident) ||
        std::memcmp(ident, ELFMAG, SELFMAG) != 0)
        return {Kind::NotALibrary, NotALibraryText};
    unsigned char machine[2] = {};  // e_machine, at the same offset in both classes
    in.seekg(18);
    if (!in.read(reinterpret_cast<char *>(machine), 2))
        return {Kind::Truncated, "truncated library (no ELF header)"};
    const unsigned machineNumber =
        ident[EI_DATA] == ELFDATA2MSB ? machine[0] << 8 | machine[1] : machine[1] << 8 | machine[0];
    TLibraryFileFault foreign = ForeignMachineFault(ident, machineNumber);
    if (foreign.Kind != Kind::None) return foreign;
    if (ident[EI_CLASS] == ELFCLASS64) return ElfFault<Elf64_Ehdr, Elf64_Phdr>(in, size);
    if (ident[EI_CLASS] == ELFCLASS32) return ElfFault<Elf32_Ehdr, Elf32_Phdr>(in, size);
    return {Kind::Damaged, "damaged library (unknown ELF class)"};
}

LibraryHandle OpenLibrary(const std::string &path) {
    if (LibraryFileFault(path).Kind != Kind::None) return nullptr;
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

std::vector<std::string> ListLibraries(const std::string &folder) {
    std::vector<std::string> names;
    const std::string dir = IncludeTrailingDelimiter(folder);
    DIR *listing = opendir(dir.c_str());
    if (!listing) return names;
    while (const dirent *entry = readdir(listing))
        if (IsListedLibrary(dir, entry->d_name)) names.emplace_back(entry->d_name);
    closedir(listing);
    return names;
}

std::string ModulePathOf(const void *address) {
    Dl_info info;
    link_map *map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void **>(&map), RTLD_DL_LINKMAP) || !map)
        return "";
    // The main program's link map has an empty name; dli_fname would be argv[0].
    if (map->l_name[0] == '\0') return ExecutablePath();
    return Absolute(map->l_name);
}

}  // namespace platform
