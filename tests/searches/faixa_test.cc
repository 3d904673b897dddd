// The batch interface's reads of a month by position range and at given
// positions: every position of an active branch, deleted ones with their
// status and stored data, texts when asked for, pages that end at the
// month's end, and the split lines with their quantities.
#include <string>
#include <vector>

#include "busca_fixture.h"
#include "platform/task_memory.h"

namespace qx {
namespace {

// A page's entries as "position:status:debit:text" items.
std::vector<std::string> Itens(const REG_LOTE_LISTA_LANCAMENTOS& lista) {
  std::vector<std::string> itens;
  for (uint32_t i = 0; i < lista.ulQtde; ++i) {
    const REG_LOTE_LANCAMENTO_LIDO& l = lista.pLancamentos[i];
    itens.push_back(std::to_string(l.lPosicao) + ":" + std::to_string(l.cStatus) + ":" +
                    std::to_string(l.Dados.Debito) + ":" +
                    std::string(reinterpret_cast<const char*>(lista.pTextos) +
                                    l.ulInicioComplemento,
                                l.usTamanhoComplemento));
  }
  return itens;
}

class FaixaTest : public BuscaTest {
 protected:
  void SetUp() override {
    BuscaTest::SetUp();
    EntryRecord comTexto = Registro(3, 4, 11, 100);
    comTexto.Complemento = AcrescentaComplemento(Mes(3), "aluguel");
    EntryRecord excluido = Registro(4, 5, 11, 200);
    excluido.cStatus = kEntryDeleted;
    Acrescenta(Mes(3), {comTexto, excluido, Registro(5, 6, 11, 300, 3), Registro(6, 7, 11, 400, 2),
                        Registro(7, 31, 21, 500)});
  }

