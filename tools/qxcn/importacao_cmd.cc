// importa and exclui-importacao: an import from a delimited file, run here in
// the client as the suite's import does, and its removal.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "comandos.h"
#include "common/dicas.h"
#include "contract/entry_messages.h"
#include "importa_leitura.h"
#include "platform/codepage.h"
#include "platform/stop_request.h"
#include "progresso.h"
#include "progresso_exclusao.h"
#include "regras.h"
#include "reports/importacao/formato.h"
#include "reports/importacao/gravacao.h"
#include "reports/importacao/lote.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

using qx::BuscaLote;
using qx::LinhaImportada;

// Removes the entries behind the keys with ExclusaoImportacao; the number removed.
uint32_t ExcluiChaves(Servico& servico, CQXMesAno base, const std::vector<int32_t>& chaves,
                      Tabela* erros) {
  std::vector<qx::ExclusaoRecusada> recusadas;
  const uint32_t excluidos = qx::ExcluiChaves(servico, base, chaves, &recusadas);
  for (const qx::ExclusaoRecusada& e : recusadas) {
    erros->Linha({Texto{qx::MesAnoText(CQXMesAno(e.mes))}, int64_t{e.posicao},
                  Texto{qx::Utf8ToCp1252(e.naoImportado ? "não foi importado"
                                                        : "período bloqueado")}});
  }
  return excluidos;
}

// Batch numbers stay below 2^23, so that the origin key stays a positive
// number (the month counts take only positive keys as imports).
constexpr uint32_t kMaiorLote = qx::kMaiorLoteImportacao;

// The command that removes what the import saved.
std::string ComandoDesfazer(const Servico& servico, uint32_t lote, CQXData de, CQXData ate) {
  return "qxcn exclui-importacao --empresa " + servico.identidade().empresa + " --lote " +
         std::to_string(lote) + " --de " + qx::DateText(de) + " --ate " + qx::DateText(ate);
}

// "2026-03-15 10:00:00.123" as 15/03/2026 10:00.
std::string Momento(const std::string& texto) {
  if (texto.size() < 16) return texto;
  return texto.substr(8, 2) + "/" + texto.substr(5, 2) + "/" + texto.substr(0, 4) + " " +
         texto.substr(11, 5);
}

// Refuses lines that an earlier batch imported and that are still there.
void RecusaRepetida(Servico& servico, const std::string& digesto, CQXData de, CQXData ate) {
  const std::optional<qx::LoteImportado> anterior = qx::LoteRepetido(servico, digesto, de, ate);
  if (!anterior) return;
  throw FalhaLocal{"este arquivo já foi importado: lote " + std::to_string(anterior->lote) +
                       " em " + Momento(anterior->reservadoEm) + " (" +
                       std::to_string(anterior->linhas) + " linha(s)); nada foi gravado",
                   "para importar de novo assim mesmo, --repetir; para desfazer aquele: " +
                       ComandoDesfazer(servico, anterior->lote, de, ate)};
}

// The batch of this import, reserved for it alone: the one asked for with
// --lote, free and without entries in the period, or a new one.
uint32_t ReservaLote(Servico& servico, std::optional<int64_t> pedido, CQXData de, CQXData ate) {
  if (!pedido.has_value()) return qx::ReservaLoteNovo(servico, de, ate);
  const auto lote = static_cast<uint32_t>(*pedido);
  switch (qx::ReservaLotePedido(servico, lote, de, ate)) {
    case qx::LotePedido::kDeOutraImportacao:
      throw FalhaLocal{"o lote " + std::to_string(lote) +
                       " já pertence a outra importação; omita --lote para receber um novo"};
    case qx::LotePedido::kComLancamentos:
      throw FalhaLocal{"o lote " + std::to_string(lote) +
                       " já tem lançamentos; omita --lote para receber um novo"};
    case qx::LotePedido::kReservado:
      break;
  }
  return lote;
}

