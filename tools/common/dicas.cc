#include "common/dicas.h"

#include "contract/busca_codigos.h"
#include "outside/admin/periodo_fechado.h"
#include "outside/database/outside_codes.h"

namespace qx::cli {
namespace {

constexpr const char* kRegistre =
    "registre o servidor na instalação de QX_REGISTRY: ostrel -RegServer";
constexpr const char* kEmpresa = "veja as empresas da instalação com qxadmin empresa lista";
constexpr const char* kPermissao =
    "confira o dono e as permissões da pasta da empresa e dos seus arquivos (ls -l): o "
    "servidor roda como o seu usuário";
constexpr const char* kDiscoCheio =
    "libere espaço no disco da pasta da empresa (df -h) e repita; qxcheck confere a pasta";
constexpr const char* kServidor =
    "o servidor parou ou não responde: veja o syslog (QX Sistemas) e repita";

// A stopped import says how to finish its undoing: trying again would import
// its lines a second time.
constexpr const char* kImportacao = "importação";
constexpr const char* kServidorNaImportacao =
    "o servidor parou ou não responde: veja o syslog (QX Sistemas)";
constexpr const char* kDiscoNaImportacao = "libere espaço no disco da pasta da empresa (df -h)";

constexpr Dica kDicas[] = {
    {static_cast<HRESULT>(0x800706BAu), kImportacao, nullptr, kServidorNaImportacao},
    {static_cast<HRESULT>(0x80010108u), kImportacao, nullptr, kServidorNaImportacao},
    {static_cast<HRESULT>(0x80043F08u), kImportacao, nullptr, kDiscoNaImportacao},
    {static_cast<HRESULT>(0x80070070u), kImportacao, nullptr, kDiscoNaImportacao},
    {static_cast<HRESULT>(0x80070027u), kImportacao, nullptr, kDiscoNaImportacao},
    {static_cast<HRESULT>(0x800401F3u), nullptr, nullptr, kRegistre},  // CO_E_CLASSSTRING
    {static_cast<HRESULT>(0x80040154u), nullptr, nullptr, kRegistre},  // REGDB_E_CLASSNOTREG
    {static_cast<HRESULT>(0x80080005u), nullptr, nullptr,
     "o executável registrado não inicia: registre de novo com ostrel -RegServer"},
    {static_cast<HRESULT>(0x8000401Eu), nullptr, nullptr,  // CO_E_SERVER_START_TIMEOUT
     "o servidor iniciou mas não atendeu em 10 s: veja o syslog (QX Sistemas) e repita"},
    {static_cast<HRESULT>(0x800706BAu), nullptr, nullptr, kServidor},
    {static_cast<HRESULT>(0x80010108u), nullptr, nullptr, kServidor},
    {E_QXDF_EMPRESA_SEM_PASTA, nullptr, nullptr, kEmpresa},
    {E_QXDF_BANCO_INDISPONIVEL, nullptr, nullptr,
     "o banco da empresa não abre: faça o que a mensagem diz (as permissões da pasta, ou o "
     "servidor PostgreSQL e a conexão da empresa)"},
    {E_QXDF_BANCO_EM_REDE, nullptr, nullptr,
     "mova a empresa para o PostgreSQL: qxadmin empresa move EMPRESA --postgresql CONEXAO"},
    {E_QXDF_EMPRESA_EM_USO, nullptr, nullptr,
     "feche os programas da empresa em todas as estações (o servidor termina 5 s depois do "
     "último) e repita"},
    {static_cast<HRESULT>(0x80043ED0u), nullptr, nullptr, kPermissao},  // ARQ_ACESSO_NEGADO
    {static_cast<HRESULT>(0x80043ED1u), nullptr, nullptr, kPermissao},  // ARQ_SOMENTE_LEITURA
    {static_cast<HRESULT>(0x80070005u), nullptr, nullptr, kPermissao},
    {static_cast<HRESULT>(0x80043F08u), nullptr, nullptr, kDiscoCheio},  // ARQ_DISCO_CHEIO
    {static_cast<HRESULT>(0x80070070u), nullptr, nullptr, kDiscoCheio},
    {static_cast<HRESULT>(0x80070027u), nullptr, nullptr, kDiscoCheio},
    {static_cast<HRESULT>(0x80043E95u), "LeDados", nullptr,  // ARQ_FIM_DE_ARQUIVO
     "não há lançamento nessa posição: veja as posições do mês com qxcn mes --mes MM/AAAA"},
    // The save returns its own checks as 0x80040000 | number.
    {static_cast<HRESULT>(0x80040002u), "GravaDados", "o lançamento não tem data",
     "informe a data: --data DD/MM/AAAA"},
    {static_cast<HRESULT>(0xFFFFFFFFu), "GravaDados", "o lançamento não tem filial",
     "informe a filial: --filial N"},
    {static_cast<HRESULT>(0x800405FCu), nullptr, nullptr, kComoReabrir},  // period closed
    {kHrPeriodoBuscaLongo, nullptr, nullptr,
     "peça um período dentro desses meses, ou divida-o em partes"},
};

}  // namespace

const Dica* ProcuraDica(HRESULT hr, std::string_view contexto) {
  // A status or message the service answered with success severity (bare, or
  // in the interface facility) reads as its failure form.
  if (const auto codigo = static_cast<uint32_t>(hr);
      codigo <= 0xFFFF || (codigo & 0xFFFF0000u) == 0x00040000u) {
    hr = static_cast<HRESULT>(0x80040000u | (codigo & 0xFFFF));
  }
  const Dica* geral = nullptr;
  for (const Dica& dica : kDicas) {
    if (dica.hr != hr) continue;
    if (dica.contexto == nullptr) {
      geral = &dica;
    } else if (contexto.starts_with(dica.contexto)) {
      return &dica;
    }
  }
  return geral;
}

}  // namespace qx::cli
