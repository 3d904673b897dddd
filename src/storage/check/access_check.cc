// Who reaches a company folder's files: its owner, and the group of an office
// folder (platform/owner_access.h); anyone else could read the books, or
// open the mark file and hold the saves up.
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/owner_access.h"
#include "platform/path.h"
#include "storage/check/side_check.h"

namespace qx::check {
namespace {

struct Classe {
  unsigned shift;  // of its rwx bits
  const char* quem;
};

std::string Modo(unsigned bits) {
  char texto[16];
  std::snprintf(texto, sizeof texto, "%04o", bits);
  return texto;
}

// "outros usuários podem ler e gravar", for the classes of `classes` whose
// bits of `acessos` (r 4, w 2, x 1) are set.
std::string Quem(unsigned bits, const std::vector<Classe>& classes, unsigned acessos,
                 const std::array<const char*, 3>& verbos) {
  std::string texto;
  for (const Classe& classe : classes) {
    const unsigned seus = (bits >> classe.shift) & acessos;
    if (seus == 0) continue;
    std::string feitos;
    for (unsigned bit = 4, i = 0; bit != 0; bit >>= 1, ++i) {
      if ((seus & bit) == 0) continue;
      feitos += (feitos.empty() ? "" : " e ") + std::string(verbos[i]);
    }
    texto += (texto.empty() ? "" : "; ") + std::string(classe.quem) + " podem " + feitos;
  }
  return texto;
}

}  // namespace

void CheckAccess(const std::string& folder, Findings* findings) {
  const auto bits = PermissionBits(folder);
  if (!bits) return;
  std::vector<Classe> alheios = {{0, "outros usuários"}};
  if (!IsOfficeFolder(folder)) alheios.insert(alheios.begin(), {3, "os do grupo da pasta"});
  constexpr std::array<const char*, 3> kVerbosPasta = {"listar", "criar e apagar arquivos",
                                                       "entrar"};
  if (const std::string quem = Quem(*bits, alheios, 07, kVerbosPasta); !quem.empty()) {
    findings->Add("open-to-others", ".", "modo " + Modo(*bits) + ": " + quem + " na pasta");
  }
  // Only those who may enter the folder reach its files.
  std::erase_if(alheios, [&](const Classe& c) { return ((*bits >> c.shift) & 1) == 0; });
  if (alheios.empty()) return;
  constexpr std::array<const char*, 3> kVerbosArquivo = {"ler", "gravar", "executar"};
  std::error_code falha;
  for (std::filesystem::directory_iterator it(folder, falha), fim; !falha && it != fim;
       it.increment(falha)) {
    std::error_code ignorado;
    if (!it->is_regular_file(ignorado)) continue;
    const std::string nome = it->path().filename().string();
    const auto seus = PermissionBits(JoinPath(folder, nome));
    if (!seus) continue;
    if (const std::string quem = Quem(*seus, alheios, 06, kVerbosArquivo); !quem.empty()) {
      findings->Add("open-to-others", nome, "modo " + Modo(*seus) + ": " + quem);
    }
  }
}

}  // namespace qx::check
