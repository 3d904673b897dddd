// The listings: a month's entries, the company list, the CRM extract (client
// code and branch positions), the web listing in both modes with its date
// range and the history code texts.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "contract/busca_codigos.h"
#include "lancamento/listagens/web_saida.h"
#include "lancamento_fixture.h"
#include "platform/registry.h"
#include "platform/task_memory.h"
#include "storage/folders/folders.h"

namespace qx {
namespace {

using Listagem = LancamentoTest;

TEST_F(Listagem, MonthListingWithinTheCallersRoomAndCompanyListOnce) {
  EntryRecord importado = Registro(7, 4, 11, 100);
  importado.lChaveModulo = MakeChaveModulo(42, kImportModule);
  importado.iData = Mes(6).Value();
  importado.Secao = 0x12345;
  importado.cStatusIFRS = 2;
  EntryRecord excluido = Registro(8, 5, 11, 200);
  excluido.cStatus = kEntryDeleted;
  Acrescenta(Mes(6), {importado, Registro(9, 4, 11, 300, /*filial=*/3), excluido});

  REG_DADOS_LANCAMENTOS dados[4];
  std::memset(dados, 0x5A, sizeof(dados));
  EXPECT_EQ(objeto_.LeLancamentosMes(Mes(6).Value(), 3, dados), S_OK);
  EXPECT_EQ(std::tuple(dados[0].wChaveOrigem.lChaveModulo, dados[0].wChaveOrigem.iData,
                       dados[0].Valor.int64, dados[0].ValorMoeda.int64, dados[0].DataLancamento,
                       dados[0].Secao, dados[0].cStatusIFRS, dados[0].bExcluido),
            std::tuple(+importado.lChaveModulo, Mes(6).Value(), 100, 0, Dia(7, 6), 0x2345, 2, 0));
  EXPECT_EQ(dados[0].lFiller, 0x5A5A5A5Au) << "not written";
  EXPECT_EQ(dados[1].Debito, 0x5A5A5A5A) << "an inactive branch's element is left as it was";
  EXPECT_EQ(std::tuple(dados[2].bExcluido, dados[2].Valor.int64), std::tuple(1, 200));

  std::memset(dados, 0x5A, sizeof(dados));
  EXPECT_EQ(objeto_.LeLancamentosMes(Mes(6).Value(), 2, dados), kHrMaisRegistrosQueEspaco);
  EXPECT_EQ(dados[0].Valor.int64, 100);
  EXPECT_EQ(dados[2].Debito, 0x5A5A5A5A) << "nothing beyond the given count";
  EXPECT_EQ(objeto_.LeLancamentosMes(Mes(6).Value(), -1, dados), kHrMaisRegistrosQueEspaco);
  EXPECT_EQ(objeto_.LeLancamentosMes(Mes(7).Value(), 0, nullptr), S_OK) << "an empty month";
  // The company list is handed out once.
  ULONG quantidade = 0;
  ASSERT_EQ(objeto_.GetQuantidadeEmpresas(&quantidade), S_OK);
  ASSERT_EQ(quantidade, 1u);
  EmpresasLancamento lista[3];
  std::memset(lista, 0x5A, sizeof(lista));
  EXPECT_EQ(objeto_.GetEmpresas(3, lista), S_OK);
  EXPECT_STREQ(lista[0].NomeEmpresa, TestCompany::kCodigo);
  EXPECT_EQ(lista[1].NomeEmpresa[0], 0x5A) << "only the names the list holds are written";
  EXPECT_EQ(objeto_.GetEmpresas(1, lista), kHrSemListaEmpresas);

  // A company without its "DF" folder value is not listed.
  Registry store = TestCompany::Store();
  ASSERT_EQ(store.SetString(std::string(kCompaniesKey) + "\\SEM_DF", "CN", "/tmp/x"), 0);
  ASSERT_EQ(objeto_.GetQuantidadeEmpresas(&quantidade), S_OK);
  EXPECT_EQ(quantidade, 1u);
}

std::string Linha(char filial, char posicao) { return filial + std::string(30, ' ') + posicao; }

class CrmTest : public LancamentoTest {
 protected:
  void SetUp() override {}

