// importa and exclui-importacao: an import from a delimited file, run here in
// the client as the suite's import does, and its removal.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "comandos.h"
#include "common/dicas.h"
#include "diagnostics/profiler_identity.h"
#include "entries/entry_messages.h"
#include "importa_gravacao.h"
#include "importa_leitura.h"
#include "lancamentos.h"
#include "lote.h"
#include "outside/company_database.h"
#include "outside/import_batches.h"
#include "platform/bstr.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/stop_request.h"
#include "platform/task_memory.h"
#include "progresso.h"
#include "progresso_exclusao.h"
#include "regras.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

constexpr uint32_t kModuloImportacao = 21;

// The layout of that name; without a name, the company's "Padrão" or, when it
// has none, the default layout the server itself would write under that name.
Layout LeLayout(Servico& servico, const std::optional<std::string>& pedido) {
  const std::string nome = pedido.value_or(kNomeLayoutPadrao);
  const qx::UniqueBstr bstr(qx::BstrFromCp1252(qx::Utf8ToCp1252(nome)));
  uint16_t posicao = 0;
  Verifica(servico->ExisteFormatoImportacao(bstr.get(), &posicao), "ExisteFormatoImportacao");
  if (posicao == 0 && nome == kNomeLayoutPadrao) return kLayoutPadrao;
  if (posicao == 0) throw FalhaLocal{"formato de importação não encontrado: " + nome};
  REGFORMATOIMPORT r{};
  Verifica(servico->LeFormatoImportacao(posicao, &r), "LeFormatoImportacao");
  Layout layout{qx::FieldText(r.cSequenciaContabil), qx::FieldText(r.cSequenciaGerencial),
                static_cast<char>(r.cDelimitador)};
  std::string motivo;
  if (!LayoutValido(layout, &motivo)) throw FalhaLocal{"formato " + nome + ": " + motivo};
  return layout;
}

// The entries of import batch `lote` between two dates, as search keys based
// at the month of `de`.
std::vector<int32_t> BuscaLote(Servico& servico, uint32_t lote, CQXData de, CQXData ate) {
  std::vector<int32_t> chaves = ChavesDaBusca(servico, ContaLote(servico, lote, de, ate));
  Verifica(servico->LimpaFiltro(), "LimpaFiltro");
  return chaves;
}

// Removes the entries behind the keys with ExclusaoImportacao; the number removed.
uint32_t ExcluiChaves(Servico& servico, CQXMesAno base, const std::vector<int32_t>& chaves,
                      Tabela* erros) {
  std::map<uint16_t, std::vector<int32_t>> porMes;
  for (const int32_t chave : chaves) {
    const int8_t deslocamento = static_cast<int8_t>(static_cast<uint32_t>(chave) >> 24);
    porMes[static_cast<uint16_t>(base.Value() + deslocamento)].push_back(chave & 0xFFFFFF);
  }
  std::vector<CNLAN_EXCLUSAO_MES_IMP_PS> meses;
  for (auto& [mes, posicoes] : porMes) {
    std::sort(posicoes.begin(), posicoes.end());
    CNLAN_EXCLUSAO_MES_IMP_PS m{};
    m.nQtdDocs = static_cast<uint32_t>(posicoes.size());
    m.iMesAno = mes;
    m.pDocsLan = posicoes.data();
    meses.push_back(m);
  }
  CNLAN_EXCLUSAO_IMP_PS pedido{};
  pedido.nQtdMeses = static_cast<uint32_t>(meses.size());
  pedido.pMeses = meses.data();
  CNLAN_RESULTADO_EXCLUSAO_IMP_PS resultado{};
  const HRESULT hr = servico->ExclusaoImportacao(pedido, &resultado);
  for (uint32_t i = 0; i < resultado.nQtdErros && resultado.pErros != nullptr; ++i) {
    const CNLAN_ERRO_EXCLUCAO_IMP_PS& e = resultado.pErros[i];
    erros->Linha({Texto{qx::MesAnoText(CQXMesAno(e.iMesAno))}, int64_t{e.lIndLan},
                  Texto{qx::Utf8ToCp1252(e.eErro == CNLAN_EEI_NAO_FOI_IMPORTADO
                                             ? "não foi importado"
                                             : "período bloqueado")}});
  }
  CoTaskMemFree(resultado.pErros);
  Verifica(hr, "ExclusaoImportacao");
  return resultado.nQtdExcluidos;
}

