// Reading stored entries: into the current entry, into entry data records,
// deleted ones as they are, foreign-currency amounts and complement texts.
#include <filesystem>
#include <string>
#include <tuple>

#include "contract/entry_messages.h"
#include "lancamento/gravacao/registro_log.h"
#include "platform/bstr.h"
#include "reading_fixture.h"

namespace qx {
namespace {

constexpr HRESULT kExcluido = 0x000405F7;
constexpr HRESULT kInexistente = 0x000405F8;
constexpr HRESULT kFimDeArquivo = static_cast<HRESULT>(0x80040000u | ARQ_FIM_DE_ARQUIVO);

TEST(Le, DeletedEntriesGiveTheirMessageAndLeaveTheCurrentEntry) {
  Leitura t;
  const int32_t viva = t.Lancamento(Entrada(11));
  EntryRecord apagada = Entrada(22);
  apagada.cStatus = kEntryDeleted;
  const int32_t excluida = t.Lancamento(apagada);

  ASSERT_EQ(t.objeto.Le(viva, kMes), S_OK);
  EXPECT_EQ(t.objeto.Le(excluida, kMes), kExcluido);
  int32_t documento = 0;
  ASSERT_EQ(t.objeto.GetDocumento(&documento), S_OK);
  EXPECT_EQ(documento, 11) << "the entry loaded before stays current";

  RegDados dados{};
  EXPECT_EQ(t.objeto.LeDados(excluida, kMes, &dados), static_cast<HRESULT>(0x800405F7u));
  EXPECT_EQ(t.objeto.LeLancamentoExcluido(excluida, kMes, &dados), kExcluido);
  // The checked mark and IFRS status are not taken from the record.
  EXPECT_EQ(std::tuple(dados.Documento, dados.DataLancamento, dados.Secao, dados.cConferido,
                       dados.cStatusIFRS),
            std::tuple(22, CQXData::Make(15, 3, 2024).Value(), 0x12345, 0, 0));
  EXPECT_EQ(t.objeto.LeLancamentoExcluido(viva, kMes, &dados), S_OK);
  EXPECT_EQ(dados.Documento, 11);
  EXPECT_EQ(t.objeto.LeLancamentoExcluido(99, kMes, &dados), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(t.objeto.LeLancamentoExcluido(viva, kMes, nullptr), E_POINTER);
}

TEST(Le, EntryDataRecordCarriesEveryField) {
  Leitura t;
  EntryRecord registro = Entrada(11);
  registro.Complemento = t.Complemento("texto\r");
  registro.Gerencial = 7;
  const int32_t indlan = t.Lancamento(registro);

  RegDados dados;
  std::memset(&dados, 0xAB, sizeof dados);
  ASSERT_EQ(t.objeto.LeDados(indlan, kMes, &dados), S_OK);
  EXPECT_EQ(std::tuple(dados.Documento, dados.Complemento, dados.Gerencial, dados.DataLancamento,
                       dados.wChaveOrigem.lChaveModulo, dados.wChaveOrigem.iData),
            std::tuple(11, +registro.Complemento, 7, CQXData::Make(15, 3, 2024).Value(),
                       MakeChaveModulo(77, 3), kMes));
  EXPECT_EQ(std::tuple(dados.Valor.int64, dados.ValorMoeda.int64, dados.Debito, dados.Credito,
                       dados.Secao, dados.CodHis, dados.Filial, dados.cGravarZero, dados.cConferido,
                       dados.cStatusIFRS),
            std::tuple(1234500, 0, 1101, 2101, 0x12345, 9, 1, 0, 'S', 4));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(dados.cFiller), 5), std::string(5, '\0'));

  RegDadosComplemento completo{};
  ASSERT_EQ(t.objeto.LeDadosComplemento(indlan, kMes, &completo), S_OK);
  EXPECT_EQ(completo.RegLan.Documento, 11);
  EXPECT_STREQ(completo.cComplemento, "texto\r");

  // No index or no month: nothing is read, not even a file made.
  const std::string mesZero = NomeArquivoMes(t.company.CnFolder(), kPrefixoLancamentos, 0);
  EXPECT_EQ(t.objeto.LeDados(indlan, 0, &dados), kInexistente);
  EXPECT_EQ(t.objeto.LeDados(0, kMes, &dados), kInexistente);
  EXPECT_EQ(t.objeto.LeDadosComplemento(indlan, 0, &completo), kInexistente);
  EXPECT_FALSE(std::filesystem::exists(mesZero));

