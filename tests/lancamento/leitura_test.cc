// Reading stored entries: into the current entry and into entry data
// records, deleted ones as they are, foreign-currency amounts and complement
// texts; keyed reading of an open month; the batch interface's reads of a
// month by position range and of the keys of the last search.
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "contract/entry_messages.h"
#include "lancamento_fixture.h"
#include "platform/task_memory.h"
#include "storage/arq_status.h"

namespace qx {
namespace {

constexpr HRESULT kExcluido = 0x000405F7;
constexpr HRESULT kInexistente = 0x000405F8;
constexpr HRESULT kFimDeArquivo = static_cast<HRESULT>(0x80040000u | ARQ_FIM_DE_ARQUIVO);

class LeituraEspecial : public MesesTest {
 protected:
  std::vector<RegDados> Chaves(std::vector<int32_t> indlans, HRESULT esperado = S_OK) {
    std::vector<Lancamentos> chaves;
    for (int32_t indlan : indlans) chaves.push_back({indlan, {}});
    std::vector<RegDados> dados(indlans.size());
    std::memset(dados.data(), 0xAB, dados.size() * sizeof(RegDados));
    EXPECT_EQ(
        objeto_.LeEspecialChaves(static_cast<int32_t>(chaves.size()), chaves.data(), dados.data()),
        esperado);
    return dados;
  }
};

TEST_F(LeituraEspecial, EntryDataRecordCarriesEveryFieldDeletedEntriesTheirMessage) {
  EntryRecord registro = EntradaCompleta(11);
  registro.Complemento = marco_.Complemento("texto\r");
  registro.Gerencial = 7;
  const int32_t indlan = marco_.Lancamento(registro);

  RegDados dados;
  std::memset(&dados, 0xAB, sizeof dados);
  ASSERT_EQ(objeto_.LeDados(indlan, kMarco, &dados), S_OK);
  EXPECT_EQ(std::tuple(dados.Documento, dados.Complemento, dados.Gerencial, dados.DataLancamento,
                       dados.wChaveOrigem.lChaveModulo, dados.wChaveOrigem.iData),
            std::tuple(11, +registro.Complemento, 7, Dia(15, 3), MakeChaveModulo(77, 3), kMarco));
  EXPECT_EQ(std::tuple(dados.Valor.int64, dados.ValorMoeda.int64, dados.Debito, dados.Credito,
                       dados.Secao, dados.CodHis, dados.Filial, dados.cGravarZero, dados.cConferido,
                       dados.cStatusIFRS),
            std::tuple(1234500, 0, 1101, 2101, 0x12345, 9, 1, 0, 'S', 4));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(dados.cFiller), 5), std::string(5, '\0'));

  RegDadosComplemento completo{};
  ASSERT_EQ(objeto_.LeDadosComplemento(indlan, kMarco, &completo), S_OK);
  EXPECT_EQ(completo.RegLan.Documento, 11);
  EXPECT_STREQ(completo.cComplemento, "texto\r");

  // A deleted entry gives its message and leaves the current entry.
  EntryRecord apagada = EntradaCompleta(22);
  apagada.cStatus = kEntryDeleted;
  const int32_t excluida = marco_.Lancamento(apagada);

  EXPECT_EQ(objeto_.LeDados(excluida, kMarco, &dados), static_cast<HRESULT>(0x800405F7u));
  int32_t documento = 0;
  ASSERT_EQ(objeto_.GetDocumento(&documento), S_OK);
  EXPECT_EQ(documento, 11) << "the entry loaded before stays current";
  EXPECT_EQ(objeto_.LeLancamentoExcluido(excluida, kMarco, &dados), kExcluido);
  // The checked mark and IFRS status are not taken from the record.
  EXPECT_EQ(std::tuple(dados.Documento, dados.DataLancamento, dados.Secao, dados.cConferido,
                       dados.cStatusIFRS),
            std::tuple(22, Dia(15, 3), 0x12345, 0, 0));
  EXPECT_EQ(objeto_.LeLancamentoExcluido(indlan, kMarco, &dados), S_OK);
  EXPECT_EQ(dados.Documento, 11);
  EXPECT_EQ(objeto_.LeLancamentoExcluido(99, kMarco, &dados), ARQ_FIM_DE_ARQUIVO);

  // No index or no month: nothing is read, not even a file made.
  const std::string mesZero = NomeArquivoMes(company_.CnFolder(), kPrefixoLancamentos, 0);
  EXPECT_EQ(objeto_.LeDados(indlan, 0, &dados), kInexistente);
  EXPECT_EQ(objeto_.LeDados(0, kMarco, &dados), kInexistente);
  EXPECT_EQ(objeto_.LeDadosComplemento(indlan, 0, &completo), kInexistente);
  EXPECT_FALSE(std::filesystem::exists(mesZero));