  // A page by position range, or at the positions `chaves` when there are any.
  std::vector<std::string> Pagina(int32_t inicio, int32_t quantidade, int32_t textos,
                                  int32_t* ultima = nullptr, std::vector<int32_t> chaves = {}) {
    REG_LOTE_LISTA_LANCAMENTOS* lista = nullptr;
    const auto mes = static_cast<uint16_t>(Mes(3).Value());
    EXPECT_EQ(chaves.empty() ? objeto_.LeLancamentosFaixa(mes, inicio, quantidade, textos, &lista)
                             : objeto_.LeLancamentosChaves(mes, static_cast<int32_t>(chaves.size()),
                                                           chaves.data(), textos, &lista),
              S_OK);
    if (lista == nullptr) return {};
    const std::vector<std::string> itens = Itens(*lista);
    if (ultima != nullptr) *ultima = lista->lUltimaPosicao;
    CoTaskMemFree(lista->pLancamentos);
    CoTaskMemFree(lista->pTextos);
    CoTaskMemFree(lista);
    return itens;
  }
};

TEST_F(FaixaTest, PagesOfAMonthWithDeletedEntriesAndInactiveBranches) {
  using Itens = std::vector<std::string>;
  struct Caso {
    int32_t inicio, quantidade, textos;
    Itens esperado;
    std::vector<int32_t> chaves;  // read at these positions, in their order
  };
  // Branch 3 is not active for the user: position 3 is left out, as are
  // positions the month does not hold.
  const Caso casos[] = {
      {0, 0, 1, {"5:0:31:", "1:0:4:aluguel\r", "2:1:5:", "1:0:4:aluguel\r"}, {5, 1, 3, 6, 0, 2, 1}},
      // Keys of the months after and before: none there.
      {0, 0, 0, {"4:0:7:"}, {-1, 1 << 24 | 1, -(1 << 24) | 1, 4}},
      {1, 100, 1, {"1:0:4:aluguel\r", "2:1:5:", "4:0:7:", "5:0:31:"}, {}},
      {0, 2, 0, {"1:0:4:", "2:1:5:"}, {}},
      {2, 3, 0, {"2:1:5:", "4:0:7:"}, {}},
      {5, 1, 0, {"5:0:31:"}, {}},
      {6, 10, 1, {}, {}},
      {1, 0, 1, {}, {}},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(std::to_string(caso.inicio) + "+" + std::to_string(caso.quantidade));
    int32_t ultima = 0;
    EXPECT_EQ(Pagina(caso.inicio, caso.quantidade, caso.textos, &ultima, caso.chaves),
              caso.esperado);
    EXPECT_EQ(ultima, 5);
  }
  REG_LOTE_LISTA_LANCAMENTOS* lista = nullptr;
  EXPECT_EQ(objeto_.LeLancamentosFaixa(Mes(3).Value(), 1, -1, 0, &lista), E_INVALIDARG);
  std::vector<int32_t> muitas(8193, 1);
  EXPECT_EQ(objeto_.LeLancamentosChaves(Mes(3).Value(), -1, muitas.data(), 0, &lista), E_INVALIDARG);
  EXPECT_EQ(objeto_.LeLancamentosChaves(Mes(3).Value(), 8193, muitas.data(), 0, &lista),
            E_INVALIDARG);
  EXPECT_EQ(objeto_.LeLancamentosChaves(Mes(3).Value(), 1, nullptr, 0, &lista), E_POINTER);
  EXPECT_EQ(lista, nullptr);
  // A key based at the month before comes back as it went.
  int32_t chave = 1 << 24 | 5;
  ASSERT_EQ(objeto_.LeLancamentosChaves(Mes(2).Value(), 1, &chave, 0, &lista), S_OK);
  EXPECT_EQ(qx::Itens(*lista), Itens{std::to_string(chave) + ":0:31:"});
  CoTaskMemFree(lista->pLancamentos);
  CoTaskMemFree(lista->pTextos);
  CoTaskMemFree(lista);
  // A month never made is made empty, as every read of a month makes it.
  EXPECT_EQ(objeto_.LeLancamentosFaixa(Mes(9).Value(), 1, 10, 0, &lista), S_OK);
  ASSERT_NE(lista, nullptr);
  EXPECT_EQ(lista->ulQtde, 0u);
  EXPECT_EQ(lista->lUltimaPosicao, 0);
  CoTaskMemFree(lista->pLancamentos);
  CoTaskMemFree(lista->pTextos);
  CoTaskMemFree(lista);
}

TEST_F(FaixaTest, SplitLinesWithTheirQuantities) {
  const MesGravado mes = Arquivos(Mes(3));
  for (int i = 1; i <= 3; ++i) {
    const REGLAN_GER linha{CURRENCY{i * 10000}, 1, 2 + i, 4};
    mes.Acrescenta(kPrefixoGerencial, linha);
  }
  // Only the first two lines have a quantity.
  mes.Acrescenta(kPrefixoQuantidades, REGQTD_GER{CURRENCY{5}});
  mes.Acrescenta(kPrefixoQuantidades, REGQTD_GER{CURRENCY{7}});
  REG_LOTE_LISTA_GERENCIAIS* lista = nullptr;
  ASSERT_EQ(objeto_.LeGerenciaisFaixa(Mes(3).Value(), 2, 5, &lista), S_OK);
  ASSERT_EQ(lista->ulQtde, 2u);
  EXPECT_EQ(lista->lUltimaPosicao, 3);
  EXPECT_EQ(lista->pLinhas[0].lPosicao, 2);
  EXPECT_EQ(lista->pLinhas[0].Linha.ContaGerencial, 4);
  EXPECT_EQ(lista->pLinhas[0].Quantidade.Quantidade.int64, 7);
  EXPECT_EQ(lista->pLinhas[1].Linha.Valor.int64, 30000);
  EXPECT_EQ(lista->pLinhas[1].Quantidade.Quantidade.int64, 0);
  CoTaskMemFree(lista->pLinhas);
  CoTaskMemFree(lista);
}

TEST_F(FaixaTest, KeysOfTheLastSearchPageByPageUntilBuscaLancamentosTakesThem) {
  const int32_t quantos = Quantos(Dia(1, 3), Dia(31, 3));
  ASSERT_EQ(quantos, 3);
  std::vector<int32_t> pagina;
  int32_t total = -1;
  const auto le = [&](int32_t inicio, int32_t quantidade) {
    std::vector<Lancamentos> lista(static_cast<size_t>(quantidade));
    EXPECT_EQ(objeto_.LeChavesBusca(inicio, quantidade, lista.data(), &total), S_OK);
    pagina.clear();
    for (const Lancamentos& l : lista) pagina.push_back(l.Indlan);
  };
  le(1, 2);
  EXPECT_EQ(pagina, (std::vector<int32_t>{4, 5}));
  EXPECT_EQ(total, quantos);
  le(2, 3);
  EXPECT_EQ(pagina, (std::vector<int32_t>{5, 0, 0})) << "past the end: left as it was";
  EXPECT_EQ(objeto_.LeChavesBusca(-1, 1, nullptr, &total), E_INVALIDARG);
  EXPECT_EQ(Chaves(quantos), (std::vector<int32_t>{1, 4, 5}));
  le(0, 1);
  EXPECT_EQ(pagina, (std::vector<int32_t>{0})) << "BuscaLancamentos took the list";
  EXPECT_EQ(total, 0);
}

}  // namespace
}  // namespace qx