  EXPECT_EQ(t.objeto.Le(99, kMes), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(t.objeto.LeDados(99, kMes, &dados), kFimDeArquivo);
  EXPECT_EQ(t.objeto.Le(0, kMes), S_OK) << "the zero record loads an empty entry";
  ULONG data = 1;
  ASSERT_EQ(t.objeto.GetData(&data), S_OK);
  EXPECT_EQ(data, 0u);
}

TEST(Le, ForeignCurrencyAmountsComeFromTheirFile) {
  Leitura t({.moeda = true});
  EntryRecord registro = Entrada(1);
  registro.cStatus = kEntryLiveWithCurrency;
  const int32_t comValor = t.Lancamento(registro);
  const int32_t zerado = t.Lancamento(registro);
  registro.cStatus = kEntryLive;
  const int32_t semMoeda = t.Lancamento(registro);
  registro.cStatus = kEntryLiveWithCurrency;
  const int32_t semRegistro = t.Lancamento(registro);
  for (const auto& [posicao, valor] :
       {std::pair{comValor, 777}, std::pair{zerado, 0}, std::pair{semMoeda, 555}}) {
    CurrencyRecord moeda{};
    moeda.ValorMoeda.int64 = valor;
    t.Grava(kPrefixoMoeda, &moeda, kCurrencyRecordSize, static_cast<uint32_t>(posicao));
  }

  // Only status 2 has an amount; every read clears the zero flag first.
  RegDados dados{};
  const auto moeda = [&](int32_t indlan) {
    EXPECT_EQ(t.objeto.LeDados(indlan, kMes, &dados), S_OK);
    return std::tuple(int64_t{dados.ValorMoeda.int64}, int{dados.cGravarZero});
  };
  EXPECT_EQ(moeda(comValor), std::tuple(777, 0));
  EXPECT_EQ(moeda(zerado), std::tuple(0, 'S'));
  EXPECT_EQ(moeda(semMoeda), std::tuple(0, 0));
  EXPECT_EQ(t.objeto.Le(semRegistro, kMes), ARQ_FIM_DE_ARQUIVO);
  int32_t documento = 0;
  ASSERT_EQ(t.objeto.GetDocumento(&documento), S_OK);
  EXPECT_EQ(documento, 1) << "the entry's own fields are loaded before the amount is read";
}

TEST(LeComplemento, ReadsAreBoundedByReturnZeroOrLength) {
  Leitura t;
  const auto texto = [&](const std::string& bytes) {
    EntryRecord registro = Entrada(1);
    registro.Complemento = t.Complemento(bytes);
    const int32_t indlan = t.Lancamento(registro);
    BSTR lido = nullptr;
    const HRESULT hr = t.objeto.GetComplemento(&lido, kMes, indlan);
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
  EXPECT_EQ(t.objeto.LeComplemento(CQXData::Make(1, 3, 2024), 0, lido), ARQ_OK);
  EXPECT_STREQ(lido, "");
  EXPECT_EQ(t.objeto.LeComplemento(CQXData::Make(1, 3, 2024), 1u << 20, lido), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(t.objeto.LeComplemento(CQXData::Make(1, 4, 2024), 1, lido), ARQ_NAO_ENCONTRADO)
      << "a missing heap is not made by a read";
  EXPECT_FALSE(std::filesystem::exists(
      NomeArquivoMes(t.company.CnFolder(), kPrefixoComplementos, kMes + 1)));

  // No complement, a deleted entry, no place for the text.
  const int32_t semTexto = t.Lancamento(Entrada(2));
  BSTR vazio = nullptr;
  ASSERT_EQ(t.objeto.GetComplemento(&vazio, kMes, semTexto), S_OK);
  EXPECT_EQ(SysStringLen(vazio), 0u);
  SysFreeString(vazio);
  EntryRecord apagada = Entrada(3);
  apagada.cStatus = kEntryDeleted;
  const int32_t excluida = t.Lancamento(apagada);
  BSTR nenhum = reinterpret_cast<BSTR>(&apagada);
  EXPECT_EQ(t.objeto.GetComplemento(&nenhum, kMes, excluida), kMensagemLancamentoExcluido);
  EXPECT_EQ(nenhum, nullptr);
  EXPECT_EQ(t.objeto.GetComplemento(nullptr, kMes, semTexto), E_POINTER);
}

}  // namespace
}  // namespace qx