  EXPECT_EQ(objeto_.LeDados(99, kMarco, &dados), kFimDeArquivo);
  EXPECT_EQ(objeto_.Le(0, kMarco), S_OK) << "the zero record loads an empty entry";
  ULONG data = 1;
  ASSERT_EQ(objeto_.GetData(&data), S_OK);
  EXPECT_EQ(data, 0u);
}

TEST_F(LeituraEspecial, ForeignCurrencyAmountsComeFromTheirFile) {
  company_.SetConfig("foreign-currency", 1);
  Inicializa();
  EntryRecord registro = EntradaCompleta(1);
  registro.cStatus = kEntryLiveWithCurrency;
  const int32_t comValor = marco_.Lancamento(registro);
  const int32_t zerado = marco_.Lancamento(registro);
  registro.cStatus = kEntryLive;
  const int32_t semMoeda = marco_.Lancamento(registro);
  registro.cStatus = kEntryLiveWithCurrency;
  const int32_t semRegistro = marco_.Lancamento(registro);
  for (const auto& [posicao, valor] :
       {std::pair{comValor, 777}, std::pair{zerado, 0}, std::pair{semMoeda, 555}}) {
    CurrencyRecord moeda{};
    moeda.ValorMoeda.int64 = valor;
    marco_.Grava(kPrefixoMoeda, &moeda, kCurrencyRecordSize, static_cast<uint32_t>(posicao));
  }

  // Only status 2 has an amount; every read clears the zero flag first.
  RegDados dados{};
  const auto moeda = [&](int32_t indlan) {
    EXPECT_EQ(objeto_.LeDados(indlan, kMarco, &dados), S_OK);
    return std::tuple(int64_t{dados.ValorMoeda.int64}, int{dados.cGravarZero});
  };
  EXPECT_EQ(moeda(comValor), std::tuple(777, 0));
  EXPECT_EQ(moeda(zerado), std::tuple(0, 'S'));
  EXPECT_EQ(moeda(semMoeda), std::tuple(0, 0));
  EXPECT_EQ(objeto_.Le(semRegistro, kMarco), ARQ_FIM_DE_ARQUIVO);
  int32_t documento = 0;
  ASSERT_EQ(objeto_.GetDocumento(&documento), S_OK);
  EXPECT_EQ(documento, 1) << "the entry's own fields are loaded before the amount is read";

  // The same through keyed reading of the open month.
  ASSERT_EQ(objeto_.AbreEspecial(kMarco), S_OK);
  std::vector<std::tuple<int64_t, int>> especial;
  for (const RegDados& d : Chaves({comValor, zerado, semMoeda})) {
    especial.emplace_back(d.ValorMoeda.int64, d.cGravarZero);
  }
  EXPECT_EQ(especial, (std::vector<std::tuple<int64_t, int>>{{777, 0}, {0, 'S'}, {0, 0}}));
}

