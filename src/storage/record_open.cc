#include "storage/record_open.h"

#include <algorithm>
#include <string>

#include "platform/path.h"
#include "storage/control_file.h"
#include "storage/file_access.h"
#include "storage/retry_budgets.h"

namespace qx {
namespace {

int AbreSemCriar(CFile& arquivo, const char* caminho, char modo, const PerfilAbertura& perfil,
                 char (&nome)[260]) {
  const std::string texto = NomeDoCaminho(caminho);
  const size_t tamanho = texto.copy(nome, sizeof nome - 1);
  nome[tamanho] = '\0';
  return AbreComOrcamento(arquivo, caminho, FlagsDoModo(modo), perfil.abertura);
}

}  // namespace

int AbreOuCria(CFile& arquivo, const char* caminho, char modo, uint32_t tamanhoRegistro, bool criar,
               const PerfilAbertura& perfil, char (&nome)[260]) {
  if (caminho == nullptr || *caminho == '\0') return ARQ_PARAMETRO_INVALIDO;
  if (!CaminhoAceito(caminho, perfil.unidade, __LINE__)) return ARQ_CAMINHO_INVALIDO;
  if (FlagsDoModo(modo) == 0) return ARQ_PARAMETRO_INVALIDO;
  int status = AbreSemCriar(arquivo, caminho, modo, perfil, nome);
  if (status != ARQ_NAO_ENCONTRADO || !criar || tamanhoRegistro < 1) return status;
  const size_t separador = LastSeparator(caminho);
  if (perfil.pastaMaxima != 0 && separador != std::string::npos &&
      separador + 1 >= perfil.pastaMaxima) {
    return ARQ_CAMINHO_INVALIDO;
  }
  status = CriaSobControle(caminho, kControleArq, [&] {
    return CriaArquivoZerado(caminho, tamanhoRegistro, perfil.abertura, kGravaQXarq);
  });
  return status == ARQ_OK ? AbreSemCriar(arquivo, caminho, modo, perfil, nome) : status;
}

}  // namespace qx
