// The web listing in both modes, its date range and the history code texts.
#include <filesystem>
#include <tuple>

#include "busca_fixture.h"
#include "lancamento/listagens/web_saida.h"
#include "platform/task_memory.h"

namespace qx {
namespace {

class WebTest : public BuscaTest {
 protected:
  void SetUp() override {
    BuscaTest::SetUp();
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
  EXPECT_EQ(Intervalo(), std::make_pair(uint16_t{0}, uint16_t{0})) << "before any listing";
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

  // Documents, history and origin-key position bounds.
  filtro = {};
  filtro.ulPosicaoHistorico = 2;
  ASSERT_EQ(Lista(0, filtro).size(), 1u);
  filtro = {};
  filtro.ulPosicaoDocumentoInicial = 101;
  filtro.ulPosicaoDocumentoFinal = 105;
  ASSERT_EQ(Lista(0, filtro).size(), 2u);
  filtro = {};
  filtro.dmcChaveCompostaInicial.lChaveModulo = 2;
  const auto depois = Lista(0, filtro);
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
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoLancamentos, CQXMesAno::Make(12, 2023))));
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