TEST_F(LeituraEspecial, ReadsAreBoundedByReturnZeroOrLength) {
  const auto texto = [&](const std::string& bytes) {
    EntryRecord registro = EntradaCompleta(1);
    registro.Complemento = marco_.Complemento(bytes);
    const int32_t indlan = marco_.Lancamento(registro);
    BSTR lido = nullptr;
    const HRESULT hr = objeto_.GetComplemento(&lido, kMarco, indlan);
    EXPECT_EQ(hr, S_OK);
    const std::string resultado = BstrToCp1252(lido);
    SysFreeString(lido);
    return resultado;
  };
  EXPECT_EQ(texto(std::string("primeiro\rseguinte")), "primeiro\r");
  EXPECT_EQ(texto(std::string("com\0zero", 8)), "com");
  EXPECT_EQ(texto(std::string(600, 'x')), std::string(499, 'x'));
  EXPECT_EQ(texto(std::string(499, 'y') + "\r"), std::string(499, 'y') + "\r");
  EXPECT_EQ(texto("a\xE7\xE3o"), "a\xE7\xE3o") << "at the end of the heap, without return";

  char lido[512];
  std::memset(lido, 'z', sizeof lido);
  EXPECT_EQ(objeto_.LeComplemento(CQXData::Make(1, 3, 2024), 0, lido), ARQ_OK);
  EXPECT_STREQ(lido, "");
  EXPECT_EQ(objeto_.LeComplemento(CQXData::Make(1, 3, 2024), 1u << 20, lido), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(objeto_.LeComplemento(CQXData::Make(1, 4, 2024), 1, lido), ARQ_NAO_ENCONTRADO)
      << "a missing heap is not made by a read";
  EXPECT_FALSE(std::filesystem::exists(
      NomeArquivoMes(company_.CnFolder(), kPrefixoComplementos, kMarco + 1)));

  // A deleted entry gives its bare message and no text.
  EntryRecord apagada = EntradaCompleta(3);
  apagada.cStatus = kEntryDeleted;
  const int32_t excluida = marco_.Lancamento(apagada);
  BSTR nenhum = reinterpret_cast<BSTR>(&apagada);
  EXPECT_EQ(objeto_.GetComplemento(&nenhum, kMarco, excluida), kMensagemLancamentoExcluido);
  EXPECT_EQ(nenhum, nullptr);
}

TEST_F(LeituraEspecial, ReadsLoadTheCurrentEntryEndAtTheLastRecordKeyListsAllOrNothing) {
  EntryRecord r = Registro(12);
  r.lChaveModulo = MakeChaveModulo(15, 5);
  r.iData = 77;
  r.cConferido = 1;
  r.cStatusIFRS = 2;
  r.Gerencial = Gerencial(1, {2});
  r.Complemento = marco_.Complemento("texto");
  marco_.Lancamento(r);
  EntryRecord excluido = Registro(13);
  excluido.cStatus = kEntryDeleted;
  marco_.Lancamento(excluido);

  ASSERT_EQ(objeto_.AbreEspecial(kMarco), S_OK);
  RegDados dados;
  std::memset(&dados, 0xAB, sizeof dados);
  ASSERT_EQ(objeto_.LeEspecialDados(1, &dados), S_OK);
  EXPECT_EQ(std::tuple(dados.DataLancamento, dados.Debito, dados.Credito, dados.Valor.int64,
                       dados.Gerencial, dados.Complemento, dados.Secao),
            std::tuple(Dia(12, 3), 4, 11, 1000000, +r.Gerencial, +r.Complemento, 3));
  EXPECT_EQ(std::tuple(dados.wChaveOrigem.lChaveModulo, dados.wChaveOrigem.iData,
                       dados.wChaveOrigem.cFiller[0], dados.cConferido, dados.cStatusIFRS,
                       dados.cGravarZero),
            std::tuple(MakeChaveModulo(15, 5), 77, 0, 1, 2, 0));
  EXPECT_EQ(dados.cFiller[4], 0xAB);  // the trailing filler is not written

  // A deleted entry reads without date, accounts and split.
  ASSERT_EQ(objeto_.LeEspecialDados(2, &dados), S_OK);
  EXPECT_EQ(std::tuple(dados.DataLancamento, dados.Debito, dados.Credito, dados.Gerencial,
                       dados.Documento),
            std::tuple(0u, 0, 0, 0, 113));

  EXPECT_EQ(objeto_.LeEspecial(-1), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(objeto_.LeEspecialDados(3, &dados), static_cast<HRESULT>(0x80043E95u));
  EXPECT_EQ(objeto_.LeEspecialDados(0, &dados), static_cast<HRESULT>(0x000405F8u));
  EXPECT_EQ(objeto_.FechaEspecial(), ARQ_OK);
  EXPECT_EQ(objeto_.FechaEspecial(), ARQ_NADA_FEITO);
  EXPECT_EQ(objeto_.LeEspecial(1), ARQ_NADA_FEITO);  // no month open

  // Key lists are all or nothing.
  for (int dia : {1, 2, 3}) marco_.Lancamento(Registro(dia));
  ASSERT_EQ(objeto_.AbreEspecial(kMarco), S_OK);
  std::vector<RegDados> lista = Chaves({5, 0, 3, -4});
  EXPECT_EQ(std::tuple(lista[0].Documento, lista[2].Documento), std::tuple(103, 101));
  for (size_t k : {size_t{1}, size_t{3}}) {  // keys of 0 or less: zero elements
    EXPECT_EQ(std::tuple(lista[k].Documento, lista[k].DataLancamento, lista[k].Valor.int64),
              std::tuple(0, 0u, 0))
        << k;
  }
  // One key past the end fails the whole list, which stays as it was.
  lista = Chaves({3, 6, 4}, static_cast<HRESULT>(0x80043E95u));
  for (const RegDados& d : lista) EXPECT_EQ(d.Documento, static_cast<int32_t>(0xABABABAB));
  EXPECT_EQ(objeto_.LeEspecialChaves(0, nullptr, nullptr), S_OK);
}

TEST_F(LeituraEspecial, OrderedReadingMonthByMonthWithComplements) {
  EntryRecord r = Registro(5);
  r.Complemento = marco_.Complemento("primeiro de mar\xE7o\rresto");
  marco_.Lancamento(r);
  r = Registro(6);
  r.Documento = 20;
  r.Complemento = abril_.Complemento("abril");
  abril_.Lancamento(Registro(1));
  abril_.Lancamento(r);

  // March's key 1, then April's keys 2 and 1, each month opened in turn.
  std::vector<std::string> lidos;
  std::pair<uint16_t, std::vector<Lancamentos>> meses[] = {
      {kMarco, {{1, {}}}}, {static_cast<uint16_t>(kMarco + 1), {{2, {}}, {1, {}}}}};
  for (auto& [mes, chaves] : meses) {
    ASSERT_EQ(objeto_.AbreEspecial(mes), S_OK);
    std::vector<RegDadosComplemento> dados(chaves.size());
    ASSERT_EQ(objeto_.LeEspecialChavesComplemento(static_cast<int32_t>(chaves.size()),
                                                  chaves.data(), dados.data()),
              S_OK);
    ASSERT_EQ(objeto_.FechaEspecial(), ARQ_OK);
    for (const RegDadosComplemento& d : dados) {
      lidos.push_back(std::to_string(d.RegLan.Documento) + ":" + d.cComplemento);
    }
  }
  EXPECT_EQ(lidos, (std::vector<std::string>{"105:primeiro de mar\xE7o\r", "20:abril", "101:"}));
}

// A page's entries as "position:status:debit:text" items; the page is freed.
std::vector<std::string> Itens(REG_LOTE_LISTA_LANCAMENTOS* lista) {
  std::vector<std::string> itens;
  for (uint32_t i = 0; i < lista->ulQtde; ++i) {
    const REG_LOTE_LANCAMENTO_LIDO& l = lista->pLancamentos[i];
    itens.push_back(
        std::to_string(l.lPosicao) + ":" + std::to_string(l.cStatus) + ":" +
        std::to_string(l.Dados.Debito) + ":" +
        std::string(reinterpret_cast<const char*>(lista->pTextos) + l.ulInicioComplemento,
                    l.usTamanhoComplemento));
  }
  CoTaskMemFree(lista->pLancamentos);
  CoTaskMemFree(lista->pTextos);
  CoTaskMemFree(lista);
  return itens;
}

class FaixaTest : public LancamentoTest {
 protected:
  void SetUp() override {
    LancamentoTest::SetUp();
    EntryRecord comTexto = Registro(3, 4, 11, 100);
    comTexto.Complemento = AcrescentaComplemento(Mes(3), "aluguel");
    EntryRecord excluido = Registro(4, 5, 11, 200);
    excluido.cStatus = kEntryDeleted;
    Acrescenta(Mes(3), {comTexto, excluido, Registro(5, 6, 11, 300, 3), Registro(6, 7, 11, 400, 2),
                        Registro(7, 31, 21, 500)});
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
  const uint16_t marco = Mes(3).Value();
  REG_LOTE_LISTA_LANCAMENTOS* lista = nullptr;
  for (Caso caso : casos) {
    SCOPED_TRACE(std::to_string(caso.inicio) + "+" + std::to_string(caso.quantidade));
    const auto n = static_cast<int32_t>(caso.chaves.size());
    ASSERT_EQ(n == 0 ? objeto_.LeLancamentosFaixa(marco, caso.inicio, caso.quantidade, caso.textos,
                                                  &lista)
                     : objeto_.LeLancamentosChaves(marco, n, caso.chaves.data(), caso.textos, &lista),
              S_OK);
    ASSERT_NE(lista, nullptr);
    EXPECT_EQ(lista->lUltimaPosicao, 5);
    EXPECT_EQ(qx::Itens(lista), caso.esperado);
  }
  lista = nullptr;
  EXPECT_EQ(objeto_.LeLancamentosFaixa(marco, 1, -1, 0, &lista), E_INVALIDARG);
  std::vector<int32_t> muitas(8193, 1);
  for (int32_t n : {-1, 8193}) {
    EXPECT_EQ(objeto_.LeLancamentosChaves(marco, n, muitas.data(), 0, &lista), E_INVALIDARG);
  }
  EXPECT_EQ(lista, nullptr);
  // A key based at the month before comes back as it went.
  int32_t chave = 1 << 24 | 5;
  ASSERT_EQ(objeto_.LeLancamentosChaves(Mes(2).Value(), 1, &chave, 0, &lista), S_OK);
  EXPECT_EQ(qx::Itens(lista), Itens{std::to_string(chave) + ":0:31:"});
  // A month never made is made empty, as every read of a month makes it.
  EXPECT_EQ(objeto_.LeLancamentosFaixa(Mes(9).Value(), 1, 10, 0, &lista), S_OK);
  ASSERT_NE(lista, nullptr);
  EXPECT_EQ(lista->lUltimaPosicao, 0);
  EXPECT_EQ(qx::Itens(lista), Itens{});
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
  const REG_LOTE_GERENCIAL_LIDO* l = lista->pLinhas;
  EXPECT_EQ(std::tuple(lista->lUltimaPosicao, l[0].lPosicao, l[0].Linha.ContaGerencial,
                       l[0].Quantidade.Quantidade.int64, l[1].Linha.Valor.int64,
                       l[1].Quantidade.Quantidade.int64),
            std::tuple(3, 2, 4, 7, 30000, 0));
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
