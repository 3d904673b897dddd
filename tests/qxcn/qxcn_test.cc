// qxcn run as people run it: every subcommand, the tables, --json and --csv
// read back and the exit codes.
#include <signal.h>

#include <fstream>
#include <map>
#include <set>

#include "qxcn_fixture.h"
#include "storage/records/entry_records.h"

namespace qx::test {
namespace {

// 922.337.203.685.477,5807: the largest amount there is.
constexpr char kMaior[] = "922.337.203.685.477,5807";

// A file of `linhas` entries of 1,00 on days of the month (MM/AAAA).
std::string ArquivoDoMes(const std::string& nome, int linhas, const std::string& mes) {
  std::ofstream csv(nome);
  for (int i = 1; i <= linhas; ++i) {
    csv << (i % 28 + 1) << '/' << mes << ",31,5,1,1,linha " << i << '\n';
  }
  return nome;
}

TEST_F(Qxcn, RecordsReadsUpdatesChecksAndRemovesAnEntry) {
  // A new entry, shown as people read it.
  const DumpRun grava = RunEnds(Lanca("15/03/2026", "31", "5", "1.234,56",
                                      {"--historico", "1", "--documento", "77", "--complemento",
                                       "Aluguel de março"}));
  for (const char* texto : {"15/03/2026", "1.234,56", "Aluguel de março"}) {
    EXPECT_THAT(grava.out, HasSubstr(texto));
  }
  Json lido = RunJson({"le", "--mes=03/2026", "--pos", "1"});
  EXPECT_EQ(lido["lancamento"][0],
            Json::parse(R"({"mes": "2026-03", "pos": 1, "data": "2026-03-15", "documento": 77,
                            "debito": 31, "credito": 5, "valor": "1234.56", "filial": 1,
                            "historico": 1, "conferido": "", "origem": "",
                            "complemento": "Aluguel de março", "moeda": "0.00"})"));

  // An update keeps the position and the complement it does not change; the
  // largest amount goes and comes back exact.
  RunEnds({"grava", "--mes", "03/2026", "--pos", "1", "--valor", kMaior});
  EXPECT_EQ(Run({"le", "--mes", "03/2026", "--pos", "1", "--csv"}).out,
            "mes,pos,data,documento,debito,credito,valor,filial,historico,conferido,origem,"
            "complemento,moeda\r\n2026-03,1,2026-03-15,77,31,5,922337203685477.5807,1,1,,,"
            "Aluguel de março,0.00\r\n\r\ngerencial,contabil,valor,quantidade\r\n");

  // A position belongs to its month: moving it would overwrite April's entry 1.
  RunEnds({"grava", "--mes", "03/2026", "--pos", "1", "--data", "02/04/2026"}, 2,
          {"exclua e grave um novo"});
  for (const auto& [comando, marca] : {std::pair{"confere", "S"}, {"exclui", "excluído"}}) {
    RunEnds({comando, "--mes", "03/2026", "--pos", "1"});
    EXPECT_EQ(RunJson({"le", "--mes", "03/2026", "--pos", "1"})["lancamento"][0]["conferido"],
              marca);
  }
}

// The save stands even when reading it back fails: the run says where it is.
TEST_F(Qxcn, ASaveWhoseReadingBackFailsSaysWhereItWasSaved) {
  // Writes to this month's foreign-currency file vanish, and its reads find nothing.
  std::filesystem::create_symlink("/dev/null", Pasta("CNLM0926.DAT"));
  RunEnds(Lanca("05/09/2026", "31", "5", "10", {"--moeda", "2"}), 1,
          {"gravado em 09/2026 na posição 1, mas a releitura", "ARQ_FIM_DE_ARQUIVO"});
  EXPECT_EQ(RunJson({"mes", "--mes", "09/2026"})["contagem"][0]["lancamentos"], 1);
  // The device is no file of ours: every user keeps writing to it.
  EXPECT_EQ(std::filesystem::status("/dev/null").permissions() & std::filesystem::perms::others_write,
            std::filesystem::perms::others_write);
}

TEST_F(Qxcn, SearchStatementMonthAndDifferences) {
  RunEnds(Lanca("10/05/2026", "6", "21", "500", {"--complemento", "AÇÃO DE COBRANÇA"}));
  RunEnds(Lanca("02/05/2026", "6", "21", "250", {"--complemento", "venda balcão"}));
  RunEnds(Lanca("20/05/2026", "6", "0", "80", {"--complemento", "sem contrapartida"}));
  Json busca = RunJson({"busca", "--de", "01/05/2026", "--ate", "31/05/2026", "--contem", "acao"});
  ASSERT_EQ(busca["lancamentos"].size(), 1u);
  EXPECT_EQ(busca["lancamentos"][0]["valor"], "500.00");
  EXPECT_EQ(busca["total"], Json::parse(R"({"quantidade": 1, "total": "500.00"})"));

  // The statement starts from the balance before --de and runs in date order.
  Json extrato = RunJson({"extrato", "--conta", "6", "--de", "03/05/2026", "--ate", "31/05/2026"});
  EXPECT_EQ(extrato["conta"], Json::parse(R"({"conta": 6, "classificacao": "1.1.02.001",
      "nome": "Clientes", "total": false, "desde": "2026-01-01", "de": "2026-05-03",
      "ate": "2026-05-31"})"));
  ASSERT_EQ(extrato["extrato"].size(), 2u);
  EXPECT_EQ(extrato["extrato"][0]["data"], "2026-05-10");
  EXPECT_EQ(extrato["extrato"][0]["saldo"], "750.00");
  EXPECT_EQ(extrato["totais"], Json::parse(R"({"saldo_anterior": "250.00", "debitos": "580.00",
                                               "creditos": "0.00", "saldo_final": "830.00"})"));
  const DumpRun tabela =
      Run({"extrato", "--conta", "6", "--de", "03/05/2026", "--ate", "31/05/2026"});
  EXPECT_THAT(tabela.out, HasSubstr("Conta 6 1.1.02.001 Clientes\nSaldo anterior a 03/05/2026"));
  EXPECT_THAT(tabela.out, HasSubstr("Saldo final 830,00"));

  Json mes = RunJson({"mes", "--mes", "05/2026"});
  EXPECT_EQ(mes["contagem"][0]["lancamentos"], 3);
  EXPECT_EQ(mes["lancamentos"].size(), 3u);
  EXPECT_EQ(mes["lancamentos"][0]["excluido"], false);

  // The entry without a credit account leaves a difference of +80 on its day.
  EXPECT_THAT(RunJson({"diferencas"})["diferencas"],
              ::testing::Contains(Json::parse(R"({"data": "2026-05-20", "filial": 0,
                                                  "usuario": 1, "diferenca": "80.00"})")));
  // The month's trial balance gives the same difference as the month's differences.
  for (const auto& [relatorio, chave, campo] :
       {std::tuple{"diferencas", "total", "total"}, {"balancete", "totais", "diferenca"}}) {
    EXPECT_EQ(RunJson({relatorio, "--de", "01/05/2026", "--ate", "31/05/2026"})[chave][campo],
              "80.00")
        << relatorio;
  }
  EXPECT_EQ(RunJson({"empresas"})["empresas"][0]["empresa"], "DEMO");
}

// Two largest amounts do not total -0,0002: the rows print, the sum is
// nothing, and the run says it overflowed.
TEST_F(Qxcn, TotalsThatOverflowAreReportedNeverWrapped) {
  for (int i = 0; i < 2; ++i) RunEnds(Lanca("10/12/2026", "31", "5", kMaior));
  for (const std::vector<std::string>& pedido :
       {std::vector<std::string>{"busca", "--de", "01/12/2026", "--ate", "31/12/2026"},
        {"extrato", "--conta", "31", "--de", "01/12/2026", "--ate", "31/12/2026", "--desde",
         "01/12/2026"}}) {
    Json saida = RunJson(pedido, 1);
    EXPECT_TRUE(
        (pedido[0] == "busca" ? saida["total"]["total"] : saida["totais"]["debitos"]).is_null())
        << saida;
    EXPECT_THAT(ErroJson(pedido)["mensagem"].get<std::string>(), HasSubstr("maior valor"));
    EXPECT_THAT(Run(pedido).out, HasSubstr("estouro"));
  }
}

// The accountant's reports as people and scripts read them; their sums are
// proven against the entries in the reports tests.
TEST_F(Qxcn, AccountantsReports) {
  RunEnds(Lanca("10/01/2026", "31", "5", "10.600,00",
                {"--gerencial", "2:6.600,00", "--gerencial", "3:4.000,00"}));
  RunEnds(Lanca("20/02/2026", "31", "5", "6.730,15",
                {"--gerencial", "2:130,15", "--gerencial=4:6.600,00", "--quantidade", "1,5",
                 "--moeda", "20,25"}));
  RunEnds(Lanca("05/02/2026", "5", "21", "20.000,00"));
  // An entry reads back with its split lines and its foreign-currency amount.
  const Json lido = RunJson({"le", "--mes", "02/2026", "--pos", "1"});
  EXPECT_EQ(lido["gerencial"], Json::parse(R"([
      {"gerencial": 2, "contabil": 31, "valor": "130.15", "quantidade": "1.50"},
      {"gerencial": 4, "contabil": 31, "valor": "6600.00", "quantidade": "0.00"}])"));
  EXPECT_EQ(lido["lancamento"][0]["moeda"], "20.25");
  // A search by cost centre totals what the splits allot to it.
  Json busca =
      RunJson({"busca", "--de", "01/01/2026", "--ate", "28/02/2026", "--conta-gerencial", "2"});
  EXPECT_EQ(busca["total"], Json::parse(R"({"quantidade": 2, "total": "6730.15"})"));
  EXPECT_EQ(busca["lancamentos"][1]["rateado"], "130.15");

  const std::vector<std::string> fevereiro = {"--de",       "01/02/2026", "--ate",
                                              "28/02/2026", "--desde",    "01/01/2026"};
  Json balancete = RunJson(Com({"balancete"}, fevereiro));
  EXPECT_THAT(balancete["balancete"],
              ::testing::Contains(Json::parse(R"({"conta": 3, "classificacao": "1.1.01",
                  "nome": "DISPONÍVEL", "nivel": 3, "total": true, "saldo_anterior": "-10600.00",
                  "debitos": "20000.00", "creditos": "6730.15", "saldo_final": "2669.85"})")));
  EXPECT_EQ(balancete["totais"], Json::parse(R"({"debitos": "26730.15", "creditos": "26730.15",
                                                 "diferenca": "0.00"})"));
  EXPECT_THAT(Run(Com({"balancete"}, fevereiro)).out, HasSubstr("iguais no período"));
  EXPECT_THAT(Run(Com({"balancete", "--csv"}, fevereiro)).out,
              HasSubstr("conta,classificacao,nome,nivel,total,saldo_anterior,debitos,creditos,"
                        "saldo_final\r\n1,1,ATIVO,1,true,-10600.00,20000.00,6730.15,2669.85\r\n"));
  Json porMes = RunJson(Com({"balancete", "--por-mes", "--nivel", "1"}, fevereiro));
  ASSERT_EQ(porMes["balancete"].size(), 3u);
  EXPECT_EQ(porMes["balancete"][2]["conta"], 30);
  EXPECT_EQ(porMes["balancete"][2]["2026-02"], "6730.15");

  Json razao = RunJson(Com({"razao", "--contas", "5..31"}, fevereiro));
  EXPECT_EQ(razao["contas"][0], Json::parse(R"({"conta": 5, "classificacao": "1.1.01.002",
      "nome": "Bancos conta movimento", "saldo_anterior": "-10600.00", "debitos": "20000.00",
      "creditos": "6730.15", "saldo_final": "2669.85"})"));
  EXPECT_EQ(razao["contas"].size(), 3u);
  EXPECT_EQ(razao["lancamentos"].size(), 4u);

  EXPECT_EQ(RunJson({"centros", "--de", "01/02/2026", "--ate", "28/02/2026"})["centros"],
            Json::parse(R"([
      {"centro": 2, "nome_centro": "Administrativo", "conta": 31, "classificacao": "4.1.01.001",
       "nome_conta": "Despesas administrativas", "valor": "130.15", "quantidade": "1.50"},
      {"centro": 4, "nome_centro": "Produção", "conta": 31, "classificacao": "4.1.01.001",
       "nome_conta": "Despesas administrativas", "valor": "6600.00", "quantidade": "0.00"}])"));
}

TEST_F(Qxcn, NotesAndImportLayouts) {
  // An item without a note is a refusal, as test(1) refuses.
  EXPECT_EQ(ErroJson({"notas", "existe", "--mes", "06/2026", "--chave", "9"})["mensagem"],
            "o item 9 não tem nota explicativa");
  RunEnds({"notas", "grava", "--mes", "06/2026", "--chave", "9", "--texto", "Ajuste"});
  RunEnds({"notas", "existe", "--mes", "06/2026", "--chave", "9"});
  EXPECT_EQ(RunJson({"notas", "le", "--mes", "06/2026", "--chave", "9"})["nota"][0]["texto"],
            "Ajuste");

  RunEnds({"formatos", "grava", "BANCO", "--contabil", "ACFDE", "--gerencial", "JK",
           "--delimitador", ";"});
  // Without a "Padrão" of its own the company imports by the built-in one, shown last.
  const Json padrao = {{"pos", nullptr}, {"nome", "Padrão"}, {"contabil", "CDEFGH"},
                       {"gerencial", "JK"}, {"delimitador", ","},
                       {"campos", "data, débito, crédito, valor, histórico, complemento; por "
                                  "linha de rateio: conta gerencial, valor do rateio"}};
  EXPECT_EQ(RunJson({"formatos", "lista"})["formatos"],
            Json::array({{{"pos", 1}, {"nome", "BANCO"}, {"contabil", "ACFDE"},
                          {"gerencial", "JK"}, {"delimitador", ";"},
                          {"campos", "documento, data, valor, débito, crédito; por linha de "
                                     "rateio: conta gerencial, valor do rateio"}},
                         padrao}));
  EXPECT_EQ(RunJson({"formatos", "mostra", "Padrão"})["formatos"], Json::array({padrao}));
  RunEnds({"formatos", "exclui", "BANCO"});
  RunEnds({"formatos", "mostra", "BANCO"}, 1);
}

TEST_F(Qxcn, ImportOfTenThousandLinesAndItsRemoval) {
  const std::string arquivo = *dir_ / "lancamentos.csv";
  const std::map<int, std::string> ruins = {{17, "32/07/2026,31,5,10,1,data errada"},
                                             {5000, "10/07/2026,31,5,dez,1,valor errado"},
                                             {9999, "10/07/2026,0,0,10,1,sem contas"}};
  std::ofstream csv(arquivo);
  for (int i = 1; i <= 10000; ++i) {
    if (ruins.contains(i)) {
      csv << ruins.at(i) << '\n';
    } else {
      csv << (i % 28 + 1) << "/07/2026,31,5,\"" << i << ",50\",1,\"linha " << i
          << ", com vírgula\"\n";
    }
  }
  csv.close();
  RunEnds(Lanca("01/07/2026", "31", "5", "1"));
  // Stopping at bad lines saves nothing.
  RunEnds({"importa", arquivo}, 2, {"3 linha(s) recusada(s), nada foi gravado"});
  EXPECT_EQ(RunJson({"mes", "--mes", "07/2026"})["contagem"][0]["lancamentos"], 1);

  // Skipping them saves the others and ends with exit 1, the refused lines
  // written as they were with their reasons.
  const std::string rejeitadas = *dir_ / "rejeitadas.csv";
  Json importacao =
      RunJson({"importa", arquivo, "--ao-erro", "pula", "--rejeitadas", rejeitadas}, 1);
  EXPECT_EQ(importacao["importacao"][0]["gravados"], 9997);
  EXPECT_THAT(ReadText(rejeitadas),
              testing::StartsWith("32/07/2026,31,5,10,1,data errada,\"linha 17: data "));
  EXPECT_EQ(Recusadas(importacao, {"data", "valor", "conta"}), (std::vector<int>{17, 5000, 9999}));
  // The search reads back every entry, page by page.
  Json busca = RunJson({"busca", "--de", "01/07/2026", "--ate", "31/07/2026"});
  EXPECT_EQ(busca["lancamentos"].size(), 9998u);
  EXPECT_EQ(busca["total"]["total"], "49994983.50");
  const std::string lote = Lote(importacao);
  // The batch's own entries, and only those, whatever their origin.
  EXPECT_EQ(RunJson({"busca", "--de", "01/07/2026", "--ate", "31/07/2026", "--lote", lote})
                ["total"]["quantidade"],
            9997);

  const std::vector<std::string> exclusao = {"exclui-importacao", "--lote", lote,        "--de",
                                             "01/07/2026",        "--ate",  "31/07/2026"};
  const std::vector<std::string> simulada = Com(exclusao, {"--simular"});
  EXPECT_EQ(RunJson(simulada)["meses"],
            Json::parse(R"([{"mes": "2026-07", "lancamentos": 9997}])"));
  EXPECT_THAT(Run(simulada).out, HasSubstr("nada foi excluído"));
  EXPECT_EQ(RunJson(exclusao)["exclusao"][0]["excluidos"], 9997);
  Json mes = RunJson({"mes", "--mes", "07/2026"});
  // Removal is logical: the records stay, marked deleted; the typed entry lives on.
  EXPECT_EQ(mes["contagem"][0],
            Json::parse(R"({"mes": "2026-07", "lancamentos": 9998, "excluidos": 9997,
                            "gerenciais": 0, "importados": 9997})"));
  Json restantes = RunJson({"busca", "--de", "01/07/2026", "--ate", "31/07/2026"});
  ASSERT_EQ(restantes["lancamentos"].size(), 1u);
  EXPECT_EQ(restantes["lancamentos"][0]["valor"], "1.00");
}

// The lines of the CSV block that follows the `bloco`-th empty line (0: the
// first block), heading left out.
std::vector<std::string> BlocoCsv(const std::string& saida, int bloco) {
  size_t inicio = 0;
  for (int i = 0; i < bloco; ++i) inicio = saida.find("\r\n\r\n", inicio) + 4;
  std::istringstream linhas(saida.substr(inicio, saida.find("\r\n\r\n", inicio) - inicio));
  std::vector<std::string> encontradas;
  std::string linha;
  std::getline(linhas, linha);  // the heading
  while (std::getline(linhas, linha)) encontradas.push_back(linha.substr(0, linha.find('\r')));
  return encontradas;
}

// A month of 300,000 entries, every tenth deleted, lists and searches whole:
// every read pages well under the frame limit.
TEST_F(Qxcn, AMonthOfThreeHundredThousandEntriesListsAndSearchesWhole) {
  constexpr uint32_t kEntradas = 300000;
  {
    std::ofstream cnlc(Pasta("CNLC0927.DAT"), std::ios::binary);
    EntryRecord r{};
    cnlc.write(reinterpret_cast<const char*>(&r), sizeof r);
    for (uint32_t p = 1; p <= kEntradas; ++p) {
      r.Documento = static_cast<int32_t>(p);
      r.Debito = 31;
      r.Credito = 5;
      r.Valor.int64 = 10000;
      r.Filial = 1;
      r.cDia = static_cast<int8_t>(1 + p % 28);
      r.cStatus = p % 10 == 0 ? kEntryDeleted : kEntryLive;
      cnlc.write(reinterpret_cast<const char*>(&r), sizeof r);
    }
  }
  const DumpRun mes = Run({"mes", "--mes", "09/2027", "--csv"});
  ASSERT_EQ(mes.code, 0) << mes.err;
  EXPECT_EQ(BlocoCsv(mes.out, 0), (std::vector<std::string>{"2027-09,300000,30000,0,0"}));
  const std::vector<std::string> listados = BlocoCsv(mes.out, 1);
  ASSERT_EQ(listados.size(), kEntradas);
  EXPECT_EQ(listados.back(), "300000,2027-09-09,300000,31,5,1.00,1,0,true,");
  const DumpRun busca = Run({"busca", "--de", "01/09/2027", "--ate", "30/09/2027", "--csv"});
  ASSERT_EQ(busca.code, 0) << busca.err;
  EXPECT_EQ(BlocoCsv(busca.out, 0).size(), kEntradas / 10 * 9);
  EXPECT_EQ(BlocoCsv(busca.out, 1), (std::vector<std::string>{"270000,270000.00"}));
}

// Lines the server refuses (their month's split file cannot be opened) are
// skipped with --ao-erro pula, or undo the whole import, through the batch
// interface and line by line alike.
TEST_F(Qxcn, LinesTheServerRefusesAreSkippedOrUndoTheImport) {
  RunEnds(Lanca("01/11/2027", "31", "5", "1"));
  std::filesystem::rename(Pasta("CNLG1127.DAT"), Pasta("CNLG1127.bak"));
  std::filesystem::create_directory(Pasta("CNLG1127.DAT"));
  const std::string arquivo = *dir_ / "recusas.csv";
  {
    std::ofstream csv(arquivo);
    for (int i = 1; i <= 6; ++i) csv << i << (i % 2 == 0 ? "/11/2027" : "/10/2027") << ",31,5,1,1,x\n";
  }
  const auto vivos = [&] {
    const Json contagem = RunJson({"mes", "--mes", "10/2027"})["contagem"][0];
    return contagem["lancamentos"].get<int>() - contagem["excluidos"].get<int>();
  };
  int esperados = 0;
  for (const std::vector<std::string>& como : {std::vector<std::string>{}, {"--sem-lote"}}) {
    SCOPED_TRACE(como.empty() ? "batch" : "line by line");
    const std::vector<std::string> para = Com({"importa", arquivo, "--repetir"}, como);
    RunEnds(para, 1, {"linha 2; desfeita: nada ficou do lote"});
    EXPECT_EQ(vivos(), esperados);
    const Json importacao = RunJson(Com(para, {"--ao-erro", "pula"}), 1);
    EXPECT_EQ(importacao["importacao"][0]["gravados"], 3);
    EXPECT_EQ(Recusadas(importacao, std::vector<std::string>(3, "recusada pelo servidor")),
              (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(vivos(), esperados += 3);
  }
  std::filesystem::remove(Pasta("CNLG1127.DAT"));
  std::filesystem::rename(Pasta("CNLG1127.bak"), Pasta("CNLG1127.DAT"));
}

TEST_F(Qxcn, ImportsAtOnceGetBatchesOfTheirOwnAndUndoingOneLeavesTheOthersWhole) {
  // A month each, so that no import meets another's entries in its own period.
  // The layouts file exists first: creating it at once is a matter of its own.
  constexpr int kLinhas = 300;
  RunEnds({"formatos", "lista"});
  std::vector<std::string> pastas;
  for (int i = 0; i < 4; ++i) {
    const std::string mes = "0" + std::to_string(i + 1) + "/2027";
    const std::string arquivo = ArquivoDoMes(*dir_ / ("junto" + std::to_string(i)), kLinhas, mes);
    pastas.push_back(Start({"importa", arquivo, "--json"}, "junto" + std::to_string(i) + ".run"));
  }
  std::vector<std::string> lotes;
  for (const std::string& pasta : pastas) {
    const DumpRun run = Finish(pasta);
    ASSERT_EQ(run.code, 0) << run.err;
    const Json json = ParseJson(run.out).value_or(Json::object());
    EXPECT_EQ(json["importacao"][0]["gravados"], kLinhas);
    lotes.push_back(Lote(json));
    // The batch and how to undo it were said before the first save.
    EXPECT_THAT(run.err, HasSubstr("para desfazer: qxcn exclui-importacao --empresa DEMO --lote " +
                                   lotes.back() + " "));
  }
  EXPECT_EQ(std::set<std::string>(lotes.begin(), lotes.end()).size(), 4u);

  const Json exclusao = RunJson(
      {"exclui-importacao", "--lote", lotes[0], "--de", "01/01/2027", "--ate", "31/12/2027"});
  EXPECT_EQ(exclusao["exclusao"][0]["excluidos"], kLinhas);
  for (int i = 0; i < 4; ++i) {
    const Json mes = RunJson({"mes", "--mes", "0" + std::to_string(i + 1) + "/2027"});
    EXPECT_EQ(mes["contagem"][0]["lancamentos"], kLinhas);
    EXPECT_EQ(mes["contagem"][0]["excluidos"], i == 0 ? kLinhas : 0) << i;
  }
  // A file already imported is refused, naming its batch; a batch already
  // taken is not handed out again, not even when asked for.
  RunEnds({"importa", *dir_ / "junto1"}, 1,
          {"este arquivo já foi importado: lote " + lotes[1] + " em "});
  RunEnds({"importa", *dir_ / "junto1", "--lote", lotes[1], "--repetir"}, 1,
          {"lote " + lotes[1] + " já"});
  EXPECT_EQ(RunJson({"mes", "--mes", "02/2027"})["contagem"][0]["lancamentos"], kLinhas);
}

TEST_F(Qxcn, AnImportAskedToStopEndsItsEntryAndSaysWhatItSaved) {
  constexpr int kLinhas = 20000;
  const std::string pasta =
      Start({"importa", ArquivoDoMes(*dir_ / "longo", kLinhas, "05/2027")}, "longo.run");
  ASSERT_TRUE(Until([&] { return ReadText(pasta + "/err").find("desfazer") != std::string::npos; }))
      << "the batch was not said before the import went on";
  kill(std::atoi(ReadText(pasta + "/pid").c_str()), SIGTERM);
  const DumpRun run = Finish(pasta);
  EXPECT_EQ(run.code, 1);
  const size_t em = run.err.find("interrompida pelo sinal 15: ");
  ASSERT_NE(em, std::string::npos) << run.err;
  const int gravados =
      std::atoi(run.err.c_str() + em + std::strlen("interrompida pelo sinal 15: "));
  EXPECT_LT(gravados, kLinhas);
  const size_t lote = run.err.find("--lote ");
  ASSERT_NE(lote, std::string::npos);
  // What it said it saved is there, every entry whole, and goes with the printed command.
  const Json exclusao =
      RunJson({"exclui-importacao", "--lote", std::to_string(std::atoi(run.err.c_str() + lote + 7)),
               "--de", "01/05/2027", "--ate", "31/05/2027"});
  EXPECT_EQ(exclusao["exclusao"][0]["encontrados"], gravados);
  EXPECT_EQ(exclusao["exclusao"][0]["excluidos"], gravados);
}

// A removal that stops part way says how much is gone and how to finish; a
// closed period refuses the whole batch and says where the dates are.
TEST_F(Qxcn, BatchRemovalThatStopsOrIsRefusedSaysWhatToDo) {
  const DumpRun importacao = RunTool(
      *dir_, "bash",
      {"-c",
       "printf \"02/08/2026,31,5,10,1,a\\n03/08/2026,31,5,20,1,b\\n04/10/2026,31,5,30,1,c\\n\""
       " | " +
           ToolBinary("qxcn") + " importa - --json"});
  ASSERT_EQ(importacao.code, 0) << importacao.err;
  const std::string lote = Lote(ParseJson(importacao.out).value_or(Json::object()));
  const std::vector<std::string> exclusao = {"exclui-importacao", "--lote", lote,        "--de",
                                             "01/08/2026",        "--ate",  "31/10/2026"};

  ASSERT_EQ(Admin({"config", "set", "DEMO", "blocked-start", "01/10/2026"}).code, 0);
  ASSERT_EQ(Admin({"config", "set", "DEMO", "blocked-end", "31/10/2026"}).code, 0);
  Json recusa = ErroJson(exclusao);
  EXPECT_EQ(recusa["mensagem"], "a exclusão foi recusada");
  EXPECT_THAT(recusa["dica"].get<std::string>(), HasSubstr("qxadmin config mostra"));
  ASSERT_EQ(Admin({"config", "set", "DEMO", "blocked-start", "0"}).code, 0);

  // October's split file cannot be opened: the removals of one call go back
  // together, August's with October's.
  std::filesystem::rename(Pasta("CNLG1026.DAT"), Pasta("CNLG1026.bak"));
  std::filesystem::create_directory(Pasta("CNLG1026.DAT"));
  RunEnds(exclusao, 1,
          {"(0 de 3 excluídos, restam 3)", "para terminar: qxcn exclui-importacao --lote " + lote +
                                               " --de 01/08/2026 --ate 31/10/2026"});
  std::filesystem::remove(Pasta("CNLG1026.DAT"));
  std::filesystem::rename(Pasta("CNLG1026.bak"), Pasta("CNLG1026.DAT"));
  EXPECT_EQ(RunJson(exclusao)["exclusao"][0],
            Json::parse(R"({"lote": )" + lote +
                        R"(, "encontrados": 3, "excluidos": 3, "restantes": 0})"));
}

// The company comes from --empresa, QX_EMPRESA, the user's choice or the
// installation's first one; an unknown one says where to look.
TEST_F(Qxcn, DefaultCompanyAndUnknownCompanies) {
  ASSERT_EQ(Admin({"company", "add", "LOJA", "--sample"}).code, 0);
  const auto atual = [](std::vector<std::string> ambiente) {
    ambiente.insert(ambiente.end(), {ToolBinary("qxcn"), "empresa", "atual", "--json"});
    const DumpRun run = RunTool(*dir_, "env", ambiente);
    return ParseJson(run.out).value_or(Json::object())["empresa"];
  };
  EXPECT_EQ(atual({}), Json::parse(R"({"empresa": "DEMO", "origem": "a primeira da instalação"})"));
  RunEnds({"empresa", "usar", "LOJA"});
  EXPECT_EQ(atual({}), Json::parse(R"({"empresa": "LOJA", "origem": "qxcn empresa usar"})"));
  EXPECT_EQ(atual({"QX_EMPRESA=DEMO"}),
            Json::parse(R"({"empresa": "DEMO", "origem": "QX_EMPRESA"})"));
  const DumpRun nope = RunTool(*dir_, "env", {"QX_EMPRESA=NOPE", ToolBinary("qxcn"), "empresas"});
  EXPECT_EQ(nope.code, 1);
  EXPECT_THAT(nope.err, HasSubstr("Inicializa_Padrao (empresa NOPE, de QX_EMPRESA) falhou"));
  RunEnds({"empresas", "--empresa", "DEMO"});
  std::filesystem::remove(*dir_ / "user.reg");
}

// (In a month of its own: the entry is position 1.)
TEST_F(Qxcn, HistoryOfAnEntryAndTheRawLogUnderTheSameFilters) {
  RunEnds(Lanca("10/08/2027", "31", "5", "1.234,56", {"--complemento", "Aluguel"}));
  RunEnds({"confere", "--mes", "08/2027", "--pos", "1"});
  // A change takes the checked mark off, and says so.
  EXPECT_THAT(RunEnds({"grava", "--mes", "08/2027", "--pos", "1", "--valor", "1.300,00",
                       "--sessao", "8192"})
                  .out,
              HasSubstr("estava conferido; alterado, perdeu a marca"));
  RunEnds({"exclui", "--mes", "08/2027", "--pos", "1", "--sessao", "8192"});

  // Each event with its changes; reading opens no session of its own.
  const Json historico = RunJson({"historico", "--mes", "08/2027", "--pos", "1"})["historico"];
  std::vector<std::string> eventos;
  for (const Json& linha : historico) {
    const std::string evento =
        linha["tipo"].get<std::string>() + " " + std::to_string(linha["sessao"].get<int64_t>());
    if (eventos.empty() || eventos.back() != evento) eventos.push_back(evento);
  }
  EXPECT_EQ(eventos, (std::vector<std::string>{"novo 4096", "conferido 4096", "alterado 8192",
                                               "excluído 8192"}));
  Json alterado = RunJson({"historico", "--sessao", "8192", "--tipo", "alterado"})["historico"];
  ASSERT_EQ(alterado.size(), 2u);
  EXPECT_EQ(alterado[0].size(), 10u);
  for (Json& linha : alterado) linha.erase("momento");
  EXPECT_EQ(alterado, Json::parse(R"([{"usuario": 1, "sessao": 8192, "tipo": "alterado",
      "mes": "2027-08", "pos": 1, "lote": null, "campo": "valor", "antes": "1234.56",
      "depois": "1300.00"}, {"usuario": 1, "sessao": 8192, "tipo": "alterado",
      "mes": "2027-08", "pos": 1, "lote": null, "campo": "conferido", "antes": true,
      "depois": null}])"));

  // The raw records of the same events: 24 and 8 of the new entry, 24 8 24 8 of
  // the update, 24 8 of the removal; the check has no record.
  const DumpRun log = Admin({"log", "list", "DEMO", "--mes", "08/2027", "--pos", "1", "--json"});
  ASSERT_EQ(log.code, 0) << log.err;
  const Json lista = ParseJson(log.out).value_or(Json::object());
  std::string registros;
  for (const Json& r : lista["log"]) {
    registros += std::to_string(r["tipo"].get<int>()) + r["servico"].get<std::string>() + " ";
  }
  EXPECT_EQ(registros, "24I 8I 24a 8a 24A 8A 24E 8E ");
}

// Each with its exit code and what standard error says.
TEST_F(Qxcn, UsageErrorsAndRefusals) {
  const std::tuple<int, std::vector<std::string>, std::vector<std::string>> casos[] = {
      {2, {"le", "--mes", "03/2026"}, {}},
      {2, {"grava", "--data", "15/03/2026", "--valor", "1,2,3"}, {}},
      {2, {"grava", "--data", "00/00/0000", "--valor", "1"}, {}},
      {2, {"busca", "--tudo"}, {}},
      {2, {"notas"}, {}},
      {2, {"mes", "--mes", "03/2026", "--json", "--csv"}, {}},
      {2, {"historico", "--pos", "1"}, {}},
      {2, {"historico", "--tipo", "renomeado"}, {}},
      {1,
       {"le", "--mes", "03/2026", "--pos", "99"},
       {"0x80043E95 ARQ_FIM_DE_ARQUIVO", "qxcn mes --mes"}},
      {1, {"empresa", "usar", "NOPE"}, {"E_QXDF_EMPRESA_SEM_PASTA", "qxadmin empresa lista"}},
      {1,
       {"formatos", "grava", "RUIM", "--contabil", "C", "--gerencial", "J", "--delimitador", "x"},
       {"delimitador"}},
  };
  for (const auto& [codigo, args, diz] : casos) RunEnds(args, codigo, diz);
}

}  // namespace
}  // namespace qx::test