// Batch numbers stay below 2^23, so that the origin key stays a positive
// number (the month counts take only positive keys as imports).
constexpr uint32_t kMaiorLote = qx::kMaiorLoteImportacao;

// The command that removes what the import saved.
std::string ComandoDesfazer(const Servico& servico, uint32_t lote, CQXData de, CQXData ate) {
  return "qxcn exclui-importacao --empresa " + servico.identidade().empresa + " --lote " +
         std::to_string(lote) + " --de " + qx::DateText(de) + " --ate " + qx::DateText(ate);
}

// `pedido` on the company's suite database; a failure says what it was doing.
HRESULT NoBanco(const std::string& empresa, const std::string& fazendo,
                const std::function<HRESULT(qx::SuiteDatabase&)>& pedido) {
  std::shared_ptr<qx::SuiteDatabase> db;
  std::string mensagem;
  HRESULT hr = qx::OpenCompanyDatabase(empresa, &db, &mensagem);
  if (SUCCEEDED(hr)) {
    hr = pedido(*db);
    mensagem = db->message();
  }
  if (FAILED(hr)) {
    throw FalhaLocal{"não consigo " + fazendo + ": " + qx::Cp1252ToUtf8(mensagem) + " (" +
                     DescreveFalha(hr) + ")"};
  }
  return hr;
}

// Reserves the batch in the company's suite database: false when another
// import, of this or any other process, had it first.
bool Reserva(const std::string& empresa, uint32_t lote) {
  return NoBanco(empresa, "reservar o lote " + std::to_string(lote), [&](qx::SuiteDatabase& db) {
           return qx::ReservaLoteImportacao(db, lote);
         }) == S_OK;
}

// "2026-03-15 10:00:00.123" as 15/03/2026 10:00.
std::string Momento(const std::string& texto) {
  if (texto.size() < 16) return texto;
  return texto.substr(8, 2) + "/" + texto.substr(5, 2) + "/" + texto.substr(0, 4) + " " +
         texto.substr(11, 5);
}

// Refuses lines that an earlier batch imported and that are still there.
void RecusaRepetida(Servico& servico, const std::string& digesto, CQXData de, CQXData ate) {
  std::vector<qx::LoteImportado> lotes;
  NoBanco(servico.identidade().empresa, "ler os lotes importados", [&](qx::SuiteDatabase& db) {
    return qx::LotesDoDigesto(db, digesto, &lotes);
  });
  for (const qx::LoteImportado& anterior : lotes) {
    if (BuscaLote(servico, anterior.lote, de, ate).empty()) continue;  // undone since
    throw FalhaLocal{"este arquivo já foi importado: lote " + std::to_string(anterior.lote) +
                         " em " + Momento(anterior.reservadoEm) + " (" +
                         std::to_string(anterior.linhas) + " linha(s)); nada foi gravado",
                     "para importar de novo assim mesmo, --repetir; para desfazer aquele: " +
                         ComandoDesfazer(servico, anterior.lote, de, ate)};
  }
}