void Importa(const Argumentos& a, Servico& servico, Saida& saida) {
  const std::string modo = a.Valor("ao-erro").value_or("para");
  if (modo != "para" && modo != "pula") throw ErroUso{"--ao-erro: para ou pula"};
  const std::optional<std::string> rejeitadas = a.Valor("rejeitadas");
  if (rejeitadas && modo != "pula") throw ErroUso{"--rejeitadas vale com --ao-erro pula"};
  const Layout layout = qx::LeLayout(servico, a.Valor("formato").value_or(qx::kNomeLayoutPadrao));
  const auto filial = static_cast<uint16_t>(a.Inteiro("filial", 1, UINT16_MAX).value_or(1));

  LeituraImportacao leitura = LeImportacao(a, servico, layout, filial);
  std::vector<LinhaLida>& lidas = leitura.lida.lidas;
  Tabela& erros = leitura.erros;
  if (leitura.lida.reconhecido) {
    std::fprintf(stderr, "qxcn importa: campos separados por %s, como as linhas do arquivo%s\n",
                 qx::NomeDelimitador(leitura.lida.delimitador).c_str(),
                 (" (o formato usa " + qx::NomeDelimitador(layout.delimitador) + ")").c_str());
  }
  if (!erros.Vazia() && modo == "para") {
    saida.Mostra("erros", "Linhas recusadas (nada foi gravado):", erros);
    throw Recusa(std::to_string(erros.Tamanho()) + " linha(s) recusada(s), nada foi gravado", {},
                 leitura.lida.recusas, servico.identidade().empresa);
  }
  if (!leitura.avisos.Vazia()) saida.Mostra("avisos", "Avisos:", leitura.avisos);
  CQXData de, ate;
  qx::PeriodoDasLinhas(lidas, &de, &ate);
  if (!lidas.empty() && !a.Marca("repetir")) RecusaRepetida(servico, leitura.lida.digesto, de, ate);
  const std::optional<int64_t> pedido = a.Inteiro("lote", 1, kMaiorLote);
  const uint32_t lote = lidas.empty() ? 0 : ReservaLote(servico, pedido, de, ate);
  if (lote != 0) qx::RegistraLinhas(servico, lote, leitura.lida.digesto, leitura.lida.linhas);
  const qx::StopRequest parada;
  if (lote != 0) {
    // Before the first save, so that an import killed at any point can be undone.
    std::fprintf(stderr, "qxcn importa: lote %u; para desfazer: %s\n", lote,
                 ComandoDesfazer(servico, lote, de, ate).c_str());
  }

  size_t gravados = 0;
  HRESULT falha = S_OK;
  size_t linhaFalha = 0;
  {
    Progresso progresso("Importando", lidas.size());
    const std::vector<const LinhaImportada*> linhas = qx::LinhasDoLote(lidas, lote);
    qx::Gravacao gravacao;
    gravacao.continua = [&] { return !parada.Requested(); };
    gravacao.gravada = [&](size_t, int32_t) {
      progresso.Avanca(++gravados + erros.Tamanho());
    };
    gravacao.recusada = [&](size_t i, HRESULT hr) {
      if (modo == "para" || i == SIZE_MAX) {
        falha = hr;
        linhaFalha = i == SIZE_MAX ? 0 : lidas[i].numero;
        return false;
      }
      erros.Linha({int64_t(lidas[i].numero),
                   Texto{qx::Utf8ToCp1252("recusada pelo servidor: " + DescreveFalha(hr))}});
      progresso.Avanca(gravados + erros.Tamanho());
      return true;
    };
    qx::GravaLinhas(servico, !a.Marca("sem-lote"), linhas, gravacao);
  }
  if (FAILED(falha)) {
    // All or nothing: what this import saved goes again, and nothing else.
    const std::string comando = ComandoDesfazer(servico, lote, de, ate);
    const std::string chamada = linhaFalha != 0
                                    ? "importação (GravaDados, linha " + std::to_string(linhaFalha)
                                    : std::string("importação (GravaLote");
    const qx::Desfeito desfeito = qx::DesfazLote(servico, lote, de, ate);
    if (desfeito.completo) {
      throw Falha{falha, chamada + "; desfeita: nada ficou do lote " + std::to_string(lote) + ")",
                  "o comando que a desfaria: " + comando, qx::DetalheDaFalha(falha)};
    }
    // Never advice that would import the lines a second time.
    const std::string restam =
        desfeito.restantes ? std::to_string(*desfeito.restantes) + " lançamento(s) do lote " +
                                 std::to_string(lote) + " continuam gravados"
                           : "os lançamentos do lote " + std::to_string(lote) +
                                 " não puderam ser contados (" + std::to_string(gravados) +
                                 " confirmados, e até " + std::to_string(qx::kLinhasPorChamada) +
                                 " da chamada interrompida)";
    saida.Aviso("A importação não pôde ser desfeita: " +
                (desfeito.falha ? Relata(*desfeito.falha, TextosDe()).mensagem
                                : std::string()));
    throw Falha{falha, chamada + "; " + restam + ")",
                "não importe de novo: para terminar de desfazer, " + comando,
                qx::DetalheDaFalha(falha)};
  }
  Tabela resumo({"lote", "gravados", "recusados", "de", "ate", "delimitador"});
  resumo.Linha({int64_t{lote}, int64_t(gravados), int64_t(erros.Tamanho()), de, ate,
                std::string(1, leitura.lida.delimitador)});
  saida.Mostra("importacao", "", resumo);
  if (!erros.Vazia()) saida.Mostra("erros", "Linhas recusadas:", erros);
  if (rejeitadas) GravaRejeitadas(*rejeitadas, leitura);
  if (gravados > 0) saida.Aviso("Para desfazer: " + ComandoDesfazer(servico, lote, de, ate));
  if (parada.Requested()) {
    throw FalhaLocal{"importação interrompida pelo sinal " + std::to_string(parada.Signal()) +
                     ": " + std::to_string(gravados) + " lançamento(s) gravado(s) no lote " +
                     std::to_string(lote) + ", " +
                     std::to_string(lidas.size() - gravados - erros.Tamanho()) +
                     " linha(s) não importada(s)"};
  }
  if (!erros.Vazia()) {
    throw FalhaLocal{std::to_string(erros.Tamanho()) + " linha(s) recusada(s); as outras " +
                         std::to_string(gravados) + " foram gravadas" +
                         (lote != 0 ? " no lote " + std::to_string(lote) : ""),
                     rejeitadas ? "as recusadas estão em " + *rejeitadas +
                                      ", cada uma com o motivo no último campo: corrija, apague "
                                      "esse campo e importe esse arquivo"
                                : "--rejeitadas ARQUIVO guarda as linhas recusadas com o motivo"};
  }
}

