// Function names of code addresses, read from the symbol tables of the loaded modules
// (.symtab, else .dynsym). Unlike dladdr this also names functions that a program does not
// export (static functions, anything of an executable linked without -rdynamic), as long as
// the file is not stripped. Each module's table is read once, on first need.
#include <cxxabi.h>
#include <elf.h>
#include <errno.h>
#include <fcntl.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/call_stack.h"

namespace qx {
namespace {

struct Module {
  std::string path;  // empty for the main program
  uintptr_t bias;    // load address minus link address
};

int VisitModule(dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<std::pair<uintptr_t, Module*>*>(data);
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    uintptr_t start = info->dlpi_addr + segment.p_vaddr;
    if (segment.p_type == PT_LOAD && search->first >= start &&
        search->first - start < segment.p_memsz) {
      *search->second = {info->dlpi_name, info->dlpi_addr};
      return 1;
    }
  }
  return 0;
}

bool FindModule(uintptr_t address, Module* module) {
  std::pair<uintptr_t, Module*> search{address, module};
  return dl_iterate_phdr(VisitModule, &search) != 0;
}

bool ReadAt(int fd, uint64_t offset, void* out, size_t size) {
  auto* bytes = static_cast<char*>(out);
  while (size > 0) {
    ssize_t n = pread(fd, bytes, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    offset += static_cast<uint64_t>(n);
    size -= static_cast<size_t>(n);
  }
  return true;
}

class SymbolTable {
 public:
  explicit SymbolTable(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    Load(fd);
    close(fd);
  }

  // The raw name of the function that holds the link address, or null. Of the symbols that
  // start closest below it (aliases share a start), the first whose size covers it.
  const char* NameAt(uintptr_t address) const {
    auto it = std::upper_bound(functions_.begin(), functions_.end(), address,
                               [](uintptr_t a, const Function& f) { return a < f.start; });
    if (it == functions_.begin()) return nullptr;
    uintptr_t start = std::prev(it)->start;
    while (it != functions_.begin() && std::prev(it)->start == start) {
      --it;
      if (address - start < it->size) return names_.data() + it->name;
    }
    return nullptr;
  }

 private:
  struct Function {
    uintptr_t start;
    uintptr_t size;
    size_t name;
  };

  void Load(int fd) {
    ElfW(Ehdr) header;
    if (!ReadAt(fd, 0, &header, sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_shentsize != sizeof(ElfW(Shdr))) {
      return;
    }
    std::vector<ElfW(Shdr)> sections(header.e_shnum);
    if (!ReadAt(fd, header.e_shoff, sections.data(), sections.size() * sizeof(ElfW(Shdr)))) {
      return;
    }
    const ElfW(Shdr)* table = FindSection(sections, SHT_SYMTAB);
    if (table == nullptr) table = FindSection(sections, SHT_DYNSYM);
    if (table == nullptr || table->sh_link >= sections.size()) return;
    const ElfW(Shdr)& strings = sections[table->sh_link];
    std::vector<ElfW(Sym)> symbols(table->sh_size / sizeof(ElfW(Sym)));
    names_.resize(strings.sh_size + 1);  // one NUL more, should the table lack its last
    if (!ReadAt(fd, table->sh_offset, symbols.data(), symbols.size() * sizeof(ElfW(Sym))) ||
        !ReadAt(fd, strings.sh_offset, names_.data(), strings.sh_size)) {
      names_.clear();
      return;
    }
    for (const ElfW(Sym) & symbol : symbols) {
      unsigned type = ELF64_ST_TYPE(symbol.st_info);  // the same bits in 32-bit files
      if ((type == STT_FUNC || type == STT_GNU_IFUNC) && symbol.st_shndx != SHN_UNDEF &&
          symbol.st_value != 0 && symbol.st_name < strings.sh_size) {
        functions_.push_back({symbol.st_value, symbol.st_size, symbol.st_name});
      }
    }
    std::sort(functions_.begin(), functions_.end(),
              [](const Function& a, const Function& b) { return a.start < b.start; });
  }

  static const ElfW(Shdr) * FindSection(const std::vector<ElfW(Shdr)>& sections, unsigned type) {
    for (const ElfW(Shdr) & section : sections) {
      if (section.sh_type == type && section.sh_entsize == sizeof(ElfW(Sym))) return &section;
    }
    return nullptr;
  }

  std::vector<Function> functions_;
  std::vector<char> names_;
};

// The raw name at `address` inside `module`, or empty.
std::string RawNameAt(const Module& module, uintptr_t address) {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<SymbolTable>> tables;
  std::lock_guard<std::mutex> lock(mutex);
  std::unique_ptr<SymbolTable>& table = tables[module.path];
  if (table == nullptr) {
    table = std::make_unique<SymbolTable>(module.path.empty() ? "/proc/self/exe" : module.path);
  }
  const char* name = table->NameAt(address - module.bias);
  return name == nullptr ? std::string() : std::string(name);
}

std::string Demangled(const std::string& name) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> readable(
      abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status), &std::free);
  return status == 0 && readable != nullptr ? std::string(readable.get()) : name;
}

std::string Hex(uintptr_t value) {
  char text[2 + 2 * sizeof value + 1];
  std::snprintf(text, sizeof text, "0x%zx", static_cast<size_t>(value));
  return text;
}

}  // namespace

std::string FunctionNameAt(const void* address) {
  auto where = reinterpret_cast<uintptr_t>(address);
  Module module;
  if (!FindModule(where, &module)) return Hex(where);
  std::string name = RawNameAt(module, where);
  if (!name.empty()) return Demangled(name);
  std::string path = module.path.empty() ? program_invocation_short_name : module.path;
  return path.substr(path.rfind('/') + 1) + "+" + Hex(where - module.bias);
}

}  // namespace qx
