#include "reports/falha.h"

#include <cstdio>

#include "contract/entry_messages.h"
#include "diagnostics/code_texts.h"
#include "outside/database/company_database.h"
#include "platform/codepage.h"
#include "platform/path.h"
#include "storage/folders/folders.h"
#include "storage/qx_arq_marca_enum.h"

namespace qx {
namespace {

// The company this thread's last session opened, and its accounting folder.
thread_local std::string t_empresaDaSessao;
thread_local std::string t_pastaDaSessao;

// Whether hr is the busy code of the saves' mark, bare or as a failure.
bool MarcaOcupada(HRESULT hr) {
  const auto codigo = static_cast<uint32_t>(hr);
  const auto esperado = static_cast<uint32_t>(IQXArqMarcaEnum::CodigoMarcaOcupada(kMarcaLancamentos));
  return codigo == esperado || codigo == (0x80040000u | esperado) ||
         codigo == (0x00040000u | esperado);
}

}  // namespace

void LembraPastaDaSessao(const std::string& empresa) {
  t_empresaDaSessao = empresa;
  t_pastaDaSessao = CompanyFolder(kModuloContabilidade, empresa);
}

std::optional<PeriodoFechado> PeriodoFechadoDaSessao() {
  std::shared_ptr<SuiteDatabase> db;
  std::string mensagem;
  PeriodoFechado periodo;
  if (FAILED(OpenCompanyDatabase(t_empresaDaSessao, &db, &mensagem)) ||
      FAILED(LePeriodoFechado(*db, &periodo)) || !periodo.Fechado()) {
    return std::nullopt;
  }
  return periodo;
}

std::string DetalheDaFalha(HRESULT hr) {
  if (hr != kHrPeriodoFechado) return {};
  // The period as it is now: who closed it, and since when.
  const std::optional<PeriodoFechado> periodo = PeriodoFechadoDaSessao();
  return periodo
             ? "o lançamento é do período fechado " + Cp1252ToUtf8(DescrevePeriodoFechado(*periodo))
             : "";
}

HRESULT Verifica(HRESULT hr, const std::string& contexto) {
  if (hr == S_OK) return hr;
  if (!MarcaOcupada(hr)) throw FalhaServico{hr, contexto, "", DetalheDaFalha(hr)};
  const std::string marca = "XXMARCA" + std::to_string(kMarcaLancamentos) + ".dat";
  const std::string arquivo =
      t_pastaDaSessao.empty() ? marca : JoinPath(t_pastaDaSessao, marca);
  throw FalhaServico{
      hr, contexto,
      "repita; se persistir, veja quem tem o arquivo aberto (como root: fuser -v " + arquivo +
          ") e, com qxcheck, se outros usuários alcançam a pasta",
      "a marca " + std::to_string(kMarcaLancamentos) + " (" + arquivo +
          "), que as gravações e exclusões da empresa tomam uma de cada vez, ficou com outro "
          "processo por 50 s"};
}

std::string CodigoFalha(HRESULT hr) {
  char codigo[16];
  std::snprintf(codigo, sizeof codigo, "0x%08X", static_cast<uint32_t>(hr));
  return codigo;
}

std::string LinhaFalha(const std::string& codigo, const std::string& simbolo,
                       const std::string& descricao) {
  std::string linha = codigo;
  if (!simbolo.empty()) linha += " " + simbolo;
  if (!descricao.empty()) linha += ": " + descricao;
  return linha;
}

std::string DescreveFalha(HRESULT hr) {
  const CodeText texto = DescribeCode(hr);
  return LinhaFalha(CodigoFalha(hr), texto.name, texto.description);
}

}  // namespace qx
