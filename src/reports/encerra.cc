#include "reports/encerra.h"

#include <map>
#include <memory>
#include <string>

#include "outside/admin/company_admin.h"
#include "platform/codepage.h"
#include "reports/banco_empresa.h"
#include "reports/cadastro_empresa.h"
#include "reports/falha.h"
#include "reports/lancamentos_periodo.h"
#include "reports/validacao.h"
#include "values/br_text.h"

namespace qx {
namespace {

std::string Ano(const Exercicio& e) { return std::to_string(e.ano); }

// Every branch of the company must be active for the session's user.
void ExigeTodasAsFiliais(const Identidade& identidade, const std::string& acao) {
  constexpr char kLeitura[] = "a leitura das filiais";
  const std::shared_ptr<SuiteDatabase> db = AbreBancoDaEmpresa(identidade.empresa, kLeitura);
  std::vector<FilialCadastro> filiais;
  ConfirmaLeitura(ListaFiliais(*db, &filiais), *db, kLeitura);
  const CadastroEmpresa cadastro(identidade);
  std::string faltam, comandos;
  for (const FilialCadastro& f : filiais) {
    if (cadastro.FilialAtiva(static_cast<uint16_t>(f.numero))) continue;
    faltam += (faltam.empty() ? "" : ", ") + std::to_string(f.numero);
    comandos += (comandos.empty() ? "" : "; ") + std::string("qxadmin filial ativa ") +
                identidade.empresa + " " + std::to_string(identidade.usuario) + " " +
                std::to_string(f.numero);
  }
  if (!faltam.empty()) {
    throw FalhaLocal("para " + acao + " o exercício o usuário " +
                         std::to_string(identidade.usuario) +
                         " precisa ver todas as filiais da empresa, e não tem ativa(s): " + faltam,
                     comandos);
  }
}

// The equity account that receives the result: in the chart, analytic, of equity.
Conta Patrimonio(const PlanoDeContas& plano, int32_t numero, const std::string& empresa) {
  const Conta conta = plano.Busca(numero);
  std::string problema,
      dica = "as contas e as suas naturezas: qxadmin conta lista " + empresa + " C";
  if (!plano.Tem(numero)) {
    problema = "não está no plano de contas";
  } else if (conta.total) {
    problema = "é conta totalizadora: escolha uma analítica";
  } else if (conta.natureza != Natureza::kPatrimonio) {
    problema = std::string("é de natureza ") + DescricaoNatureza(conta.natureza) +
               ", não de patrimônio líquido";
    dica += "; qxadmin natureza define " + empresa +
            " CLASSIFICACAO patrimonio dá essa natureza "
            "a um grupo";
  }
  if (problema.empty()) return conta;
  throw FalhaLocal("conta de resultado " + std::to_string(numero) + ": " + problema, dica);
}

// The closing entries checked by the rules of a save; any refusal stops it all.
void ConfereRegras(const Identidade& identidade, const std::vector<LancamentoLido>& lancamentos) {
  Validador validador(identidade);
  std::vector<std::string> recusas;
  for (const LancamentoLido& l : lancamentos) {
    for (const Apontamento& a :
         validador.Confere({l.dados, Cp1252ToUtf8(l.complemento), {}, {}}, {}).recusas) {
      recusas.push_back("filial " + std::to_string(l.dados.Filial) + ", " + a.Linha());
    }
  }
  if (!recusas.empty()) {
    throw FalhaRecusa{"encerramento recusado, nada foi gravado", std::move(recusas),
                      "corrija o cadastro (plano, filiais, exercício da empresa) e repita"};
  }
}

// Saves the entries in one call of the batch interface, setting their
// positions; all or nothing. A refusal throws FalhaServico saying how many
// stayed saved (those the service could not take back).
HRESULT GravaTodos(SessaoLancamento& servico, std::vector<LancamentoLido>* lancamentos) {
  std::vector<REG_LOTE_LANCAMENTO> registros;
  std::vector<unsigned char> textos;
  for (const LancamentoLido& l : *lancamentos) {
    REG_LOTE_LANCAMENTO r{};
    r.Dados = l.dados;
    r.ulInicioComplemento = static_cast<uint32_t>(textos.size());
    r.usTamanhoComplemento = static_cast<uint16_t>(l.complemento.size());
    textos.insert(textos.end(), l.complemento.begin(), l.complemento.end());
    registros.push_back(r);
  }
  std::vector<int32_t> posicoes(registros.size());
  int32_t falha = -1;
  const HRESULT hr = servico.Lote()->GravaLote(
      static_cast<int32_t>(registros.size()), registros.data(), 0, nullptr,
      static_cast<int32_t>(textos.size()), textos.data(), posicoes.data(), &falha);
  for (size_t i = 0; i < posicoes.size(); ++i) (*lancamentos)[i].posicao = posicoes[i];
  return hr;
}

size_t Gravados(const std::vector<LancamentoLido>& lancamentos) {
  size_t gravados = 0;
  for (const LancamentoLido& l : lancamentos) gravados += l.posicao > 0 ? 1 : 0;
  return gravados;
}

}  // namespace

std::vector<LancamentoLido> LeEncerramento(SessaoLancamento& servico, const Exercicio& exercicio) {
  std::vector<LancamentoLido> lancamentos;
  PercorreLancamentos(servico, exercicio.fim, exercicio.fim, 0, true, [&](const LancamentoLido& l) {
    if (EhEncerramentoDe(l.dados, exercicio.ano)) lancamentos.push_back(l);
  });
  return lancamentos;
}

Encerramento Encerra(SessaoLancamento& servico, const PedidoEncerramento& pedido) {
  const Identidade& identidade = servico.identidade();
  Encerramento e;
  e.exercicio = ExercicioDoAno(pedido.ano);
  ExigeTodasAsFiliais(identidade, "encerrar");
  const PlanoDeContas plano = LePlano(servico, 'C');
  e.patrimonio = Patrimonio(plano, pedido.contaResultado, identidade.empresa);
  if (const size_t ja = LeEncerramento(servico, e.exercicio).size(); ja > 0) {
    throw FalhaLocal("o exercício " + Ano(e.exercicio) +
                         " já está encerrado: " + std::to_string(ja) +
                         " lançamento(s) de encerramento em " + DateText(e.exercicio.fim),
                     "para encerrá-lo de novo: qxcn reabre --exercicio " + Ano(e.exercicio) +
                         ", depois qxcn encerra");
  }

  std::map<uint16_t, Saldos> porFilial;
  PercorreLancamentos(servico, e.exercicio.inicio, e.exercicio.fim, 0, false,
                      [&](const LancamentoLido& l) {
                        porFilial[static_cast<uint16_t>(l.dados.Filial)].Junta(l.dados);
                      });
  const std::string complemento = ComplementoDeEncerramento(e.exercicio.ano);
  for (const RegDados& d :
       LancamentosDeEncerramento(plano, porFilial, e.patrimonio.numero, e.exercicio)) {
    LancamentoLido& l = e.lancamentos.emplace_back();
    l.mes = e.exercicio.fim.MesAno();
    l.dados = d;
    l.complemento = complemento;
    d.Credito == e.patrimonio.numero ? e.resultado.Soma(d.Valor) : e.resultado.Subtrai(d.Valor);
  }
  ConfereRegras(identidade, e.lancamentos);
  if (pedido.simular || e.lancamentos.empty()) return e;

  const HRESULT hr = GravaTodos(servico, &e.lancamentos);
  if (hr != S_OK) {
    const size_t ficaram = Gravados(e.lancamentos);
    throw FalhaServico{hr, "GravaLote (encerramento)",
                       ficaram == 0 ? "nada foi gravado; corrija e repita"
                                    : std::to_string(ficaram) +
                                          " lançamento(s) ficaram gravados: qxcn reabre "
                                          "--exercicio " +
                                          Ano(e.exercicio) + " os remove"};
  }
  return e;
}

Reabertura Reabre(SessaoLancamento& servico, int ano, bool simular) {
  Reabertura r;
  r.exercicio = ExercicioDoAno(ano);
  ExigeTodasAsFiliais(servico.identidade(), "reabrir");
  r.lancamentos = LeEncerramento(servico, r.exercicio);
  if (r.lancamentos.empty()) {
    throw FalhaLocal("o exercício " + Ano(r.exercicio) +
                     " não está encerrado: nenhum lançamento de encerramento em " +
                     DateText(r.exercicio.fim));
  }
  if (simular) return r;
  for (size_t i = 0; i < r.lancamentos.size(); ++i) {
    const LancamentoLido& l = r.lancamentos[i];
    const HRESULT hr = servico->Exclui(l.posicao, static_cast<uint16_t>(l.mes.Value()));
    if (hr == S_OK) continue;
    // Those removed go back, at new positions: the year stays closed.
    std::vector<LancamentoLido> removidos(r.lancamentos.begin(), r.lancamentos.begin() + i);
    const HRESULT volta = removidos.empty() ? S_OK : GravaTodos(servico, &removidos);
    if (volta == S_OK) {
      throw FalhaServico{hr, "Exclui (reabertura desfeita: o exercício continua encerrado)"};
    }
    throw FalhaServico{hr,
                       "Exclui (reabertura interrompida: " + std::to_string(i) + " de " +
                           std::to_string(r.lancamentos.size()) + " lançamentos removidos)",
                       "para terminar: qxcn reabre --exercicio " + Ano(r.exercicio)};
  }
  return r;
}

}  // namespace qx
