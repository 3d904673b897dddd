// What the tools' library says of a failure, and the forms of its cells.
#include "common/falhas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/json_celula.h"
#include "common/tabela.h"
#include "common/total.h"

namespace qx::cli {
namespace {

using ::testing::HasSubstr;

// Each common failure names its code's symbol and says what to do, the
// service's statuses read as their failures.
TEST(FalhasTest, CommonFailuresNameTheSymbolAndTheHint) {
  const struct {
    uint32_t hr;
    const char* contexto;
    const char* simbolo;
    const char* dica;
  } casos[] = {
      {0x80EE0001u, "Inicializa_Padrao", "E_QXDF_EMPRESA_SEM_PASTA", "qxadmin empresa lista"},
      {0x80070070u, "GravaDados", "ERROR_DISK_FULL", "libere espaço"},
      {0x00003F08u, "Exclui", "ARQ_DISCO_CHEIO", "libere espaço"},
      {0x00043ED0u, "PegaQuantidadeRegistros", "ARQ_ACESSO_NEGADO", "permissões"},
      {0x80043E95u, "LeDadosComplemento", "ARQ_FIM_DE_ARQUIVO", "qxcn mes --mes"},
      {0x800706BAu, "Le", "RPC_S_SERVER_UNAVAILABLE", "syslog"},
  };
  for (const auto& caso : casos) {
    const Relato relato = Relata({static_cast<HRESULT>(caso.hr), caso.contexto}, TextosDe());
    EXPECT_EQ(relato.simbolo, caso.simbolo) << caso.contexto;
    EXPECT_THAT(relato.mensagem, HasSubstr(std::string(caso.contexto) + " falhou: 0x"));
    EXPECT_THAT(relato.mensagem, HasSubstr(caso.simbolo));
    EXPECT_FALSE(relato.descricao.empty()) << caso.simbolo;
    EXPECT_THAT(relato.dica, HasSubstr(caso.dica)) << caso.simbolo;
  }
}

// A code the save gives to its own checks means something else elsewhere.
TEST(FalhasTest, TheCallGivesTheCodeItsMeaning) {
  const Textos& textos = TextosDe();
  const Relato grava = Relata({static_cast<HRESULT>(0x80040002u), "GravaDados"}, textos);
  EXPECT_EQ(grava.descricao, "o lançamento não tem data");
  EXPECT_THAT(grava.dica, HasSubstr("--data"));
  const Relato outra = Relata({static_cast<HRESULT>(0x80040002u), "GetEmpresas"}, textos);
  EXPECT_NE(outra.descricao, grava.descricao);
  EXPECT_EQ(outra.dica, "");
  EXPECT_EQ(Relata({static_cast<HRESULT>(0x80F00012u), "Le"}, textos).simbolo,
            "QX_FACILITY_CONTABILIDADE");
  const Relato detalhe = Relata({.hr = static_cast<HRESULT>(0x80EE0001u),
                                 .contexto = "abrir",
                                 .dica = "mais",
                                 .detalhe = "X"},
                                textos);
  EXPECT_EQ(detalhe.descricao, "X");
  EXPECT_THAT(detalhe.dica, testing::EndsWith("; mais"));
}

TEST(FalhasTest, CellsForPeopleCsvAndJson) {
  const struct {
    Celula celula;
    const char* pessoas;
    const char* csv;
    const char* planilha;  // the spreadsheet's CSV field: amounts with a comma
    const char* json;
  } casos[] = {
      {CURRENCY{INT64_MAX}, "922.337.203.685.477,5807", "922337203685477.5807",
       "922337203685477,5807", "\"922337203685477.5807\""},
      {CURRENCY{INT64_MIN + 1}, "-922.337.203.685.477,5807", "-922337203685477.5807",
       "-922337203685477,5807", "\"-922337203685477.5807\""},
      {CURRENCY{-5000}, "-0,50", "-0.50", "-0,50", "\"-0.50\""},
      {CQXData::Make(15, 3, 2026), "15/03/2026", "2026-03-15", "15/03/2026", "\"2026-03-15\""},
      {CQXData(), "", "", "", "null"},
      {CQXMesAno::Make(3, 2026), "03/2026", "2026-03", "03/2026", "\"2026-03\""},
      {int64_t{-7}, "-7", "-7", "-7", "-7"},
      {true, "S", "true", "S", "true"},
      {"a \"b\"", "a \"b\"", "a \"b\"", "\"a \"\"b\"\"\"", "\"a \\\"b\\\"\""},
  };
  for (const auto& caso : casos) {
    EXPECT_EQ(caso.celula.ParaPessoas(), caso.pessoas);
    EXPECT_EQ(caso.celula.ParaCsv(), caso.csv);
    EXPECT_EQ(CampoCsv(caso.celula, FormaCsv::kPlanilha), caso.planilha);
    EXPECT_EQ(ParaJson(caso.celula).dump(), caso.json);
  }
  // A text field: quoted at its separator, a text that would be a formula
  // kept a text.
  const struct {
    const char* texto;
    const char* programas;
    const char* planilha;
  } campos[] = {
      {"1234.56", "1234.56", "1234.56"},
      {"a,b", "\"a,b\"", "a,b"},
      {"a;b", "a;b", "\"a;b\""},
      {"l1\nl2", "\"l1\nl2\"", "\"l1\nl2\""},
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\"", "\"'=HYPERLINK(\"\"x\"\")\""},
      {"+1", "'+1", "'+1"},
      {"-5 dias", "'-5 dias", "'-5 dias"},
      {"@soma", "'@soma", "'@soma"},
      {"\tx", "'\tx", "'\tx"},
      {"a=b", "a=b", "a=b"},
  };
  for (const auto& c : campos) {
    EXPECT_EQ(CampoCsv(c.texto, FormaCsv::kProgramas), c.programas) << c.texto;
    EXPECT_EQ(CampoCsv(c.texto, FormaCsv::kPlanilha), c.planilha) << c.texto;
  }
  Tabela tabela({"a", "b"});
  tabela.Linha({"x", CURRENCY{12345}});
  EXPECT_EQ(std::string(InicioCsv(FormaCsv::kPlanilha)) + tabela.Csv(FormaCsv::kPlanilha),
            "\xEF\xBB\xBF" "a;b\r\nx;1,2345\r\n");
  EXPECT_EQ(std::string(InicioCsv(FormaCsv::kProgramas)) + tabela.Csv(), "a,b\r\nx,1.2345\r\n");
}

// Two maximum amounts do not total -0,0002: the sum says it overflowed.
TEST(FalhasTest, TotalsNeverWrapAround) {
  Total total;
  total.Soma(CURRENCY{INT64_MAX});
  EXPECT_FALSE(total.Estourou());
  total.Soma(CURRENCY{INT64_MAX});
  EXPECT_TRUE(total.Estourou());
  total.Subtrai(CURRENCY{INT64_MAX});  // stays overflowed
  EXPECT_TRUE(total.Estourou());
  EXPECT_EQ(Celula(total).tipo(), Celula::Tipo::kNada);
  EXPECT_THAT(TotalParaPessoas(total), HasSubstr("estouro"));
  // A sum of sums (a total account's) keeps the overflow of any of them.
  Total grupo;
  grupo.Soma(total);
  grupo.Subtrai(total);
  EXPECT_TRUE(grupo.Estourou());
  Total negativo;
  negativo.Subtrai(CURRENCY{INT64_MIN + 1});
  negativo.Subtrai(CURRENCY{2});
  EXPECT_FALSE(negativo.Estourou());
  negativo.Soma(CURRENCY{INT64_MIN});
  EXPECT_EQ(negativo.Valor().int64, -3);
}

}  // namespace
}  // namespace qx::cli
