// One entry's life through the interface: saved, read, updated, deleted and
// read as deleted, checked against the dump of its files and the change log;
// the expected messages on the way leave no error line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../storage/qxdump_run.h"
#include "outside/admin/company_admin.h"
#include "outside/admin/suite_setup.h"
#include "platform/bstr.h"
#include "service_fixture.h"
#include "storage/month_name.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

using IdaEVolta = ServiceTest;

const CQXData kData = CQXData::Make(21, 6, 2024);
const uint16_t kJunho = kData.MesAno().Value();

// The table qxdump prints of one month file of the company.
std::string Dump(const TestCompany& company, const char* prefixo) {
  test::TempDir pasta;
  const test::DumpRun run =
      test::RunQxdump(pasta, {NomeArquivoMes(company.CnFolder(), prefixo, kJunho)});
  EXPECT_EQ(run.code, 0) << run.err;
  return run.out;
}

using Tokens = std::vector<std::string>;

// The cells of the table row of record `posicao` (empty when there is none).
Tokens Linha(const std::string& tabela, int posicao) {
  std::istringstream linhas(tabela);
  std::string linha;
  while (std::getline(linhas, linha)) {
    std::istringstream celulas(linha);
    Tokens tokens;
    for (std::string celula; celulas >> celula;) tokens.push_back(celula);
    if (!tokens.empty() && tokens[0] == std::to_string(posicao)) return tokens;
  }
  return {};
}

struct Contagem {
  int32_t lancamentos = -1, excluidos = -1, gerenciais = -1, importados = -1;
};
Contagem Conta(IQXCN_Lancamento* s) {
  Contagem c;
  EXPECT_EQ(s->PegaQuantidadeRegistros(kJunho, &c.lancamentos, &c.excluidos, &c.gerenciais,
                                       &c.importados),
            S_OK);
  return c;
}

