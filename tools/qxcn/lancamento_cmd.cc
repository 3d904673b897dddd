// grava, le, exclui, confere: one entry at a time.
#include <vector>

#include "comandos.h"
#include "lancamentos.h"
#include "platform/codepage.h"
#include "regras.h"
#include "reports/grava.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

using Rateio = qx::RegistrosRateio;

// "--gerencial CENTRO:VALOR[:CONTA]" lines (without CONTA, the rules of a
// save give the line the entry's result side); "--quantidade" values pair
// with them in order.
Rateio RateioDasOpcoes(const Argumentos& argumentos) {
  Rateio rateio;
  for (const std::string& texto : argumentos.Valores("gerencial")) {
    const size_t separador = texto.find(':');
    const size_t conta = separador == std::string::npos ? separador : texto.find(':', separador + 1);
    if (separador == std::string::npos) throw ErroUso{"--gerencial: use CENTRO:VALOR[:CONTA]"};
    RegLan_Ger linha{};
    linha.ContaGerencial = static_cast<int32_t>(
        argumentos.LeInteiro(texto.substr(0, separador), "--gerencial", 1, INT32_MAX));
    linha.Valor = argumentos.LeValor(texto.substr(separador + 1, conta - separador - 1),
                                     "--gerencial");
    if (conta != std::string::npos) {
      linha.ContaContabil = static_cast<int32_t>(
          argumentos.LeInteiro(texto.substr(conta + 1), "--gerencial", 1, INT32_MAX));
    }
    rateio.linhas.push_back(linha);
  }
  for (const std::string& texto : argumentos.Valores("quantidade")) {
    rateio.quantidades.push_back(RegQtd_Ger{argumentos.LeValor(texto, "--quantidade")});
  }
  if (rateio.quantidades.size() > rateio.linhas.size()) {
    throw ErroUso{"--quantidade: mais quantidades que linhas de --gerencial"};
  }
  return rateio;
}

void AplicaOpcoes(const Argumentos& a, RegDados* dados) {
  if (const auto data = a.Data("data")) dados->DataLancamento = data->Value();
  if (const auto conta = a.Inteiro("debito", 0, INT32_MAX)) dados->Debito = *conta;
  if (const auto conta = a.Inteiro("credito", 0, INT32_MAX)) dados->Credito = *conta;
  if (const auto valor = a.Montante("valor")) dados->Valor = *valor;
  if (const auto filial = a.Inteiro("filial", 0, UINT16_MAX)) dados->Filial = *filial;
  if (const auto historico = a.Inteiro("historico", 0, UINT16_MAX)) dados->CodHis = *historico;
  if (const auto documento = a.Inteiro("documento", INT32_MIN, INT32_MAX)) {
    dados->Documento = *documento;
  }
  if (const auto moeda = a.Montante("moeda")) dados->ValorMoeda = *moeda;
  if (a.Marca("moeda-zero")) dados->cGravarZero = 'S';
}

void MostraLancamento(Saida& saida, const LancamentoLido& lido) {
  saida.Mostra("lancamento", "", TabelaLancamento(lido));
}

void MostraRateio(Saida& saida, const Rateio& rateio) {
  if (rateio.linhas.empty() && saida.ParaPessoas()) return;
  saida.Mostra("gerencial", "Rateio gerencial:", TabelaRateio(rateio));
}

// The entry just saved, read back to show it. The save stands whatever the
// reading does, so a failed reading says where the entry was saved.
LancamentoLido LeGravado(Servico& servico, CQXMesAno mes, int32_t posicao) {
  try {
    return LeUm(servico, mes, posicao);
  } catch (const Falha& falha) {
    throw Falha{falha.hr, "gravado em " + qx::MesAnoText(mes) + " na posição " +
                              std::to_string(posicao) + ", mas a releitura (" + falha.contexto +
                              ")"};
  }
}

// The entry checked by the rules of a save, its split lines given their
// accounting account where they name none; a refusal ends the run before
// anything is saved, and what the save does other than asked is shown.
qx::Conferencia ConfereRegras(const Argumentos& a, Servico& servico, Saida& saida,
                              const RegDados& dados, const std::string& complemento,
                              Rateio& rateio) {
  qx::Validador validador(servico.identidade());
  qx::LancamentoAGravar lancamento{dados, complemento, rateio.linhas, rateio.quantidades};
  validador.CompletaRateio(&lancamento);
  rateio.linhas = lancamento.rateio;
  const qx::Conferencia conferencia = validador.Confere(lancamento, LeLiberacoes(a));
  if (!conferencia.recusas.empty()) {
    std::vector<std::string> linhas;
    for (const qx::Apontamento& r : conferencia.recusas) linhas.push_back(r.Linha());
    throw Recusa("lançamento recusado, nada foi gravado", std::move(linhas), conferencia.recusas,
                 servico.identidade().empresa);
  }
  Tabela avisos({"campo", "valor", "aviso"});
  for (const qx::Apontamento& aviso : conferencia.avisos) {
    avisos.Linha({aviso.campo, aviso.valor, aviso.regra});
  }
  if (!avisos.Vazia()) saida.Mostra("avisos", "Avisos:", avisos);
  return conferencia;
}