// The batch of this import, reserved for it alone. A batch asked for with
// --lote must be free and without entries in the period; otherwise the first
// free one from the number of the current minute on, skipping those that
// earlier imports left entries of in the period without a reservation.
uint32_t ReservaLote(Servico& servico, std::optional<int64_t> pedido, CQXData de, CQXData ate) {
  if (pedido.has_value()) {
    const auto lote = static_cast<uint32_t>(*pedido);
    if (!Reserva(servico.identidade().empresa, lote)) {
      throw FalhaLocal{"o lote " + std::to_string(lote) +
                       " já pertence a outra importação; omita --lote para receber um novo"};
    }
    if (!BuscaLote(servico, lote, de, ate).empty()) {
      throw FalhaLocal{"o lote " + std::to_string(lote) +
                       " já tem lançamentos; omita --lote para receber um novo"};
    }
    return lote;
  }
  const SYSTEMTIME agora = qx::CurrentDateTime();
  const CQXData hoje = CQXData::Make(agora.wDay, agora.wMonth, agora.wYear);
  uint32_t lote = (hoje.Value() * 1440u + agora.wHour * 60u + agora.wMinute) & kMaiorLote;
  for (uint32_t tentativas = 0; tentativas <= kMaiorLote; ++tentativas) {
    lote = lote % kMaiorLote + 1;
    if (Reserva(servico.identidade().empresa, lote) && BuscaLote(servico, lote, de, ate).empty()) return lote;
  }
  throw FalhaLocal{"todos os números de lote estão reservados"};
}

// How the undoing of a stopped import ended.
struct Desfeito {
  bool completo = false;             // nothing of the batch is left
  std::optional<size_t> restantes;   // entries left, when a search could count them
  std::optional<Falha> falha;        // what kept it from finishing
};

// Removes every entry of the import's batch (no other import has its number),
// also those of a call whose answer never came. The object the import used
// goes first; when it fails (its server died with the call), a new object,
// which the service takes up from where the dead one stopped.
Desfeito DesfazLote(Servico& servico, uint32_t lote, CQXData de, CQXData ate) {
  Desfeito desfeito;
  std::unique_ptr<Servico> novo;
  for (Servico* atual = &servico; atual != nullptr;) {
    try {
      const std::vector<int32_t> chaves = BuscaLote(*atual, lote, de, ate);
      desfeito.restantes = chaves.size();
      Tabela erros({"mes", "pos", "motivo"});
      if (!chaves.empty()) ExcluiChaves(*atual, de.MesAno(), chaves, &erros);
      desfeito.restantes = BuscaLote(*atual, lote, de, ate).size();
      desfeito.completo = *desfeito.restantes == 0;
      if (!desfeito.completo) desfeito.falha = Falha{E_FAIL, "ExclusaoImportacao"};
      return desfeito;
    } catch (const Falha& falha) {
      desfeito.falha = falha;
    }
    if (novo) break;
    try {
      novo = std::make_unique<Servico>(servico.identidade());
      atual = novo.get();
    } catch (const Falha& falha) {
      desfeito.falha = falha;
      atual = nullptr;
    }
  }
  // Counted by whichever object still answers.
  for (Servico* atual : {novo.get(), &servico}) {
    if (atual == nullptr) continue;
    try {
      desfeito.restantes = BuscaLote(*atual, lote, de, ate).size();
      break;
    } catch (const Falha&) {
    }
  }
  return desfeito;
}