TEST_P(IdaEVolta, SaveReadUpdateDeleteAsTheFilesAndTheLogTellIt) {
  Servico servico = Inicializado();
  IQXCN_Lancamento* s = servico.get();
  ASSERT_EQ(s->SetFilial(1), S_OK);
  ASSERT_EQ(s->SetData(kData.Value()), S_OK);
  ASSERT_EQ(s->SetDebito(4), S_OK);
  ASSERT_EQ(s->SetCredito(11), S_OK);
  ASSERT_EQ(s->SetValor(CURRENCY{2500000}), S_OK);
  ASSERT_EQ(s->SetDocumento(4711), S_OK);
  ASSERT_EQ(s->SetHistorico(2), S_OK);
  UniqueBstr texto(BstrFromCp1252("primeira vers\xE3o"));
  ASSERT_EQ(s->SetComplemento(texto.get()), S_OK);
  RegLan_Ger linhas[2] = {};
  linhas[0].Valor = CURRENCY{1500000};
  linhas[0].ContaGerencial = 2;
  linhas[1].Valor = CURRENCY{1000000};
  linhas[1].ContaGerencial = 3;
  ASSERT_EQ(s->SetLancamentoGerencial(2, linhas), S_OK);
  int32_t indlan = 0;
  ASSERT_EQ(s->Grava(&indlan), S_OK);
  ASSERT_EQ(indlan, 1);
  std::string cnlc = Dump(company_, kPrefixoLancamentos);
  EXPECT_EQ(Linha(cnlc, 1), (Tokens{"1", "21/06/2024", "ativo", "4711", "4", "11", "250,00", "1",
                                    "2", "1", "1", "3", "0", "0", "-", "0", "0"}))
      << cnlc;
  std::string cnlg = Dump(company_, kPrefixoGerencial);
  EXPECT_EQ(Linha(cnlg, 2), (Tokens{"2", "100,00", "1", "1", "3", "0", "1", "-"})) << cnlg;

  // Read back whole.
  RegDadosComplemento dados{};
  ASSERT_EQ(s->LeDadosComplemento(1, kJunho, &dados), S_OK);
  EXPECT_EQ(+dados.RegLan.Documento, 4711);
  EXPECT_EQ(+dados.RegLan.DataLancamento, kData.Value());
  EXPECT_EQ(+dados.RegLan.Valor.int64, 2500000);
  EXPECT_EQ(+dados.RegLan.Gerencial, 1);
  EXPECT_EQ(+dados.RegLan.Secao, 3);
  EXPECT_STREQ(dados.cComplemento, "primeira vers\xE3o");
  BSTR lido = nullptr;
  ASSERT_EQ(s->GetComplemento(&lido, kJunho, 1), S_OK);
  EXPECT_EQ(BstrToCp1252(lido), "primeira vers\xE3o");
  SysFreeString(lido);

  // Updated with a new text and a one-line split.
  ASSERT_EQ(s->Le(1, kJunho), S_OK);
  ASSERT_EQ(s->SetValor(CURRENCY{3000000}), S_OK);
  UniqueBstr segunda(BstrFromCp1252("segunda"));
  ASSERT_EQ(s->SetComplemento(segunda.get()), S_OK);
  linhas[0].Valor = CURRENCY{3000000};
  ASSERT_EQ(s->SetLancamentoGerencial(1, linhas), S_OK);
  ASSERT_EQ(s->Grava(&indlan), S_OK);
  EXPECT_EQ(indlan, 1);
  cnlc = Dump(company_, kPrefixoLancamentos);
  EXPECT_EQ(Linha(cnlc, 1), (Tokens{"1", "21/06/2024", "ativo", "4711", "4", "11", "300,00", "1",
                                    "2", "17", "3", "3", "0", "0", "-", "0", "0"}))
      << cnlc;
  EXPECT_TRUE(Linha(cnlc, 2).empty()) << "still one entry";
  cnlg = Dump(company_, kPrefixoGerencial);
  EXPECT_EQ(Linha(cnlg, 1).at(1), "0,00") << cnlg;
  EXPECT_EQ(Linha(cnlg, 2).at(2), "0") << "old lines zeroed";
  EXPECT_EQ(Linha(cnlg, 3), (Tokens{"3", "300,00", "1", "1", "2", "0", "3", "1"})) << cnlg;
  const std::string cnlh = Dump(company_, kPrefixoComplementos);
  EXPECT_NE(cnlh.find("primeira vers"), std::string::npos) << "old text stays";
  EXPECT_NE(cnlh.find("segunda"), std::string::npos) << cnlh;

  EXPECT_EQ(Conta(s).gerenciais, 1);

  // Deleted, and read as deleted; removing it again changes nothing.
  const int linhasDeErro = company_.ErrorLines();
  ASSERT_EQ(s->Exclui(1, kJunho), S_OK);
  cnlc = Dump(company_, kPrefixoLancamentos);
  EXPECT_EQ(Linha(cnlc, 1).at(2), "excluído") << cnlc;
  EXPECT_EQ(Linha(Dump(company_, kPrefixoGerencial), 3).at(1), "0,00");
  RegDados excluido{};
  EXPECT_EQ(s->LeLancamentoExcluido(1, kJunho, &excluido), static_cast<HRESULT>(0x000405F7));
  EXPECT_EQ(+excluido.Valor.int64, 3000000);
  EXPECT_EQ(+excluido.Complemento, 17);
  EXPECT_EQ(s->Le(1, kJunho), static_cast<HRESULT>(0x000405F7));
  EXPECT_EQ(s->LeDados(1, kJunho, &excluido), static_cast<HRESULT>(0x800405F7u));
  EXPECT_EQ(s->Exclui(1, kJunho), S_OK);
  EXPECT_EQ(s->Exclui(2, kJunho), static_cast<HRESULT>(0x000405F8u));
  EXPECT_EQ(company_.ErrorLines(), linhasDeErro) << "expected messages are not failures";
  const Contagem depois = Conta(s);
  EXPECT_EQ(depois.lancamentos, 1);
  EXPECT_EQ(depois.excluidos, 1);
  EXPECT_EQ(depois.gerenciais, 0);

  EXPECT_EQ(TestCompany::ChangeLogItems(), (Tokens{"24I1", "8I1", "27I1", "27I2", "24a1", "8a1",
                                                   "27a1", "24A1", "8A1", "27A3", "24E1", "8E1"}));
}

QX_SERVICE_SUITE(IdaEVolta);

}  // namespace
}  // namespace qx
