// The rules of a save, the same for grava and importa: one table of values on
// both sides of each rule's edge drives both; the override and the warnings;
// import files as people have them.
#include <fstream>

#include "qxcn_fixture.h"

namespace qx::test {
namespace {

struct LinhaRateio {
  std::string conta, valor, quantidade = "0";
};

// One entry, as grava options and as a line of the layout TESTE
// (branch;date;debit;credit;amount;history;complement;foreign amount, then
// cost centre;amount;quantity for each split line).
struct Lancamento {
  std::string filial = "1", data = "10/06/2026", debito = "31", credito = "5", valor = "10,00",
              historico = "1", complemento = "aluguel", moeda = "";
  std::vector<LinhaRateio> rateio = {};

  // grava's arguments, then `mais`.
  std::vector<std::string> Grava(std::vector<std::string> mais = {}) const {
    mais.insert(mais.begin(),
                {"--filial", filial, "--historico", historico, "--complemento", complemento});
    std::vector<std::string> args = Lanca(data, debito, credito, valor, mais);
    if (!moeda.empty()) args.insert(args.end(), {"--moeda", moeda});
    for (const LinhaRateio& l : rateio) {
      args.insert(args.end(),
                  {"--gerencial", l.conta + ":" + l.valor, "--quantidade", l.quantidade});
    }
    return args;
  }
  std::string Linha() const {
    std::string linha = filial + ";" + data + ";" + debito + ";" + credito + ";" + valor + ";" +
                        historico + ";" + complemento + ";" + moeda;
    for (const LinhaRateio& l : rateio) linha += ";" + l.conta + ";" + l.valor + ";" + l.quantidade;
    return linha;
  }
};

class Validacao : public Qxcn {
 protected:
  static void SetUpTestSuite() {
    Qxcn::SetUpTestSuite();
    RunEnds({"formatos", "grava", "TESTE", "--contabil", "BCDEFGHI", "--gerencial", "JKL",
             "--delimitador", ";"});
  }
  // importa of the lines with TESTE, skipping bad lines, as JSON.
  static Json Importa(const std::vector<std::string>& linhas,
                      const std::vector<std::string>& mais = {}) {
    const std::string arquivo = *dir_ / "linhas.csv";
    std::ofstream csv(arquivo, std::ios::trunc);
    for (const std::string& linha : linhas) csv << linha << '\n';
    csv.close();
    const DumpRun run = Run(Com({"importa", arquivo, "--formato", "TESTE", "--ao-erro", "pula",
                                 "--repetir", "--json"},
                                mais));
    return ParseJson(run.out).value_or(Json::object());
  }
};

TEST_F(Validacao, EachRuleRefusesOnOneSideOfItsEdgeForGravaAndImportaAlike) {
  const struct {
    const char* regra;  // in the refusal
    Lancamento ruim, bom;
    const char* desligada = "";  // a company setting off for the case, or ""
  } casos[] = {
      {"ao menos uma das contas", {.debito = "0", .credito = "0"}, {.debito = "0"}},
      {"não está no plano de contas", {.debito = "33"}, {.debito = "32"}},
      {"conta sintética", {.credito = "3"}, {.credito = "4"}},
      {"mesma conta do débito", {.debito = "5"}, {.debito = "4"}},
      {"maior que zero", {.valor = "0"}, {.valor = "0,01"}},
      {"ambíguo", {.valor = "10.555"}, {.valor = "10,555"}},
      {"históricos padrão", {.historico = "5"}, {.historico = "4"}},
      {"filial ativa do usuário 1", {.filial = "3"}, {.filial = "2"}},
      {"fora do exercício", {.data = "31/12/2025"}, {.data = "01/01/2026"}},
      {"fora do exercício", {.data = "01/01/2028"}, {.data = "31/12/2027"}},
      {"não está no plano gerencial", {.rateio = {{"5", "10"}}}, {.rateio = {{"4", "10"}}}},
      {"sintética (de totais) do plano gerencial", {.rateio = {{"1", "10"}}},
       {.rateio = {{"2", "10"}}}},
      {"não soma o valor", {.rateio = {{"2", "4,99"}, {"3", "5"}}},
       {.rateio = {{"2", "5"}, {"3", "5"}}}},
      {"valor do rateio 0,00: deve ser maior que zero", {.rateio = {{"2", "0"}, {"3", "10"}}},
       {.rateio = {{"2", "0,01"}, {"3", "9,99"}}}},
      {"quantidades gerenciais", {.rateio = {{"2", "10", "0,01"}}},
       {.rateio = {{"2", "10", "0"}}}, "managerial-quantities"},
      {"moeda estrangeira: ligue a configuração moeda-estrangeira", {.moeda = "0,01"},
       {.moeda = "0"}, "foreign-currency"},
      {"Windows-1252) não tem", {.complemento = "\u0141\u00f3d\u017a"},
       {.complemento = "L\u00f3dz"}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(std::string(caso.regra) + " " + caso.ruim.Linha());
    if (*caso.desligada) {
      ASSERT_EQ(Admin({"config", "set", "DEMO", caso.desligada, "0"}).code, 0);
    }
    RunEnds(caso.ruim.Grava(), 2, {caso.regra});
    RunEnds(caso.bom.Grava());

    Json importacao = Importa({caso.ruim.Linha(), caso.bom.Linha()});
    EXPECT_EQ(importacao["importacao"][0]["gravados"], 1);
    EXPECT_EQ(Recusadas(importacao, {caso.regra}), std::vector<int>{1});
    if (*caso.desligada) {
      ASSERT_EQ(Admin({"config", "set", "DEMO", caso.desligada, "1"}).code, 0);
    }
  }
}

// --sem-validar saves what only the rules refuse and says what it let
// through; what the server would drop stays refused.
TEST_F(Validacao, TheOverrideSavesAndSaysWhatItLetThrough) {
  const Lancamento fora{.debito = "33"};
  const Json gravado = RunJson(fora.Grava({"--sem-validar"}));
  EXPECT_EQ(gravado["lancamento"][0]["debito"], 33);
  EXPECT_THAT(gravado["avisos"][0]["aviso"].get<std::string>(), HasSubstr("--sem-validar"));
  const Json importado = Importa({fora.Linha()}, {"--sem-validar"});
  EXPECT_EQ(importado["importacao"][0]["gravados"], 1);
  EXPECT_EQ(importado["avisos"][0]["campo"], "débito");

  ASSERT_EQ(Admin({"config", "set", "DEMO", "foreign-currency", "0"}).code, 0);
  RunEnds(Lancamento{.moeda = "5"}.Grava({"--sem-validar"}), 2);
  ASSERT_EQ(Admin({"config", "set", "DEMO", "foreign-currency", "1"}).code, 0);

  // --substituir stores '?' where the code page lacks the character, and names them.
  const Json substituido = RunJson(
      Lancamento{.data = "11/06/2026", .complemento = "Caf\u00e9 \u2615 \u6771"}.Grava(
          {"--substituir"}));
  EXPECT_EQ(substituido["lancamento"][0]["complemento"], "Caf\u00e9 ? ?");
  EXPECT_EQ(substituido["avisos"][0]["valor"], "\u2615 \u6771");
}

// 499 characters are kept whole; one more is cut to them, with a warning.
TEST_F(Validacao, AComplementPastTheStoredLengthIsCutWithAWarning) {
  for (const size_t tamanho : {size_t{499}, size_t{500}}) {
    const Json gravado = RunJson(Lancamento{.complemento = std::string(tamanho, 'x')}.Grava());
    EXPECT_EQ(gravado["lancamento"][0]["complemento"].get<std::string>().size(), 499u);
    EXPECT_EQ(gravado.contains("avisos"), tamanho > 499) << tamanho;
  }
}

// Import files as people have them, with the default layout.
TEST_F(Validacao, ImportFilesInTheirEncodingsWithHeadingsAndOtherDelimiters) {
  const std::string bom = "\xEF\xBB\xBF", linha = "02/07/2026,31,5,10,1,",
                    cabecalho = "data,debito,credito,valor,historico,complemento\n";
  const struct {
    std::string bytes;
    std::vector<std::string> opcoes;
    int codigo;
    const char* contem;  // in the output (the saved complement) or the refusal
  } casos[] = {
      {bom + cabecalho + linha + "bom\n", {"--cabecalho"}, 0, "bom"},
      {cabecalho + linha + "x\n", {}, 2, "parece um cabeçalho: use --cabecalho"},
      {linha + "ma\xE7o\n", {}, 2, "byte 0xE7 na posição 24: não é UTF-8"},
      {linha + "ma\xE7o\n", {"--codificacao", "latin1"}, 0, "ma\u00e7o"},
      {linha + "\x80 10\n", {"--codificacao", "cp1252"}, 0, "\u20ac 10"},
      {linha + "\x80 10\n", {"--codificacao", "latin1"}, 2, "Windows-1252) não tem"},
      {"02/07/2026;31;5;10;1;x\n", {"--delimitador", ","}, 2,
       "parece separada por ';' e o formato usa ','"},
      {"02/07/2026;31;5;10;1;separado\n;;;;;\n", {}, 0, "separado"},
      {"02/07/2026\t31\t5\t10\t1\ttabulado\n", {}, 0, "tabulado"},
      {bom + linha + "x\n", {"--codificacao", "cp1252"}, 2, "marca de UTF-8"},
      {linha + "\"dito \"\"assim\"\", sim\"\n", {}, 0, "dito \"assim\", sim"},
      {linha + "pol 5\" x\n", {}, 0, "pol 5\" x"},
      {linha + "\"aberta\n", {}, 2, "abertas e não fechadas"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.bytes);
    const std::string arquivo = *dir_ / "arquivo.csv";
    std::ofstream(arquivo, std::ios::binary | std::ios::trunc) << caso.bytes;
    const DumpRun run = Run(Com({"importa", arquivo}, caso.opcoes));
    EXPECT_EQ(run.code, caso.codigo) << run.err;
    if (caso.codigo != 0) {
      EXPECT_THAT(run.out + run.err, HasSubstr(caso.contem));
      continue;
    }
    const Json busca =
        RunJson({"busca", "--de", "02/07/2026", "--ate", "02/07/2026", "--contem", caso.contem});
    EXPECT_EQ(busca["lancamentos"].size(), 1u);
  }
}

}  // namespace
}  // namespace qx::test