  // The table as a company of client code `cliente` reads it; the code read.
  std::vector<uint16_t> Tabela(uint16_t cliente) {
    company_.SetConfig("client-code", cliente);
    CLancamentoBase objeto;
    EXPECT_EQ(objeto.Inicializa(RegistroInicializacao()), S_OK);
    std::vector<uint16_t> tabela(10, 0x5A5A);
    uint16_t codigo = 0;
    EXPECT_EQ(objeto.PegaDadosCRM(&codigo, 0, tabela.data()), S_OK);
    EXPECT_EQ(codigo, cliente);
    return tabela;
  }

  void Escreve(const std::vector<std::string>& linhas) {
    std::ofstream arquivo(company_.CnFolder() + "POSFILCRM.TXT", std::ios::binary);
    for (const std::string& linha : linhas) arquivo << linha << "\r\n";
  }
};

TEST_F(CrmTest, EveryBranchPositionReachesTheCaller) {
  const std::vector<uint16_t> zeros(10, 0);
  EXPECT_EQ(Tabela(851), zeros) << "no file";

  std::vector<std::string> linhas = {Linha('0', '5'), Linha('A', '5')};
  for (char filial = '1'; filial <= '9'; ++filial) {
    linhas.push_back(Linha(filial, '9' - (filial - '1')));
  }
  Escreve(linhas);
  EXPECT_EQ(Tabela(851), (std::vector<uint16_t>{0, 9, 8, 7, 6, 5, 4, 3, 2, 1}));

  // An empty line ends the table; other clients get zeros.
  Escreve({Linha('3', '7'), "5", "", Linha('4', '2')});
  EXPECT_EQ(Tabela(851), (std::vector<uint16_t>{0, 0, 0, 7, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Tabela(850), zeros);
}

class WebTest : public LancamentoTest {
 protected:
  void SetUp() override {
    LancamentoTest::SetUp();
    EntryRecord excluido = Registro(7, 4, 11, 999);
    excluido.cStatus = kEntryDeleted;
    EntryRecord segundo = Registro(6, 5, 12, 200);
    segundo.CodHis = 2;
    Acrescenta(Mes(3),
               {Registro(5, 4, 11, 100), segundo, excluido, Registro(8, 4, 11, 400, /*filial=*/3)});
    Acrescenta(Mes(4), {Registro(1, 11, 4, 300)});
  }

  // The listed entries; the blocks go back to the task allocator.
  std::vector<_REG_LANCAMENTO_TARVOWEB_PS> Lista(ULONG quantidade,
                                                 const _REG_FILTRO_LANCAMENTO_TARVOWEB_PS& filtro,
                                                 HRESULT esperado = S_OK) {
    _REG_LISTA_LANCAMENTOS_TARVOWEB_PS* lista = nullptr;
    EXPECT_EQ(objeto_.BuscaLancamentosTarvoWeb(quantidade, filtro, &lista), esperado);
    std::vector<_REG_LANCAMENTO_TARVOWEB_PS> saida;
    if (lista == nullptr) return saida;
    saida.assign(lista->pPonteiros, lista->pPonteiros + lista->ulQtde);
    CoTaskMemFree(lista->pPonteiros);
    CoTaskMemFree(lista);
    return saida;
  }

  std::pair<uint16_t, uint16_t> Intervalo() {
    uint16_t inicial = 1, final = 1;
    EXPECT_EQ(objeto_.GetRangeDatasTarvoWeb(&inicial, &final), S_OK);
    return {inicial, final};
  }

  static uint16_t Baixo(uint32_t data) { return static_cast<uint16_t>(data); }
};

TEST_F(WebTest, FilteredListingTakesLiveActiveEntriesThatPassTheFilter) {
  _REG_FILTRO_LANCAMENTO_TARVOWEB_PS filtro{};
  filtro.ulPosicaoConta = 4;
  filtro.usDataInicial = Dia(1, 3);
  filtro.usDataFinal = Dia(30, 4);
  const auto lista = Lista(0, filtro);
  ASSERT_EQ(lista.size(), 2u) << "deleted and inactive-branch entries are left out";
  EXPECT_EQ(std::tuple(lista[0].ulPosicaoContaDebito, lista[0].ulPosicaoContaCredito,
                       lista[0].ulPosicaoFilial, lista[0].ulPosicaoDocumento, lista[0].vValor.int64,
                       lista[0].dmcChaveComposta.lChaveModulo, lista[0].dmcChaveComposta.iData,
                       lista[0].usData),
            std::tuple(4u, 11u, 1u, 105u, 100, 1, Mes(3).Value(), Dia(5, 3)));
  EXPECT_STREQ(lista[0].cCodigoHistorico, "Pagam") << "the history text, cut to 5 characters";
  EXPECT_EQ(lista[1].usData, Dia(1, 4));
  EXPECT_EQ(Intervalo(), std::make_pair(Baixo(Dia(1, 3)), Baixo(Dia(30, 4))));

  // History, documents and origin-key position bounds.
  _REG_FILTRO_LANCAMENTO_TARVOWEB_PS historico{}, documentos{}, chave{};
  historico.ulPosicaoHistorico = 2;
  documentos.ulPosicaoDocumentoInicial = 101;
  documentos.ulPosicaoDocumentoFinal = 105;
  chave.dmcChaveCompostaInicial.lChaveModulo = 2;
  EXPECT_EQ(std::tuple(Lista(0, historico).size(), Lista(0, documentos).size()),
            std::tuple(1u, 2u));
  const auto depois = Lista(0, chave);
  ASSERT_EQ(depois.size(), 1u);
  EXPECT_EQ(depois[0].dmcChaveComposta.lChaveModulo, 2);
  EXPECT_EQ(Intervalo(), std::make_pair(uint16_t{0}, uint16_t{0}));

  // The complement must contain the text, accents and case folded.
  EntryRecord comTexto = Registro(9, 4, 11, 500);
  comTexto.Complemento = AcrescentaComplemento(Mes(5), "Tarifa BANC\xC1RIA");
  Acrescenta(Mes(5), {Registro(8, 4, 11, 1), comTexto});
  filtro = {};
  std::strcpy(filtro.cComplemento, "banc\xE1ria");
  const auto comComplemento = Lista(0, filtro);
  ASSERT_EQ(comComplemento.size(), 1u);
  EXPECT_EQ(comComplemento[0].dmcChaveComposta.lChaveModulo, 2);

  // The first month above the last: an empty list.
  filtro = {};
  filtro.usDataInicial = Dia(1, 5);
  filtro.usDataFinal = Dia(1, 4);
  EXPECT_TRUE(Lista(0, filtro).empty());
}

TEST_F(WebTest, LatestEntriesWalkDownFromTheMastersDate) {
  company_.SetConfig("history-text-kind", 1);
  const auto lista = Lista(2, {});
  ASSERT_EQ(lista.size(), 2u);
  EXPECT_EQ(lista[0].usData, Dia(1, 4));
  EXPECT_EQ(lista[1].usData, Dia(5, 3));
  EXPECT_STREQ(lista[1].cCodigoHistorico, "15");
  EXPECT_EQ(Intervalo(), std::make_pair(Baixo(Dia(5, 3)), Baixo(Dia(1, 4))));

  // Starting in March, the walk cannot reach the four live entries of the
  // period: it goes down to the first month the file names can tell apart,
  // without reading April's file again as April 1924, leaves the initial
  // date 0 and makes no files on its way.
  company_.SetConfig("period-end", Dia(31, 3));
  const auto todos = Lista(10, {});
  ASSERT_EQ(todos.size(), 3u) << "no branch test in this mode";
  EXPECT_EQ(todos[2].ulPosicaoFilial, 3u);
  EXPECT_EQ(Intervalo(), std::make_pair(uint16_t{0}, Baixo(Dia(5, 3))));
  EXPECT_FALSE(
      std::filesystem::exists(Caminho(kPrefixoLancamentos, CQXMesAno::Make(12, 2023).Value())));
}

TEST(WebHistorico, CodeTextsByKind) {
  _RegHistoricoPS historico{};
  std::strcpy(historico.szTexto, "Pagamento");
  std::strcpy(historico.szAbreviacao, "PAG");
  // Kind 1 adds the check digit when it fits; 0 the text, 2 the abbreviation.
  const std::tuple<uint8_t, uint16_t, const char*> casos[] = {
      {1, 123, "1237"},    {1, 7, "72"},    {1, 1234, "12347"},
      {1, 12345, "12345"}, {0, 1, "Pagam"}, {2, 1, "PAG"}};
  char campo[6];
  for (const auto& [tipo, codigo, texto] : casos) {
    TextoCodigoHistorico(tipo, codigo, historico, campo);
    EXPECT_STREQ(campo, texto) << +tipo << " " << codigo;
  }
  std::memset(campo, 'x', sizeof(campo));
  TextoCodigoHistorico(3, 1, historico, campo);
  EXPECT_EQ(std::string(campo, sizeof(campo)), std::string(6, '\0'));
}

}  // namespace
}  // namespace qx