// How many entries each month holds, of keys based at `base`.
Tabela PorMes(CQXMesAno base, const std::vector<int32_t>& chaves) {
  Tabela tabela({"mes", "lancamentos"});
  for (const auto& [mes, quantos] : qx::PorMes(base, chaves)) {
    tabela.Linha({CQXMesAno(mes), quantos});
  }
  return tabela;
}

void ExcluiImportacao(const Argumentos& a, Servico& servico, Saida& saida) {
  const auto lote = static_cast<uint32_t>(a.InteiroObrigatorio("lote", 1, kMaiorLote));
  const int ano = CQXMesAno::Current().Year();
  const CQXData de = a.Data("de").value_or(CQXData::Make(1, 1, ano));
  const CQXData ate = a.Data("ate").value_or(CQXData::Make(31, 12, ano));
  const std::string comando = "qxcn exclui-importacao --lote " + std::to_string(lote) + " --de " +
                              qx::DateText(de) + " --ate " + qx::DateText(ate);
  const std::vector<int32_t> chaves = BuscaLote(servico, lote, de, ate);
  const auto resumo = [&](size_t excluidos) {
    Tabela tabela({"lote", "encontrados", "excluidos", "restantes"});
    tabela.Linha({int64_t{lote}, chaves.size(), excluidos, chaves.size() - excluidos});
    saida.Mostra("exclusao", "", tabela);
  };
  if (a.Marca("simular")) {
    saida.Mostra("meses", "Lançamentos do lote " + std::to_string(lote) + " por mês:",
                 PorMes(de.MesAno(), chaves));
    saida.Aviso(std::to_string(chaves.size()) + " lançamento(s) seriam excluídos; nada foi " +
                "excluído. Para excluir: " + comando);
    return;
  }
  Tabela erros({"mes", "pos", "motivo"});
  uint32_t excluidos = 0;
  try {
    const ProgressoExclusao progresso(servico.identidade(), lote, de, ate, chaves.size());
    excluidos = chaves.empty() ? 0 : ExcluiChaves(servico, de.MesAno(), chaves, &erros);
  } catch (const Falha& falha) {
    // Part of the batch may be gone: say how much, and how to finish.
    const size_t restam = BuscaLote(servico, lote, de, ate).size();
    resumo(chaves.size() - std::min(restam, chaves.size()));
    throw Falha{falha.hr,
                falha.contexto + " (" + std::to_string(chaves.size() - restam) + " de " +
                    std::to_string(chaves.size()) + " excluídos, restam " + std::to_string(restam) +
                    ")",
                "para terminar: " + comando};
  }
  resumo(excluidos);
  // The batch's entries all come from an import: only a closed period refuses them.
  if (!erros.Vazia()) {
    saida.Mostra("erros", "Nada foi excluído:", erros);
    // The period closed with fecha-periodo refuses with its own code, and
    // says who closed it; dates set with qxadmin config refuse as before.
    const std::optional<qx::PeriodoFechado> periodo = qx::PeriodoFechadoDaSessao();
    if (periodo && periodo->usuario) Verifica(qx::kHrPeriodoFechado, "ExclusaoImportacao");
    throw FalhaLocal("a exclusão foi recusada", qx::cli::kDicaPeriodoFechado);
  }
}

}  // namespace