void Importa(const Argumentos& a, Servico& servico, Saida& saida) {
  const std::string modo = a.Valor("ao-erro").value_or("para");
  if (modo != "para" && modo != "pula") throw ErroUso{"--ao-erro: para ou pula"};
  const std::optional<std::string> rejeitadas = a.Valor("rejeitadas");
  if (rejeitadas && modo != "pula") throw ErroUso{"--rejeitadas vale com --ao-erro pula"};
  const Layout layout = LeLayout(servico, a.Valor("formato"));
  const auto filial = static_cast<uint16_t>(a.Inteiro("filial", 1, UINT16_MAX).value_or(1));

  LeituraImportacao leitura = LeImportacao(a, servico, layout, filial);
  std::vector<LinhaLida>& lidas = leitura.lidas;
  Tabela& erros = leitura.erros;
  if (leitura.reconhecido) {
    std::fprintf(stderr, "qxcn importa: campos separados por %s, como as linhas do arquivo%s\n",
                 NomeDelimitador(leitura.delimitador).c_str(),
                 (" (o formato usa " + NomeDelimitador(layout.delimitador) + ")").c_str());
  }
  if (!erros.Vazia() && modo == "para") {
    saida.Mostra("erros", "Linhas recusadas (nada foi gravado):", erros);
    throw Recusa(std::to_string(erros.Tamanho()) + " linha(s) recusada(s), nada foi gravado", {},
                 leitura.recusas, servico.identidade().empresa);
  }
  if (!leitura.avisos.Vazia()) saida.Mostra("avisos", "Avisos:", leitura.avisos);
  CQXData de, ate;
  for (const LinhaLida& l : lidas) {
    const CQXData data(l.linha.dados.DataLancamento);
    if (de.IsEmpty() || data.Value() < de.Value()) de = data;
    if (data.Value() > ate.Value()) ate = data;
  }
  if (!lidas.empty() && !a.Marca("repetir")) RecusaRepetida(servico, leitura.digesto, de, ate);
  const std::optional<int64_t> pedido = a.Inteiro("lote", 1, kMaiorLote);
  const uint32_t lote = lidas.empty() ? 0 : ReservaLote(servico, pedido, de, ate);
  if (lote != 0) {
    NoBanco(servico.identidade().empresa, "registrar as linhas do lote", [&](qx::SuiteDatabase& db) {
      return qx::RegistraLinhasLote(db, lote, leitura.digesto, static_cast<int64_t>(leitura.linhas));
    });
  }
  const uint16_t mesOrigem = static_cast<uint16_t>(CQXMesAno::Current().Value());
  const qx::StopRequest parada;
  if (lote != 0) {
    // Before the first save, so that an import killed at any point can be undone.
    std::fprintf(stderr, "qxcn importa: lote %u; para desfazer: %s\n", lote,
                 ComandoDesfazer(servico, lote, de, ate).c_str());
  }

  // Search keys of the entries this import saved, based at the month of `de`.
  std::vector<int32_t> proprias;
  size_t gravados = 0;
  HRESULT falha = S_OK;
  size_t linhaFalha = 0;
  {
    Progresso progresso("Importando", lidas.size());
    std::vector<const LinhaImportada*> linhas;
    for (LinhaLida& l : lidas) {
      l.linha.dados.wChaveOrigem.lChaveModulo = static_cast<int32_t>(lote << 8 | kModuloImportacao);
      l.linha.dados.wChaveOrigem.iData = mesOrigem;
      linhas.push_back(&l.linha);
    }
    Gravacao gravacao;
    gravacao.continua = [&] { return !parada.Requested(); };
    gravacao.gravada = [&](size_t i, int32_t indlan) {
      const int mes = CQXData(lidas[i].linha.dados.DataLancamento).MesAno().Value();
      proprias.push_back(static_cast<int32_t>(static_cast<uint32_t>(mes - de.MesAno().Value()) << 24 |
                                              static_cast<uint32_t>(indlan)));
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
    GravaLinhas(servico, !a.Marca("sem-lote"), linhas, gravacao);
  }
  if (FAILED(falha)) {
    // All or nothing: what this import saved goes again, and nothing else.
    const std::string comando = ComandoDesfazer(servico, lote, de, ate);
    const std::string chamada = linhaFalha != 0
                                    ? "importação (GravaDados, linha " + std::to_string(linhaFalha)
                                    : std::string("importação (GravaLote");
    const Desfeito desfeito = DesfazLote(servico, lote, de, ate);
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
                                 " confirmados, e até " + std::to_string(kLinhasPorChamada) +
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
                std::string(1, leitura.delimitador)});
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
  std::map<uint16_t, int64_t> meses;
  for (const int32_t chave : chaves) {
    ++meses[static_cast<uint16_t>(base.Value() +
                                  static_cast<int8_t>(static_cast<uint32_t>(chave) >> 24))];
  }
  Tabela tabela({"mes", "lancamentos"});
  for (const auto& [mes, quantos] : meses) tabela.Linha({CQXMesAno(mes), quantos});
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
