#include "outside/database/conexao_plano.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "outside/database/field_copy.h"

namespace {

// The depth of an account: one more than the separators of its
// classification ("1.1.01" is at depth 3).
uint16_t Depth(const std::string& classificacao) {
  return static_cast<uint16_t>(1 + std::count(classificacao.begin(), classificacao.end(), '.'));
}

constexpr char kSelecao[] =
    "SELECT conta, conta_superior, classificacao, nome, tipo FROM contas WHERE plano = '";

// One account of a chart from its row, into a zeroed record.
void Preenche(const qx::SqlStatement& row, _RegContaPS* registro) {
  registro->lConta = static_cast<int32_t>(row.Int(0));
  registro->lContaSuperior = static_cast<int32_t>(row.Int(1));
  const std::string classificacao = row.Text(2);
  registro->usNivel = Depth(classificacao);
  qx::CopyToField(registro->szClassificacao, classificacao);
  qx::CopyToField(registro->szNome, row.Text(3));
  const std::string tipo = row.Text(4);
  registro->cTipo = tipo.empty() ? '\0' : tipo[0];
}

}  // namespace

HRESULT CConexaoPlano::Inicializa(const char* empresa, unsigned short usuario, uint32_t sessao,
                                  char cModoLeitura, char cModoAcesso) {
  if (cModoLeitura != '0' || cModoAcesso != '0') return E_INVALIDARG;
  return Conecta("CConexaoPlano::Inicializa", empresa, usuario, sessao);
}

HRESULT CConexaoPlano::Le(int32_t conta, _RegContaPS* registro) {
  if (registro == nullptr) return E_POINTER;
  std::memset(registro, 0, sizeof(*registro));
  const std::string sql = std::string(kSelecao) + m_plano + "' AND conta = ?";
  return LeRegistro("CConexaoPlano::Le", sql.c_str(), conta,
                    [&](const qx::SqlStatement& row) { Preenche(row, registro); });
}

HRESULT CConexaoPlano::Lista(std::vector<_RegContaPS>* contas) {
  if (contas == nullptr) return E_POINTER;
  contas->clear();
  const std::string sql = std::string(kSelecao) + m_plano + "' ORDER BY classificacao, conta";
  return LeTodos("CConexaoPlano::Lista", sql.c_str(),
                 [&](const qx::SqlStatement& row) { Preenche(row, &contas->emplace_back()); });
}

HRESULT CConexaoHistorico::Inicializa(const char* empresa, unsigned short usuario,
                                      uint32_t sessao) {
  return Conecta("CConexaoHistorico::Inicializa", empresa, usuario, sessao);
}

HRESULT CConexaoHistorico::Le(unsigned short codigo, _RegHistoricoPS* registro) {
  if (registro == nullptr) return E_POINTER;
  std::memset(registro, 0, sizeof(*registro));
  return LeRegistro("CConexaoHistorico::Le",
                    "SELECT codigo, texto, abreviacao FROM historicos WHERE codigo = ?", codigo,
                    [&](const qx::SqlStatement& row) {
                      registro->usCodigo = static_cast<uint16_t>(row.Int(0));
                      qx::CopyToField(registro->szTexto, row.Text(1));
                      qx::CopyToField(registro->szAbreviacao, row.Text(2));
                    });
}
