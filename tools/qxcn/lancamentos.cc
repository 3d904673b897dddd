#include "lancamentos.h"

#include "platform/codepage.h"
#include "values/br_text.h"

namespace qxcn {

std::string Origem(int32_t lChaveModulo) {
  const auto modulo = static_cast<uint32_t>(lChaveModulo);
  if (modulo == 0) return "";
  return std::to_string(modulo & 0xFF) + ":" + std::to_string(modulo >> 8);
}

std::vector<std::string> ColunasLancamento(std::vector<std::string> extra) {
  std::vector<std::string> colunas = {"mes",       "pos",       "data",   "documento",
                                      "debito",    "credito",   "valor",  "filial",
                                      "historico", "conferido", "origem", "complemento"};
  colunas.insert(colunas.end(), extra.begin(), extra.end());
  return colunas;
}

std::vector<Celula> CelulasLancamento(const LancamentoLido& l) {
  const RegDados& d = l.dados;
  std::string conferido = d.cConferido != 0 ? "S" : "";
  if (l.excluido) conferido = qx::Utf8ToCp1252("excluído");
  return {l.mes,
          int64_t{l.posicao},
          CQXData(d.DataLancamento),
          int64_t{d.Documento},
          int64_t{d.Debito},
          int64_t{d.Credito},
          d.Valor,
          int64_t{static_cast<uint16_t>(d.Filial)},
          int64_t{static_cast<uint16_t>(d.CodHis)},
          Texto{conferido},
          Origem(d.wChaveOrigem.lChaveModulo),
          Texto{l.complemento}};
}

std::vector<std::string> ColunasConta() { return {"conta", "classificacao", "nome"}; }

std::vector<Celula> CelulasConta(const qx::Conta& conta) {
  return {int64_t{conta.numero}, Texto{conta.classificacao}, Texto{conta.nome}};
}

std::string NomeConta(const qx::Conta& conta) {
  std::string nome = std::to_string(conta.numero);
  for (const std::string* parte : {&conta.classificacao, &conta.nome}) {
    if (!parte->empty()) nome += " " + qx::Cp1252ToUtf8(*parte);
  }
  return nome;
}

std::string TextoPeriodo(CQXData de, CQXData ate, uint16_t filial) {
  std::string texto = "de " + qx::DateText(de) + " a " + qx::DateText(ate);
  if (filial != 0) texto += ", filial " + std::to_string(filial);
  return texto;
}

}  // namespace qxcn