std::vector<Comando> ComandosImportacao() {
  return {
      {"importa", "ARQUIVO",
       "importa um arquivo delimitado (- lê a entrada padrão) com um formato de importação",
       Junta({std::vector<Opcao>{
                  {"formato", "NOME", "o formato de importação (Padrão por omissão)"},
                  {"filial", "N", "a filial das linhas sem filial (1 por omissão)"},
                  {"lote", "N", "o número do lote (um novo por omissão)"},
                  {"ao-erro", "para|pula",
                   "para: uma linha ruim para tudo antes de gravar (por omissão); pula: segue sem "
                   "ela",
                   false, "para pula"},
                  {"rejeitadas", "ARQUIVO",
                   "com --ao-erro pula, escreve as linhas recusadas, cada uma com o motivo"},
                  {"repetir", "",
                   "importa mesmo um arquivo cujas linhas um lote ainda vivo já importou"},
                  {"sem-lote", "",
                   "grava linha a linha pela interface publicada, sem a interface de lote do "
                   "servidor"}},
              OpcoesLeituraImportacao()}),
       ComServico(Importa)},
      {"exclui-importacao",
       "",
       "exclui os lançamentos de um lote importado, tudo ou nada",
       {{"lote", "N", "o lote (a importação o mostra)"},
        {"de", "DD/MM/AAAA", "o primeiro dia (1º de janeiro do ano corrente por omissão)"},
        {"ate", "DD/MM/AAAA", "o último dia (31 de dezembro do ano corrente por omissão)"},
        {"simular", "", "mostra o que seria excluído, sem excluir"}},
       ComServico(ExcluiImportacao)},
  };
}

}  // namespace qxcn