void Grava(const Argumentos& a, Servico& servico, Saida& saida) {
  const std::optional<int64_t> posicao = a.Inteiro("pos", 1, 0xFFFFFF);
  RegDados dados{};
  std::string complemento;  // UTF-8
  Rateio rateio;
  if (posicao) {
    const CQXMesAno mes = a.MesAnoObrigatorio("mes");
    const LancamentoLido lido = LeUm(servico, mes, static_cast<int32_t>(*posicao));
    if (lido.excluido) throw FalhaLocal("o lançamento está excluído");
    // A position belongs to its month: another month's date would overwrite that
    // month's entry at the same position.
    if (const auto data = a.Data("data"); data && data->MesAno() != mes) {
      throw ErroUso{"--data: um lançamento alterado fica no seu mês (" + qx::MesAnoText(mes) +
                    "); para mudar de mês, exclua e grave um novo"};
    }
    dados = lido.dados;
    complemento = qx::Cp1252ToUtf8(lido.complemento);
    rateio = qx::RateioDoLido(servico);
  } else if (!a.Valor("data")) {
    throw ErroUso{"falta --data (ou --mes e --pos de um lançamento gravado)"};
  } else {
    dados.Filial = 1;
  }
  AplicaOpcoes(a, &dados);
  if (const auto texto = a.Valor("complemento")) complemento = *texto;
  if (!a.Valores("gerencial").empty()) rateio = RateioDasOpcoes(a);
  const qx::Conferencia conferencia = ConfereRegras(a, servico, saida, dados, complemento, rateio);

  int32_t indlan = posicao ? static_cast<int32_t>(*posicao) : 0;
  const bool conferido = posicao && dados.cConferido != 0;
  qx::GravaLancamento(servico, &dados, conferencia.complemento, &rateio, &indlan);

  const CQXMesAno mes = CQXData(dados.DataLancamento).MesAno();
  MostraLancamento(saida, LeGravado(servico, mes, indlan));
  MostraRateio(saida, rateio);
  if (conferido) {
    // A save takes the checked mark off; said, never silent.
    saida.Aviso("O lançamento estava conferido; alterado, perdeu a marca de conferido "
                "(para marcar de novo: qxcn confere --mes " +
                qx::MesAnoText(mes) + " --pos " + std::to_string(indlan) + ").");
    saida.Campo("conferido_retirado", true);
  }
}

void Le(const Argumentos& a, Servico& servico, Saida& saida) {
  const CQXMesAno mes = a.MesAnoObrigatorio("mes");
  const auto posicao = static_cast<int32_t>(a.InteiroObrigatorio("pos", 1, 0xFFFFFF));
  const LancamentoLido lido = LeUm(servico, mes, posicao);
  MostraLancamento(saida, lido);
  if (!lido.excluido) MostraRateio(saida, qx::RateioDoLido(servico));
}

void Exclui(const Argumentos& a, Servico& servico, Saida& saida) {
  const CQXMesAno mes = a.MesAnoObrigatorio("mes");
  const auto posicao = static_cast<int32_t>(a.InteiroObrigatorio("pos", 1, 0xFFFFFF));
  Verifica(servico->Exclui(posicao, static_cast<uint16_t>(mes.Value())), "Exclui");
  MostraLancamento(saida, LeUm(servico, mes, posicao));
}

void Confere(const Argumentos& a, Servico& servico, Saida& saida) {
  const CQXMesAno mes = a.MesAnoObrigatorio("mes");
  const auto posicao = static_cast<int32_t>(a.InteiroObrigatorio("pos", 1, 0xFFFFFF));
  const unsigned char marca = a.Marca("desmarca") ? 0 : 'S';
  Verifica(servico->GravaConferido(static_cast<uint16_t>(mes.Value()), posicao, marca),
           "GravaConferido");
  MostraLancamento(saida, LeUm(servico, mes, posicao));
}

}  // namespace

std::vector<Comando> ComandosLancamento() {
  const Opcao mes = OpcaoMes("o mês do lançamento");
  const Opcao pos = OpcaoPosicao("a posição do lançamento no mês");
  return {
      {"grava", "", "grava um lançamento novo, ou altera um gravado (--mes, --pos e o que muda)",
       Junta({std::vector<Opcao>{
                  {"data", "DD/MM/AAAA", "a data do lançamento"},
                  {"debito", "CONTA", "a conta de débito (0: só crédito)"},
                  {"credito", "CONTA", "a conta de crédito (0: só débito)"},
                  {"valor", "VALOR", "o valor, como 1.234,56"},
                  {"filial", "N", "a filial (1 por omissão)"},
                  {"historico", "N", "o histórico padrão"},
                  {"documento", "N", "o número do documento"},
                  {"complemento", "TEXTO", "o texto do complemento"},
                  {"moeda", "VALOR", "o valor em moeda estrangeira"},
                  {"moeda-zero", "", "grava o valor em moeda estrangeira mesmo sendo zero"},
                  {"gerencial", "CENTRO:VALOR[:CONTA]",
                   "uma linha do rateio gerencial (repita para mais); a CONTA contábil é, sem ela, "
                   "o lado de resultado do lançamento, senão o débito",
                   true},
                  {"quantidade", "Q", "a quantidade da linha de rateio de mesma ordem", true},
                  mes,
                  pos},
              OpcoesRegras()}),
       ComServico(Grava)},
      {"le", "", "mostra um lançamento com o rateio", {mes, pos}, ComServico(Le)},
      {"exclui", "", "exclui um lançamento", {mes, pos}, ComServico(Exclui)},
      {"confere",
       "",
       "marca (ou desmarca) um lançamento como conferido",
       {mes, pos, {"desmarca", "", "tira a marca de conferido"}},
       ComServico(Confere)},
  };
}

}  // namespace qxcn
